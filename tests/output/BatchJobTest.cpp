// The built program run as a separate process on job files, with no display
// and no standard input, as an unattended caller starts it.
#include "platform/FileUnit.h"
#include "tests/listfile/ListFixtures.h"
#include "tests/support/TestSupport.h"

#include <QCoreApplication>
#include <QProcess>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::string CsvFormat(const std::string &name, const std::string &attributes, const std::string &bands)
{
    return "<f formatfilename=\"" + name + "\"><listformat name=\"" + name + "\" formattype=\"csv\" " + attributes +
           "><page>" + bands + "</page></listformat></f>";
}

// Extension and cost of every call, with a header and the total.
const std::string ExtensionFormat = CsvFormat(
    "ext", "columnseparator=\";\" dateseparator=\".\" decimalsign=\",\" level=\"0\"",
    "<header><EXTENSION fixtext=\"Mellék|Extension\"/><COST fixtext=\"Költség|Cost\"/></header>"
    "<item><EXTENSION/><COST/></item><total><totalname fixtext=\"Összesen|Total\"/><COST/></total>");
const std::string ExtensionBytes = "Extension;Cost\r\n201;12,50\r\n201;2,25\r\n202;30,00\r\n301;100,75\r\nTotal;145,50\r\n";

// Cost centre and duration, tab-separated, nothing else.
const std::string CentreFormat = CsvFormat("cc", "columnseparator=\"#9\" decimalsign=\".\" level=\"0\"",
                                           "<item><COSTCENTER/><DURATION/></item>");
const std::string CentreBytes = "P\xE9nz\xFCgy\t0:01:05\r\nP\xE9nz\xFCgy\t0:00:10\r\nP\xE9nz\xFCgy\t0:02:05\r\n"
                                "\xC9rt\xE9kes\xEDt\xE9s\t1:00:00\r\n";

struct TRun {
    int ExitCode = -1;
    std::string Errors;
};

class BatchJob : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!QCoreApplication::instance()) App = std::make_unique<QCoreApplication>(Argc, nullptr);
        fixtures::TListOptions options;
        options.Levels = 0;
        options.Formats = ExtensionFormat + CentreFormat;
        fixtures::WriteList(ListPath, options);
    }

    // Writes the job and runs the program on it.
    TRun Run(const std::string &jobText)
    {
        testsupport::WriteFile(JobPath, jobText);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(name);
        process.setProcessEnvironment(environment);
        process.setStandardInputFile(QProcess::nullDevice());
        process.start(QString(TARVILEX_BIN_DIR) + "/TarvilexViewer", {QString::fromStdString(JobPath)});
        EXPECT_TRUE(process.waitForFinished(60000)) << "the job did not end";
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardError().toStdString()};
    }

    std::string Job(const std::string &content, const std::string &rootAttributes = "") const
    {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><generatepdfcsvexcel filename=\"" + ListPath + "\" " +
               rootAttributes + ">" + content + "</generatepdfcsvexcel>";
    }
    std::string Step(const std::string &type, const std::string &format, const std::string &file) const
    {
        return "<generate type=\"" + type + "\" format=\"" + format + "\" filename=\"" + Folder.File(file) + "\"/>";
    }
    static std::string Log()
    {
        const std::string path = std::string(TARVILEX_BIN_DIR) + "/TarvilexViewer.LOG";
        return platform::FileExists(path) ? testsupport::ReadFile(path) : std::string();
    }

    int Argc = 0;
    std::unique_ptr<QCoreApplication> App;
    testsupport::TTempFolder Folder;
    const std::string ListPath = Folder.File("calls.TarvilexList");
    const std::string JobPath = Folder.File("job.XML");
};

}  // namespace

TEST_F(BatchJob, CsvStepsAroundOtherElementsWriteTheirFilesAndEnd)
{
    const TRun run = Run(Job(Step("csv", "ext", "a.csv") + "<!-- a note --><other type=\"csv\"/>" +
                             Step("csv", "cc", "b.csv")));
    EXPECT_EQ(run.ExitCode, 0) << run.Errors;
    EXPECT_FALSE(platform::FileExists(JobPath));
    EXPECT_EQ(testsupport::ReadFile(Folder.File("a.csv")), ExtensionBytes);
    EXPECT_EQ(testsupport::ReadFile(Folder.File("b.csv")), CentreBytes);
    EXPECT_NE(Log().find("written: " + Folder.File("b.csv")), std::string::npos);
}

TEST_F(BatchJob, FormatsOfTheJobWinOverThoseOfTheList)
{
    const std::string outer = "<outerposting><formats>" +
                              CsvFormat("ext", "columnseparator=\"#9\" decimalsign=\".\" level=\"0\"",
                                        "<item><EXTENSION/></item>") +
                              "</formats></outerposting>";
    const TRun run = Run(Job(outer + Step("csv", "ext", "a.csv"), "outerposting=\"true\""));
    EXPECT_EQ(run.ExitCode, 0) << run.Errors;
    EXPECT_EQ(testsupport::ReadFile(Folder.File("a.csv")), "201\r\n201\r\n202\r\n301\r\n");
}

TEST_F(BatchJob, FailuresEndWithTheReasonAndANonZeroStatus)
{
    struct TCase {
        const char *Name;
        std::string Job;
        bool JobFileKept;
        const char *Reason;
    } cases[] = {
        {"missing list", "<generatepdfcsvexcel filename=\"" + Folder.File("none.TarvilexList") + "\">" +
                             Step("csv", "ext", "a.csv") + "</generatepdfcsvexcel>",
         false, "List file not opened"},
        {"unparsable job", "<generatepdfcsvexcel filename=", true, "Job file not read, kept"},
        {"unknown format", Job(Step("csv", "nosuch", "a.csv")), false, "format not found: nosuch"},
        {"unknown type", Job(Step("html", "ext", "a.csv")), false, "unknown step type"},
    };
    for (const TCase &c : cases) {
        const TRun run = Run(c.Job);
        EXPECT_NE(run.ExitCode, 0) << c.Name;
        EXPECT_EQ(platform::FileExists(JobPath), c.JobFileKept) << c.Name;
        EXPECT_NE(run.Errors.find(c.Reason), std::string::npos) << c.Name << ": " << run.Errors;
        EXPECT_NE(Log().find(c.Reason), std::string::npos) << c.Name;
        EXPECT_FALSE(platform::FileExists(Folder.File("a.csv"))) << c.Name;
        std::remove(JobPath.c_str());
    }
}

TEST_F(BatchJob, AStepThatCannotRunDoesNotStopTheOthers)
{
    // A step without a format of its own keeps the one loaded before it.
    const TRun run = Run(Job(Step("csv", "ext", "a.csv") + Step("excel", "ext", "b.xlsx") +
                             Step("csv", "nosuch", "c.csv") + Step("csv", "cc", "missing/d.csv")));
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(testsupport::ReadFile(Folder.File("a.csv")), ExtensionBytes);
    EXPECT_EQ(testsupport::ReadFile(Folder.File("c.csv")), ExtensionBytes);
    EXPECT_NE(run.Errors.find("not available"), std::string::npos) << run.Errors;
    EXPECT_NE(run.Errors.find("missing/d.csv"), std::string::npos) << run.Errors;
}
