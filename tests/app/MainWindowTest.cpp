#include "app/DataModulesUnit.h"
#include "app/ListViewUnit.h"
#include "app/StartupUnit.h"
#include "platform/FileUnit.h"
#include "tests/listfile/ListFixtures.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class MainWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::EnsureApplication(); }
    void SetUp() override
    {
        testsupport::UseAsProgramFolder(Folder);
        dictionary::SetLanguageIndex(0);
        Modules = std::make_unique<app::TDataModules>();
        Form = std::make_unique<app::TListViewForm>(*Modules);
        Form->QuietMessages = true;
    }
    void TearDown() override
    {
        Form.reset();
        Modules.reset();
        dictionary::SetLanguageIndex(0);
    }
    std::string Write(const std::string &name, const fixtures::TListOptions &options = {},
                      const std::vector<fixtures::TCall> &calls = fixtures::SampleCalls())
    {
        fixtures::WriteList(Folder.File(name), options, calls);
        return Folder.File(name);
    }
    testsupport::TTempFolder Folder;
    std::unique_ptr<app::TDataModules> Modules;
    std::unique_ptr<app::TListViewForm> Form;
};

}  // namespace

TEST_F(MainWindow, ShowsTheListInItsLanguage)
{
    // Before any list: Hungarian captions, the empty-list caption.
    EXPECT_EQ(Form->OpenMenu->text().toStdString(), dictionary::Translate("_Open"));
    EXPECT_NE(Form->OpenMenu->text(), "_Open");
    EXPECT_FALSE(Form->Panel2Shown());
    EXPECT_FALSE(Form->WriteOutMenu->menuAction()->isVisible());

    ASSERT_TRUE(Form->OpenListFile(Write("Hivasok.TarvilexList"))) << Form->LastError();
    EXPECT_EQ(Form->Panel6->text(), "Calls");
    EXPECT_EQ(Form->StatusBar1Panel->text(), "Number of item records: 4");
    EXPECT_EQ(Form->windowTitle().toStdString(), dictionary::Translate("_ListViewForm") + " - [Hivasok.TarvilexList]");
    EXPECT_EQ(Form->OpenMenu->text(), "Open");
    EXPECT_TRUE(Form->Panel2Shown());
    EXPECT_TRUE(Form->WriteOutMenu->menuAction()->isVisible());
    EXPECT_FALSE(Form->SubFieldsMenu->menuAction()->isVisible());   // detailed list
    EXPECT_TRUE(Form->SummMenu->isEnabled());
    EXPECT_FALSE(Form->GroupBox1->isHidden());

    // A Hungarian summary list without levels.
    fixtures::TListOptions summary;
    summary.Kind = "summary";
    summary.Levels = 0;
    summary.Language = 0;
    ASSERT_TRUE(Form->OpenListFile(Write("Osszesito.TarvilexList", summary))) << Form->LastError();
    EXPECT_EQ(Form->Panel6->text(), "Hívások");
    EXPECT_EQ(Form->StatusBar1Panel->text(), "Tételrekordok száma: 3");
    EXPECT_TRUE(Form->SubFieldsMenu->menuAction()->isVisible());
    EXPECT_FALSE(Form->SummMenu->isEnabled());
    EXPECT_TRUE(Form->GroupBox1->isHidden());

    // An empty list hides the records panel and the output entries.
    ASSERT_TRUE(Form->OpenListFile(Write("Ures.TarvilexList", {}, {})));
    EXPECT_FALSE(Form->Panel2Shown());
    EXPECT_FALSE(Form->WriteOutMenu->menuAction()->isVisible());
    EXPECT_FALSE(Form->PrintingMenu->isVisible());
}

TEST_F(MainWindow, BrokenListLeavesTheWindowAsItWas)
{
    ASSERT_TRUE(Form->OpenListFile(Write("Hivasok.TarvilexList")));
    const QString title = Form->windowTitle();
    const std::string broken = Folder.File("broken.TarvilexList");
    std::string bytes = testsupport::ReadFile(Folder.File("Hivasok.TarvilexList"));
    bytes.resize(bytes.size() - 5);
    testsupport::WriteFile(broken, bytes);
    EXPECT_FALSE(Form->OpenListFile(broken));
    EXPECT_NE(Form->LastError().find("zone totals"), std::string::npos) << Form->LastError();
    EXPECT_EQ(Form->windowTitle(), title);
    EXPECT_EQ(Form->List().FileName, Folder.File("Hivasok.TarvilexList"));
    EXPECT_TRUE(Form->Panel2Shown());
    // The reason is in the log beside the program.
    const std::string log = testsupport::ReadFile(
        Folder.File(platform::ExtractFileName(platform::ChangeFileExt(platform::ProgramPath(), ".LOG"))));
    EXPECT_NE(log.find("zone totals"), std::string::npos);
}

TEST_F(MainWindow, OpenCommandRefusesWrongExtensionAndMissingFiles)
{
    const std::string lower = Write("lower.tarvilexlist");
    for (const std::string &path : {lower, Folder.File("missing.TarvilexList")}) {
        Form->OpenChosenFile(path);
        EXPECT_EQ(Form->LastError(), dictionary::Translate("_InvalidFile")) << path;
        EXPECT_TRUE(Form->List().FileName.empty()) << path;
    }
    Form->OpenChosenFile(Write("right.TarvilexList"));
    EXPECT_EQ(Form->List().FileName, Folder.File("right.TarvilexList"));
}

TEST(StartMode, ExactCaseSensitiveArguments)
{
    struct TCase { const char *Argument; app::TStartMode Mode; };
    const TCase cases[] = {
        {"REGISTER", app::TStartMode::Register},
        {"UNREGISTER", app::TStartMode::Unregister},
        {"register", app::TStartMode::Empty},
        {"/x/Hivasok.TarvilexList", app::TStartMode::ListFile},
        {"/x/Hivasok.tarvilexlist", app::TStartMode::Empty},
        {"/x/job.XML", app::TStartMode::JobFile},
        {"/x/job.xml", app::TStartMode::Empty},
        {"", app::TStartMode::Empty},
    };
    for (const auto &c : cases) EXPECT_EQ(app::StartModeOf(c.Argument), c.Mode) << c.Argument;
}
