// REGISTER and UNREGISTER run the real program into temporary XDG folders.
#include "platform/FileAssociationUnit.h"
#include "platform/FileUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

int RunViewer(const testsupport::TTempFolder &folder, const std::string &argument)
{
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY XDG_DATA_HOME='" + folder.File("data") +
                                "' XDG_CONFIG_HOME='" + folder.File("config") + "' '" TARVILEX_BIN_DIR
                                "/TarvilexViewer' " + argument + " </dev/null";
    return std::system(command.c_str());
}

}  // namespace

TEST(FileAssociation, RegisterThenUnregisterLeavesOtherEntries)
{
    testsupport::TTempFolder folder;
    std::filesystem::create_directories(folder.File("config"));
    const std::string mimeApps = folder.File("config/mimeapps.list");
    testsupport::WriteFile(mimeApps, "[Default Applications]\ntext/plain=editor.desktop\n\n[Added Associations]\nimage/png=viewer.desktop;\n");

    ASSERT_EQ(RunViewer(folder, "REGISTER"), 0);
    const platform::TAssociationPaths paths{folder.File("data"), folder.File("config")};
    const std::string desktop = testsupport::ReadFile(paths.DesktopEntry());
    EXPECT_NE(desktop.find("Exec=\"" TARVILEX_BIN_DIR "/TarvilexViewer\" %f\n"), std::string::npos) << desktop;
    EXPECT_NE(desktop.find("MimeType=application/x-tarvilexlist;"), std::string::npos) << desktop;
    const std::string mime = testsupport::ReadFile(paths.MimePackage());
    EXPECT_NE(mime.find("<glob pattern=\"*.TarvilexList\" case-sensitive=\"true\"/>"), std::string::npos) << mime;
    EXPECT_TRUE(platform::FileExists(paths.Icon()));
    EXPECT_EQ(testsupport::ReadFile(mimeApps),
              "[Default Applications]\ntext/plain=editor.desktop\n"
              "application/x-tarvilexlist=TarvilexList_file.desktop\n\n"
              "[Added Associations]\nimage/png=viewer.desktop;\n");

    // Registering twice changes nothing.
    ASSERT_EQ(RunViewer(folder, "REGISTER"), 0);
    EXPECT_EQ(testsupport::ReadFile(mimeApps).find("x-tarvilexlist"),
              testsupport::ReadFile(mimeApps).rfind("x-tarvilexlist"));

    ASSERT_EQ(RunViewer(folder, "UNREGISTER"), 0);
    EXPECT_FALSE(platform::FileExists(paths.DesktopEntry()));
    EXPECT_FALSE(platform::FileExists(paths.MimePackage()));
    EXPECT_FALSE(platform::FileExists(paths.Icon()));
    EXPECT_EQ(testsupport::ReadFile(mimeApps),
              "[Default Applications]\ntext/plain=editor.desktop\n\n[Added Associations]\nimage/png=viewer.desktop;\n");
}

TEST(FileAssociation, RegisterWritesAFreshMimeAppsList)
{
    testsupport::TTempFolder folder;
    ASSERT_EQ(RunViewer(folder, "REGISTER"), 0);
    EXPECT_EQ(testsupport::ReadFile(folder.File("config/mimeapps.list")),
              "[Default Applications]\napplication/x-tarvilexlist=TarvilexList_file.desktop\n");
    ASSERT_EQ(RunViewer(folder, "UNREGISTER"), 0);
    EXPECT_EQ(testsupport::ReadFile(folder.File("config/mimeapps.list")), "[Default Applications]\n");
}
