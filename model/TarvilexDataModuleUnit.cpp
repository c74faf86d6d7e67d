#include "model/TarvilexDataModuleUnit.h"

#include "dictionary/LanguageUnit.h"
#include "model/DataFieldUnit.h"
#include "platform/CodePageUnit.h"
#include "platform/FileUnit.h"
#include "platform/StreamUnit.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace model {

TTarvilexDataModule::TTarvilexDataModule(const std::string &fileName)
{
    if (!fileName.empty() && platform::FileExists(fileName)) TarvilexData.LoadFromFile(fileName);
}

std::string TTarvilexDataModule::DefaultFileName()
{
    return platform::ProgramFolder() + "TarvilexData.XML";
}

pugi::xml_node TTarvilexDataModule::FindSchemaField(std::string_view name) const
{
    const pugi::xml_node fields = TarvilexData.Document().child("tarvilexdata").child("fields");
    for (pugi::xml_node field = fields.first_child(); field; field = field.next_sibling())
        if (field.type() == pugi::node_element && name == field.attribute("name").value()) return field;
    return {};
}

std::string TTarvilexDataModule::SchemaFieldType(std::string_view name) const
{
    return platform::AttributeText(FindSchemaField(name), "type");
}

int TTarvilexDataModule::SchemaFieldLength(std::string_view name) const
{
    const pugi::xml_node field = FindSchemaField(name);
    if (!field || FieldTypeFromName(platform::AttributeText(field, "type")) != ftString) return 0;
    return platform::AttributeAsInteger(field, "length");
}

std::string LogFileName()
{
    return platform::ProgramFolder() +
           platform::ChangeFileExt(platform::ExtractFileName(platform::ProgramPath()), ".LOG");
}

namespace {

void AppendTwoDigits(std::string &out, int value)
{
    out += char('0' + value / 10 % 10);
    out += char('0' + value % 10);
}

std::string LogTimeStamp()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    const int year = local.tm_year + 1900;
    std::string stamp;
    stamp += char('0' + year / 1000 % 10);
    stamp += char('0' + year / 100 % 10);
    AppendTwoDigits(stamp, year % 100);
    stamp += dictionary::StartupDateSeparator();
    AppendTwoDigits(stamp, local.tm_mon + 1);
    stamp += dictionary::StartupDateSeparator();
    AppendTwoDigits(stamp, local.tm_mday);
    stamp += ' ';
    AppendTwoDigits(stamp, local.tm_hour);
    stamp += dictionary::StartupTimeSeparator();
    AppendTwoDigits(stamp, local.tm_min);
    stamp += dictionary::StartupTimeSeparator();
    AppendTwoDigits(stamp, local.tm_sec);
    stamp += ' ';
    return stamp;
}

// Worker threads log too; lines must not interleave.
std::mutex LogLock;

}  // namespace

void WriteLogLine(const std::string &text)
{
    const std::string line = platform::SystemCodePage().Encode(LogTimeStamp() + text + "\r\n");
    const std::string fileName = LogFileName();
    std::lock_guard<std::mutex> guard(LogLock);
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        throw platform::TStreamError("TarvilexDataModuleUnit: Cannot open log file " + fileName + ": " +
                                     std::strerror(errno));
    std::size_t done = 0;
    while (done < line.size()) {
        const ssize_t put = ::write(fd, line.data() + done, line.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) {
            const std::string reason = std::strerror(errno);
            ::close(fd);
            throw platform::TStreamError("TarvilexDataModuleUnit: Cannot write log file " + fileName + ": " + reason);
        }
        done += std::size_t(put);
    }
    if (::close(fd) != 0)
        throw platform::TStreamError("TarvilexDataModuleUnit: Cannot write log file " + fileName + ": " +
                                     std::strerror(errno));
}

void WriteLogLineQuietly(const std::string &text) noexcept
{
    try {
        WriteLogLine(text);
    } catch (...) {
    }
}

}  // namespace model
