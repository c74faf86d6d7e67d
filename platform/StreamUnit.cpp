#include "platform/StreamUnit.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

std::int32_t ReadLE32(const std::uint8_t *p)
{
    return static_cast<std::int32_t>(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                     std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
}

double ReadLEDouble(const std::uint8_t *p)
{
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void WriteLE32(std::uint8_t *p, std::int32_t value)
{
    const auto u = static_cast<std::uint32_t>(value);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

void WriteLEDouble(std::uint8_t *p, double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    for (int i = 0; i < 8; ++i) p[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::int32_t TStream::ReadInt32()
{
    std::uint8_t b[4];
    ReadBuffer(b, 4);
    return ReadLE32(b);
}

double TStream::ReadDouble()
{
    std::uint8_t b[8];
    ReadBuffer(b, 8);
    return ReadLEDouble(b);
}

void TStream::WriteInt32(std::int32_t value)
{
    std::uint8_t b[4];
    WriteLE32(b, value);
    WriteBuffer(b, 4);
}

void TStream::WriteDouble(double value)
{
    std::uint8_t b[8];
    WriteLEDouble(b, value);
    WriteBuffer(b, 8);
}

namespace {
std::string SystemMessage(const std::string &what, const std::string &fileName)
{
    return what + " " + fileName + ": " + std::strerror(errno);
}
}  // namespace

TFileStream::TFileStream(const std::string &fileName, TMode mode) : Name(fileName), Mode(mode)
{
    if (mode == TMode::Read)
        Fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    else
        Fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (Fd < 0)
        throw TStreamError(SystemMessage(mode == TMode::Read ? "Cannot open file" : "Cannot create file", fileName));
    if (mode == TMode::Read) {
        struct stat st {};
        if (::fstat(Fd, &st) != 0) {
            ::close(Fd);
            throw TStreamError(SystemMessage("Cannot read file", fileName));
        }
        FileSize = st.st_size;
    }
    Window.resize(WindowSize);
}

TFileStream::~TFileStream()
{
    if (Fd < 0) return;
    try {
        if (Mode == TMode::Create) FlushWrites();
    } catch (...) {
        // A destructor cannot report; callers that care call Flush first.
    }
    ::close(Fd);
}

std::int64_t TFileStream::Size() const
{
    return Mode == TMode::Read ? FileSize : std::max(FileSize, WindowStart + std::int64_t(WindowFill));
}

void TFileStream::Seek(std::int64_t position)
{
    if (position < 0) throw TStreamError("Stream seek error: negative position in " + Name);
    if (Mode == TMode::Create) FlushWrites();
    Pos = position;
}

void TFileStream::ReadBuffer(void *buffer, std::size_t count)
{
    if (Mode != TMode::Read) throw TStreamError("Stream read error: " + Name + " is open for writing");
    if (Pos + std::int64_t(count) > FileSize)
        throw TStreamError("Stream read error: " + Name + " ends at byte " + std::to_string(FileSize) +
                           ", " + std::to_string(count) + " bytes wanted at " + std::to_string(Pos));
    auto *out = static_cast<std::uint8_t *>(buffer);
    if (count >= WindowSize) {
        // A large block goes straight to the caller's buffer.
        std::size_t done = 0;
        while (done < count) {
            const ssize_t got = ::pread(Fd, out + done, count - done, Pos + done);
            if (got <= 0) throw TStreamError(SystemMessage("Stream read error in", Name));
            done += std::size_t(got);
        }
        Pos += std::int64_t(count);
        return;
    }
    if (Pos < WindowStart || Pos + std::int64_t(count) > WindowStart + std::int64_t(WindowFill)) {
        WindowStart = Pos;
        WindowFill = 0;
        const std::size_t want = std::size_t(std::min<std::int64_t>(WindowSize, FileSize - Pos));
        while (WindowFill < want) {
            const ssize_t got = ::pread(Fd, Window.data() + WindowFill, want - WindowFill, WindowStart + WindowFill);
            if (got <= 0) throw TStreamError(SystemMessage("Stream read error in", Name));
            WindowFill += std::size_t(got);
        }
    }
    std::memcpy(out, Window.data() + (Pos - WindowStart), count);
    Pos += std::int64_t(count);
}

void TFileStream::WriteBuffer(const void *buffer, std::size_t count)
{
    if (Mode != TMode::Create) throw TStreamError("Stream write error: " + Name + " is open for reading");
    const auto *in = static_cast<const std::uint8_t *>(buffer);
    if (WindowFill > 0 && WindowStart + std::int64_t(WindowFill) != Pos) FlushWrites();
    if (WindowFill == 0) WindowStart = Pos;
    while (count > 0) {
        const std::size_t room = WindowSize - WindowFill;
        const std::size_t n = std::min(room, count);
        std::memcpy(Window.data() + WindowFill, in, n);
        WindowFill += n;
        in += n;
        count -= n;
        Pos += std::int64_t(n);
        if (WindowFill == WindowSize) {
            FlushWrites();
            WindowStart = Pos;
        }
    }
}

void TFileStream::FlushWrites()
{
    std::size_t done = 0;
    while (done < WindowFill) {
        const ssize_t put = ::pwrite(Fd, Window.data() + done, WindowFill - done, WindowStart + done);
        if (put <= 0) throw TStreamError(SystemMessage("Stream write error in", Name));
        done += std::size_t(put);
    }
    FileSize = std::max(FileSize, WindowStart + std::int64_t(WindowFill));
    WindowFill = 0;
}

void TFileStream::Flush()
{
    if (Mode != TMode::Create) return;
    FlushWrites();
    if (::fsync(Fd) != 0) throw TStreamError(SystemMessage("Cannot write file", Name));
}

void TMemoryStream::Seek(std::int64_t position)
{
    if (position < 0) throw TStreamError("Stream seek error: negative position");
    Pos = position;
}

void TMemoryStream::ReadBuffer(void *buffer, std::size_t count)
{
    if (Pos + std::int64_t(count) > Size()) throw TStreamError("Stream read error");
    std::memcpy(buffer, Bytes.data() + Pos, count);
    Pos += std::int64_t(count);
}

void TMemoryStream::WriteBuffer(const void *buffer, std::size_t count)
{
    if (Pos + std::int64_t(count) > Size()) Bytes.resize(std::size_t(Pos) + count);
    if (count) std::memcpy(Bytes.data() + Pos, buffer, count);
    Pos += std::int64_t(count);
}

}  // namespace platform
