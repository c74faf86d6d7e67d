#include "platform/FileUnit.h"

#include "platform/StreamUnit.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {
std::string TestingProgramFolder;

std::string FolderOf(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}
}  // namespace

std::string ReadWholeFile(const std::string &path)
{
    TFileStream stream(path, TFileStream::TMode::Read);
    std::string bytes(std::size_t(stream.Size()), '\0');
    stream.ReadBuffer(bytes.data(), bytes.size());
    return bytes;
}

void WriteFileAtomically(const std::string &path, std::string_view bytes)
{
    std::string temp = path + ".XXXXXX";
    std::vector<char> name(temp.begin(), temp.end());
    name.push_back('\0');
    const int fd = ::mkstemp(name.data());
    if (fd < 0) throw TStreamError("Cannot create file " + path + ": " + std::strerror(errno));
    temp = name.data();
    auto fail = [&](const char *what) {
        const std::string reason = std::strerror(errno);
        ::close(fd);
        ::unlink(temp.c_str());
        throw TStreamError(std::string(what) + " " + path + ": " + reason);
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put <= 0) fail("Cannot write file");
        done += std::size_t(put);
    }
    // Keep the old file's permissions where there was one; else rw-r--r--.
    struct stat st {};
    ::fchmod(fd, ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
    if (::fsync(fd) != 0) fail("Cannot write file");
    if (::close(fd) != 0) {
        ::unlink(temp.c_str());
        throw TStreamError("Cannot write file " + path + ": " + std::strerror(errno));
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        ::unlink(temp.c_str());
        throw TStreamError("Cannot write file " + path + ": " + reason);
    }
    const int dir = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

bool FileExists(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DirectoryExists(const std::string &path)
{
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ExtractFileName(const std::string &path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtractFileExt(const std::string &path)
{
    const std::string name = ExtractFileName(path);
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeFileExt(const std::string &path, const std::string &ext)
{
    const std::string ownExt = ExtractFileExt(path);
    return path.substr(0, path.size() - ownExt.size()) + ext;
}

std::string IncludeTrailingSlash(const std::string &folder)
{
    return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

std::string NativePath(std::string path)
{
    for (char &c : path)
        if (c == '\\') c = '/';
    return path;
}

std::string ProgramPath()
{
    char buffer[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, std::size_t(n)) : std::string("./TarvilexViewer");
}

std::string ProgramFolder()
{
    if (!TestingProgramFolder.empty()) return TestingProgramFolder;
    return IncludeTrailingSlash(FolderOf(ProgramPath()));
}

void SetProgramFolderForTesting(const std::string &folder)
{
    TestingProgramFolder = IncludeTrailingSlash(folder);
}

}  // namespace platform
