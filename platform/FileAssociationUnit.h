#pragma once
// The file association of "*.TarvilexList" for the current user, the XDG way:
// a shared-mime-info package, a desktop entry that opens the program with the
// file, an icon and the default-application line in mimeapps.list.
#include <string>
#include <vector>

namespace platform {

inline constexpr const char *ListMimeType = "application/x-tarvilexlist";
inline constexpr const char *ListDesktopFile = "TarvilexList_file.desktop";

struct TAssociationPaths {
    std::string DataHome;     // $XDG_DATA_HOME or ~/.local/share
    std::string ConfigHome;   // $XDG_CONFIG_HOME or ~/.config
    std::string MimePackage() const;
    std::string DesktopEntry() const;
    std::string Icon() const;
    std::string MimeApps() const;
};

TAssociationPaths CurrentAssociationPaths();

// Both leave every other entry of mimeapps.list as it was, and refresh the
// desktop databases when their tools are installed.
void RegisterFileAssociation(const std::string &programPath, const TAssociationPaths &paths = CurrentAssociationPaths());
void UnregisterFileAssociation(const TAssociationPaths &paths = CurrentAssociationPaths());

}  // namespace platform
