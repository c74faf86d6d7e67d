#include "output/BatchJobUnit.h"

#include "app/DataModulesUnit.h"
#include "app/OpenListUnit.h"
#include "formats/ListFormatModuleUnit.h"
#include "model/TarvilexDataModuleUnit.h"
#include "output/CSVUnit.h"
#include "platform/FileUnit.h"

#include <cstdio>

namespace output {

void ReportBatchLine(const std::string &text)
{
    std::fprintf(stderr, "%s\n", text.c_str());
    model::WriteLogLineQuietly(text);
}

TBatchJob::TBatchJob(app::TDataModules &modules, app::TOpenList &list, QObject *parent)
    : QObject(parent), Modules(modules), List(list), Values(list, modules)
{
    AutomaticTimer.setInterval(10);
    AutomaticTimer.setSingleShot(true);
    connect(&AutomaticTimer, &QTimer::timeout, this, &TBatchJob::AutomaticTimerTimer);
}

TBatchJob::~TBatchJob()
{
    if (Thread) Thread->wait();
}

bool TBatchJob::Start(const std::string &jobPath)
{
    try {
        GeneratePDFCSVExcel.GeneratePDFCSVExcel.LoadFromFile(jobPath);
        if (std::string_view(GeneratePDFCSVExcel.GeneratePDFCSVExcel.Root().name()) != "generatepdfcsvexcel")
            throw platform::TXmlError(jobPath + ": the root element is not generatepdfcsvexcel");
    } catch (const std::exception &e) {
        Fail(std::string("BatchJobUnit: Job file not read, kept: ") + e.what());
        return false;
    }
    // Read: the job file goes, whatever comes of the job.
    if (std::remove(jobPath.c_str()) != 0) ReportBatchLine("BatchJobUnit: Job file not deleted: " + jobPath);
    const pugi::xml_node root = GeneratePDFCSVExcel.GeneratePDFCSVExcel.Root();
    try {
        const std::string flag = platform::AttributeText(root, "outerposting");
        OuterPostingMode = !flag.empty() && platform::TextToBoolean(flag);
        if (OuterPostingMode) OuterPosting.OuterPosting.LoadFromText(platform::ElementXml(root.child("outerposting")));
    } catch (const std::exception &e) {
        Fail(std::string("BatchJobUnit: Job file not usable: ") + e.what());
        return false;
    }

    const std::string listPath = platform::NativePath(platform::AttributeText(root, "filename"));
    try {
        List.OpenListFile(listPath);
    } catch (const std::exception &e) {
        Fail(std::string("BatchJobUnit: List file not opened, no step runs: ") + e.what());
        return false;
    }
    StepIndex = 0;
    return true;
}

void TBatchJob::Run()
{
    AutomaticTimer.start();
}

void TBatchJob::AutomaticTimerTimer()
{
    AutomaticTimer.stop();
    ExecuteSteps();
}

void TBatchJob::ExecuteSteps()
{
    const pugi::xml_node root = GeneratePDFCSVExcel.GeneratePDFCSVExcel.Root();
    for (;; ++StepIndex) {
        if (StepIndex >= platform::ElementChildCount(root)) {
            emit Finished(Failures == 0 ? 0 : 1);
            return;
        }
        const pugi::xml_node step = platform::ElementChild(root, StepIndex);
        if (std::string_view(step.name()) != "generate") continue;
        if (StartStep(step)) return;   // StepFinished goes on
    }
}

bool TBatchJob::LoadStepFormat(pugi::xml_node step)
{
    const std::string wanted = platform::AttributeText(step, "format");
    const pugi::xml_node source =
        OuterPostingMode ? OuterPosting.OuterPosting.Document().child("outerposting").child("formats")
                         : Modules.ListGeneration.ListGeneration.Document().child("listgeneration").child("formats");
    for (pugi::xml_node entry = source.first_child(); entry; entry = entry.next_sibling()) {
        if (entry.type() != pugi::node_element || platform::AttributeText(entry, "formatfilename") != wanted) continue;
        Modules.ListFormat.Format.LoadFromText(platform::ElementXml(entry.child("listformat")));
        FormatLoaded = true;
        return true;
    }
    return FormatLoaded;   // the format loaded before stays current
}

bool TBatchJob::StartStep(pugi::xml_node step)
{
    const std::string type = platform::AttributeText(step, "type");
    const std::string target = platform::NativePath(platform::AttributeText(step, "filename"));
    const std::string what = StepText(type, target);
    try {
        if (!LoadStepFormat(step)) {
            Fail(what + "format not found: " + platform::AttributeText(step, "format"));
            return false;
        }
        if (type == "csv") {
            PrepareOutput(Modules, List, Values, Plan);
            Thread = std::make_unique<TCSVThread>(target, TOutputJob{List, Modules.ListFormat, Plan, Values});
            connect(Thread.get(), &QThread::finished, this, &TBatchJob::StepFinished, Qt::QueuedConnection);
            Thread->start();
            return true;
        }
        if (type == "excel" || type == "normal") {
            Fail(what + "Excel and PDF output are not available in this version");
            return false;
        }
        Fail(what + "unknown step type");
    } catch (const std::exception &e) {
        Fail(what + e.what());
    }
    return false;
}

void TBatchJob::StepFinished()
{
    Thread->wait();
    if (Thread->Error().empty())
        model::WriteLogLineQuietly("BatchJobUnit: written: " + Thread->TargetFileName());
    else
        Fail(StepText("csv", Thread->TargetFileName()) + Thread->Error());
    Thread.reset();
    ++StepIndex;
    ExecuteSteps();
}

std::string TBatchJob::StepText(const std::string &type, const std::string &target) const
{
    return "BatchJobUnit: Step " + std::to_string(StepIndex) + " (" + type + ", " + target + "): ";
}

void TBatchJob::Fail(const std::string &text)
{
    ++Failures;
    ReportBatchLine(text);
}

}  // namespace output
