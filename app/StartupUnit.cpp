#include "app/StartupUnit.h"

#include "app/DataModulesUnit.h"
#include "app/ListViewUnit.h"
#include "output/BatchJobUnit.h"
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

// A job never waits for a person: no window, no message box; what went
// wrong is logged and on standard error, and the exit status tells.
int RunJob(TDataModules &modules, TListViewForm &form, const std::string &jobPath)
{
    form.QuietMessages = true;
    for (const auto &error : modules.StartupErrors) output::ReportBatchLine(error);
    output::TBatchJob job(modules, form.List());
    if (!job.Start(jobPath)) return 1;
    QObject::connect(&job, &output::TBatchJob::Finished, [](int status) { QCoreApplication::exit(status); });
    job.Run();
    return QApplication::exec();
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
            model::WriteLogLineQuietly(e.what());
            return 1;
        }
        return 0;
    }

    TDataModules modules;
    TListViewForm form(modules);
    if (mode == TStartMode::JobFile) return RunJob(modules, form, argument);
    form.ShowOnWorkArea();
    for (const auto &error : modules.StartupErrors) {
        model::WriteLogLineQuietly(error);
        QMessageBox::critical(&form, QString::fromStdString(dictionary::Translate("_Error")),
                              QString::fromStdString(error));
    }
    if (mode == TStartMode::ListFile && !form.OpenListFile(argument))
        QMessageBox::critical(&form, QString::fromStdString(dictionary::Translate("_Error")),
                              QString::fromStdString(dictionary::Translate("_CannotOpenList") + "\n\n" + form.LastError()));
    return QApplication::exec();
}

}  // namespace app
