#pragma once
// Unattended jobs: an XML job file names a list file and the outputs to write
// from it, each with a format from the list or from the job itself. The job
// runs without a window or a message box; every outcome goes to the log and
// to standard error, and the exit status says whether every file was written.
#include "app/ListOutputUnit.h"
#include "formats/OutputPlanUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>

namespace app {
class TOpenList;
struct TDataModules;
}  // namespace app

namespace output {

class TCSVThread;

// The job document (`generatepdfcsvexcel`).
class TGeneratePDFCSVExcelModule {
public:
    platform::TXmlDocument GeneratePDFCSVExcel;
};

// The formats delivered with a job (`outerposting`).
class TOuterPostingModule {
public:
    platform::TXmlDocument OuterPosting;
};

class TBatchJob : public QObject {
    Q_OBJECT
public:
    TBatchJob(app::TDataModules &modules, app::TOpenList &list, QObject *parent = nullptr);
    ~TBatchJob() override;

    // Loads the job, deletes its file, opens the list it names. False, with
    // the reason logged and on standard error, when the job cannot start; a
    // job file that cannot be parsed is kept.
    bool Start(const std::string &jobPath);
    // Runs the steps from the event loop (AutomaticTimer, 10 ms); Finished
    // follows the last one.
    void Run();

    TGeneratePDFCSVExcelModule GeneratePDFCSVExcel;
    TOuterPostingModule OuterPosting;
    bool OuterPostingMode = false;
    int StepIndex = 0;
    QTimer AutomaticTimer;

signals:
    // 0 when every step wrote its file, 1 otherwise.
    void Finished(int exitStatus);

private:
    void AutomaticTimerTimer();
    void ExecuteSteps();
    // False when the step started no output (its failure is counted).
    bool StartStep(pugi::xml_node step);
    bool LoadStepFormat(pugi::xml_node step);
    void StepFinished();
    void Fail(const std::string &text);
    // "BatchJobUnit: Step n (type, file): " for the messages of the current step.
    std::string StepText(const std::string &type, const std::string &target) const;

    app::TDataModules &Modules;
    app::TOpenList &List;
    app::TListValues Values;
    formats::TOutputPlan Plan;
    std::unique_ptr<TCSVThread> Thread;
    bool FormatLoaded = false;
    int Failures = 0;
};

// Appends to the log and writes to standard error; never raises.
void ReportBatchLine(const std::string &text);

}  // namespace output
