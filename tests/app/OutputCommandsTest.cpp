// The main window's CSV command from the chosen format on: the file, the
// menus while the thread runs, and the message at its end.
#include "app/DataModulesUnit.h"
#include "app/ListViewUnit.h"
#include "editors/SelectFormatUnit.h"
#include "dictionary/LanguageUnit.h"
#include "platform/FileUnit.h"
#include "tests/listfile/ListFixtures.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QEventLoop>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class OutputCommands : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::EnsureApplication(); }
    void SetUp() override
    {
        testsupport::UseAsProgramFolder(Folder);
        Modules = std::make_unique<app::TDataModules>();
        Form = std::make_unique<app::TListViewForm>(*Modules);
        Form->QuietMessages = true;
        fixtures::TListOptions options;
        options.Levels = 0;
        fixtures::WriteList(Folder.File("calls.TarvilexList"), options);
        ASSERT_TRUE(Form->OpenListFile(Folder.File("calls.TarvilexList")));
        Modules->ListFormat.Format.LoadFromText(
            "<listformat formattype=\"csv\" columnseparator=\";\" decimalsign=\",\" level=\"0\"><page>"
            "<item><EXTENSION/><COST/></item><total><totalname fixtext=\"Összesen|Total\"/><COST/></total>"
            "</page></listformat>");
    }
    void TearDown() override
    {
        Form.reset();
        Modules.reset();
        dictionary::SetLanguageIndex(0);
    }
    // Waits on the main thread for the end of the running output.
    bool WaitForOutput()
    {
        QEventLoop loop;
        bool finished = false;
        QObject::connect(Form.get(), &app::TListViewForm::OutputFinished, &loop, [&] {
            finished = true;
            loop.quit();
        });
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        if (Form->OutputRunning()) loop.exec();
        return finished;
    }
    // Starts the output and waits for its end on the main thread.
    void WriteCsv(const std::string &target)
    {
        // Hidden without a printer, and then never enabled.
        const bool printing = Form->PrintingMenu->isEnabled();
        Form->StartCsvOutput(target);
        ASSERT_TRUE(Form->OutputRunning());
        EXPECT_FALSE(Form->WriteOutMenu->isEnabled());
        EXPECT_FALSE(Form->PrintingMenu->isEnabled());
        EXPECT_FALSE(Form->OpenMenu->isEnabled());
        ASSERT_TRUE(WaitForOutput()) << "the output did not end";
        EXPECT_FALSE(Form->OutputRunning());
        EXPECT_TRUE(Form->WriteOutMenu->isEnabled());
        EXPECT_EQ(Form->PrintingMenu->isEnabled(), printing);
        EXPECT_TRUE(Form->OpenMenu->isEnabled());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    testsupport::TTempFolder Folder;
    std::unique_ptr<app::TDataModules> Modules;
    std::unique_ptr<app::TListViewForm> Form;
};

}  // namespace

TEST_F(OutputCommands, CsvOutputWritesTheFileAndSaysSo)
{
    WriteCsv(Folder.File("out.csv"));
    EXPECT_EQ(testsupport::ReadFile(Folder.File("out.csv")), "201;12,50\r\n201;2,25\r\n202;30,00\r\n301;100,75\r\nTotal;145,50\r\n");
    EXPECT_EQ(Form->LastMessage(), "CSV generation finished.");
}

TEST_F(OutputCommands, AFailedCsvOutputSaysWhyInsteadOfFinished)
{
    WriteCsv(Folder.File("missing/out.csv"));
    EXPECT_NE(Form->LastMessage().find("missing/out.csv"), std::string::npos) << Form->LastMessage();
    EXPECT_NE(Form->LastMessage(), "CSV generation finished.");
}

TEST_F(OutputCommands, ListInfoCommandReportsAMalformedListInsteadOfOpening)
{
    // The fixture's generation document has no creation time.
    Form->ViewListInfoMenu->trigger();
    EXPECT_FALSE(Form->LastError().empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(OutputCommands, CsvCommandTakesTheChosenFormatAndFile)
{
    fixtures::TListOptions options;
    options.Levels = 0;
    options.Formats = "<f><listformat name=\"Mellékek\" formattype=\"csv\" columnseparator=\"#9\" level=\"0\">"
                      "<page><item><EXTENSION/></item></page></listformat></f>";
    fixtures::WriteList(Folder.File("formats.TarvilexList"), options);
    ASSERT_TRUE(Form->OpenListFile(Folder.File("formats.TarvilexList")));
    // The two dialogs are answered as a user would: the offered format, then the file.
    const std::string target = Folder.File("chosen.CSV");
    int formatsChosen = 0, filesChosen = 0;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *select = qobject_cast<editors::TSelectFormatForm *>(modal)) {
            EXPECT_EQ(select->ListView9->topLevelItemCount(), 1);
            select->BitBtn1->click();
            ++formatsChosen;
        } else if (auto *save = qobject_cast<QFileDialog *>(modal)) {
            if (QLineEdit *name = save->findChild<QLineEdit *>("fileNameEdit"))
                name->setText(QString::fromStdString(target));
            if (auto *buttons = save->findChild<QDialogButtonBox *>())
                if (QPushButton *button = buttons->button(QDialogButtonBox::Save)) button->click();
            ++filesChosen;
        }
    });
    answer.start(20);
    QTimer::singleShot(10000, [] {
        if (QWidget *modal = QApplication::activeModalWidget()) modal->close();
    });
    Form->CSVMenu->trigger();
    answer.stop();
    EXPECT_EQ(formatsChosen, 1);
    EXPECT_EQ(filesChosen, 1);
    ASSERT_TRUE(WaitForOutput());
    EXPECT_EQ(testsupport::ReadFile(target), "201\r\n201\r\n202\r\n301\r\n");
}
