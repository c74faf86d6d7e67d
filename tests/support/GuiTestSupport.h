#pragma once
// What the widget tests share: one Qt application for the test program and a
// program folder that holds the shipped dictionary.
#include "platform/FileUnit.h"
#include "tests/support/TestSupport.h"

#include <QApplication>

#include <filesystem>
#include <string>

namespace testsupport {

inline void EnsureApplication()
{
    static int argc = 1;
    static char name[] = "tests";
    static char *argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
}

// The folder becomes the program folder, with the shipped dictionary in it so
// that captions are the real texts.
inline void UseAsProgramFolder(const TTempFolder &folder)
{
    std::filesystem::copy_file(std::string(TARVILEX_SOURCE_DIR) + "/data/Language.XML", folder.File("Language.XML"));
    platform::SetProgramFolderForTesting(folder.Path());
}

}  // namespace testsupport
