#include "app/StartupUnit.h"

#include "app/DataModulesUnit.h"
#include "app/ListViewUnit.h"
#include "platform/FileAssociationUnit.h"
#include "platform/FileUnit.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>

namespace app {

TStartMode StartModeOf(const std::string &argument)
{
    if (argument == "REGISTER") return TStartMode::Register;
    if (argument == "UNREGISTER") return TStartMode::Unregister;
    const std::string ext = platform::ExtractFileExt(argument);
    if (ext == ".TarvilexList") return TStartMode::ListFile;
    if (ext == ".XML") return TStartMode::JobFile;
    return TStartMode::Empty;
}

namespace {

void LogQuietly(const std::string &text)
{
    try {
        model::WriteLogLine(text);
    } catch (...) {
    }
}

}  // namespace

int RunProgram(const std::string &argument)
{
    const TStartMode mode = StartModeOf(argument);
    if (mode == TStartMode::Register || mode == TStartMode::Unregister) {
        try {
            if (mode == TStartMode::Register)
                platform::RegisterFileAssociation(platform::ProgramPath());
            else
                platform::UnregisterFileAssociation();
        } catch (const std::exception &e) {
            std::fprintf(stderr, "%s\n", e.what());
            LogQuietly(e.what());
            return 1;
        }
        return 0;
    }

    TDataModules modules;
    TListViewForm form(modules);
    if (mode == TStartMode::JobFile) {
        // Batch jobs arrive with their own issue; until then say so instead
        // of leaving a window nobody will close.
        const std::string text = "StartupUnit: Batch jobs are not supported by this version: " + argument;
        LogQuietly(text);
        std::fprintf(stderr, "%s\n", text.c_str());
        return 2;
    }
    form.ShowOnWorkArea();
    for (const auto &error : modules.StartupErrors) {
        LogQuietly(error);
        QMessageBox::critical(&form, QString::fromStdString(dictionary::Translate("_Error")),
                              QString::fromStdString(error));
    }
    if (mode == TStartMode::ListFile && !form.OpenListFile(argument))
        QMessageBox::critical(&form, QString::fromStdString(dictionary::Translate("_Error")),
                              QString::fromStdString(dictionary::Translate("_CannotOpenList") + "\n\n" + form.LastError()));
    return QApplication::exec();
}

}  // namespace app
