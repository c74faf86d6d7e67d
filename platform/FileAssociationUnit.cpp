#include "platform/FileAssociationUnit.h"

#include "platform/FileUnit.h"

#include <cstdlib>
#include <filesystem>
#include <fcntl.h>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace platform {

namespace {

std::string EnvOr(const char *name, const std::string &fallback)
{
    const char *value = std::getenv(name);
    return value && *value ? std::string(value) : fallback;
}

const char *MimePackageText =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
    "  <mime-type type=\"application/x-tarvilexlist\">\n"
    "    <comment>Tarvilex list file</comment>\n"
    "    <comment xml:lang=\"hu\">Tarvilex listaf\xC3\xA1jl</comment>\n"
    "    <glob pattern=\"*.TarvilexList\" case-sensitive=\"true\"/>\n"
    "    <icon name=\"TarvilexList_file\"/>\n"
    "  </mime-type>\n"
    "</mime-info>\n";

const char *IconText =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\" viewBox=\"0 0 48 48\">\n"
    "  <rect x=\"6\" y=\"4\" width=\"36\" height=\"40\" rx=\"3\" fill=\"#ffffff\" stroke=\"#1f4e79\" stroke-width=\"2\"/>\n"
    "  <rect x=\"6\" y=\"4\" width=\"36\" height=\"9\" rx=\"3\" fill=\"#1f4e79\"/>\n"
    "  <path d=\"M11 19h26M11 25h26M11 31h26M11 37h16\" stroke=\"#7f7f7f\" stroke-width=\"2\"/>\n"
    "</svg>\n";

// Exec lines quote the program path by the desktop-entry rules.
std::string QuoteExec(const std::string &path)
{
    std::string out = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string DefaultLine() { return std::string(ListMimeType) + "=" + ListDesktopFile; }

// Rewrites mimeapps.list with our default-application line added or removed,
// keeping every other line.
void UpdateMimeApps(const std::string &path, bool add)
{
    std::vector<std::string> lines;
    if (FileExists(path)) {
        std::istringstream in(ReadWholeFile(path));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
    } else if (!add) {
        return;
    }
    const std::string key = std::string(ListMimeType) + "=";
    std::vector<std::string> out;
    bool inDefaults = false, placed = false;
    std::size_t sectionEnd = 0;  // after the last entry of [Default Applications]
    auto place = [&] {
        out.insert(out.begin() + std::ptrdiff_t(sectionEnd), DefaultLine());
        placed = true;
    };
    for (const auto &line : lines) {
        if (!line.empty() && line[0] == '[') {
            if (inDefaults && add && !placed) place();
            inDefaults = line == "[Default Applications]";
            if (inDefaults) sectionEnd = out.size() + 1;
        }
        if (inDefaults && line.rfind(key, 0) == 0) {
            if (add && !placed) { out.push_back(DefaultLine()); placed = true; }
            else if (!add && line != DefaultLine()) out.push_back(line);  // another program's choice stays
            continue;
        }
        out.push_back(line);
        if (inDefaults && !line.empty()) sectionEnd = out.size();
    }
    if (add && !placed) {
        if (!inDefaults) {
            out.push_back("[Default Applications]");
            sectionEnd = out.size();
        }
        place();
    }
    std::string text;
    for (const auto &line : out) text += line + "\n";
    if (!add && out == lines) return;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteFileAtomically(path, text);
}

void WriteIfChanged(const std::string &path, const std::string &text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    if (FileExists(path) && ReadWholeFile(path) == text) return;
    WriteFileAtomically(path, text);
}

void RemoveFile(const std::string &path)
{
    std::error_code ec;
    std::filesystem::remove(path, ec);
}

// Runs a desktop-database tool when it is installed; its failure is not ours.
void RunTool(const char *tool, const std::string &folder)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string folderCopy = folder;
    char *argv[] = {const_cast<char *>(tool), folderCopy.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, tool, &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
}

void RefreshDatabases(const TAssociationPaths &paths)
{
    RunTool("update-mime-database", paths.DataHome + "/mime");
    RunTool("update-desktop-database", paths.DataHome + "/applications");
}

}  // namespace

std::string TAssociationPaths::MimePackage() const { return DataHome + "/mime/packages/TarvilexList.xml"; }
std::string TAssociationPaths::DesktopEntry() const { return DataHome + "/applications/" + ListDesktopFile; }
std::string TAssociationPaths::Icon() const { return DataHome + "/icons/hicolor/scalable/apps/TarvilexList_file.svg"; }
std::string TAssociationPaths::MimeApps() const { return ConfigHome + "/mimeapps.list"; }

TAssociationPaths CurrentAssociationPaths()
{
    const std::string home = EnvOr("HOME", "/tmp");
    return {EnvOr("XDG_DATA_HOME", home + "/.local/share"), EnvOr("XDG_CONFIG_HOME", home + "/.config")};
}

void RegisterFileAssociation(const std::string &programPath, const TAssociationPaths &paths)
{
    WriteIfChanged(paths.MimePackage(), MimePackageText);
    WriteIfChanged(paths.Icon(), IconText);
    WriteIfChanged(paths.DesktopEntry(),
                   "[Desktop Entry]\n"
                   "Type=Application\n"
                   "Name=Tarvilex List Viewer\n"
                   "Name[hu]=Tarvilex listan\xC3\xA9z\xC5\x91\n"
                   "Exec=" + QuoteExec(programPath) + " %f\n"
                   "Icon=TarvilexList_file\n"
                   "MimeType=" + std::string(ListMimeType) + ";\n"
                   "Terminal=false\n"
                   "Categories=Office;Viewer;\n");
    UpdateMimeApps(paths.MimeApps(), true);
    RefreshDatabases(paths);
}

void UnregisterFileAssociation(const TAssociationPaths &paths)
{
    RemoveFile(paths.MimePackage());
    RemoveFile(paths.Icon());
    RemoveFile(paths.DesktopEntry());
    UpdateMimeApps(paths.MimeApps(), false);
    RefreshDatabases(paths);
}

}  // namespace platform
