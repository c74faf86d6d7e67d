#pragma once
// Seekable byte streams for list files and record streams. Reads of a list file
// go through TFileStream, which keeps one small window of the file so that a
// record read is one seek and one block read without a system call per field.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

// Raised by a read past the end or any input/output failure; the text names
// the file and what failed.
class TStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TStream {
public:
    virtual ~TStream() = default;
    virtual std::int64_t Size() const = 0;
    virtual std::int64_t Position() const = 0;
    virtual void Seek(std::int64_t position) = 0;
    // Reads exactly count bytes or raises TStreamError ("Stream read error").
    virtual void ReadBuffer(void *buffer, std::size_t count) = 0;
    virtual void WriteBuffer(const void *buffer, std::size_t count) = 0;

    std::int32_t ReadInt32();
    double ReadDouble();
    void WriteInt32(std::int32_t value);
    void WriteDouble(double value);
};

// A file opened read-only (shared: others may read and write it meanwhile) or
// created for writing. Reads are served from a window of WindowSize bytes.
class TFileStream : public TStream {
public:
    enum class TMode { Read, Create };
    static constexpr std::size_t WindowSize = 64 * 1024;

    TFileStream(const std::string &fileName, TMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream &) = delete;
    TFileStream &operator=(const TFileStream &) = delete;

    const std::string &FileName() const { return Name; }
    std::int64_t Size() const override;
    std::int64_t Position() const override { return Pos; }
    void Seek(std::int64_t position) override;
    void ReadBuffer(void *buffer, std::size_t count) override;
    void WriteBuffer(const void *buffer, std::size_t count) override;
    // Writes out buffered output and syncs it to disk.
    void Flush();

private:
    void FlushWrites();
    std::string Name;
    TMode Mode;
    int Fd = -1;
    std::int64_t Pos = 0;
    std::int64_t FileSize = 0;
    std::vector<std::uint8_t> Window;  // read window or pending writes
    std::int64_t WindowStart = 0;      // file offset of Window[0]
    std::size_t WindowFill = 0;
};

// An in-memory stream; writing past the end grows it.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> bytes) : Bytes(std::move(bytes)) {}
    std::int64_t Size() const override { return static_cast<std::int64_t>(Bytes.size()); }
    std::int64_t Position() const override { return Pos; }
    void Seek(std::int64_t position) override;
    void ReadBuffer(void *buffer, std::size_t count) override;
    void WriteBuffer(const void *buffer, std::size_t count) override;
    const std::vector<std::uint8_t> &Data() const { return Bytes; }

private:
    std::vector<std::uint8_t> Bytes;
    std::int64_t Pos = 0;
};

// Explicit little-endian access to packed buffers.
std::int32_t ReadLE32(const std::uint8_t *p);
double ReadLEDouble(const std::uint8_t *p);
void WriteLE32(std::uint8_t *p, std::int32_t value);
void WriteLEDouble(std::uint8_t *p, double value);

}  // namespace platform
