// The list information and listing-conditions dialogs of an opened list.
#include "app/DataModulesUnit.h"
#include "app/ListCommandsUnit.h"
#include "app/OpenListUnit.h"
#include "app/ShowConditionUnit.h"
#include "app/ShowListInfoUnit.h"
#include "platform/FileUnit.h"
#include "tests/listfile/ListFixtures.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string kCondition =
    "<listcondition name=\"Március|March\" startdate=\"0/-1/1\" enddate=\"0/-1/31\"/>";

// What the fixture's generation document lacks for the information dialog.
const std::string kMoreAttributes =
    " createtime=\"2013-03-30 08:15:00\" system=\"TVX-01\" host=\"szerver\" HDID=\"0042\"";

class ListInfoDialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::EnsureApplication(); }
    void SetUp() override
    {
        testsupport::UseAsProgramFolder(Folder);
        dictionary::SetLanguageIndex(0);
        dictionary::SetStartupSeparatorsForTesting('.', ',', ':');
        dictionary::SetReferenceDate(dictionary::EncodeDate(2020, 6, 15));
        Modules = std::make_unique<app::TDataModules>();
        List = std::make_unique<app::TOpenList>(*Modules);
    }
    void TearDown() override
    {
        List.reset();
        Modules.reset();
        platform::SetProgramFolderForTesting("");
        dictionary::SetLanguageIndex(0);
        dictionary::SetStartupSeparatorsForTesting('/', '.', ':');
    }

    // The fixture list with extra attributes on "listgeneration", its
    // listcondition replaced and its remark given; opened.
    std::string Open(const std::string &attributes = kMoreAttributes, const std::string &condition = kCondition,
                     const std::string &remark = "Megjegyzés", const std::string &path = "",
                     fixtures::TListOptions options = {})
    {
        std::string text = fixtures::GenerationText(options);
        text.insert(text.find("<listgeneration ") + std::string("<listgeneration").size(), attributes);
        text.replace(text.find(kCondition), kCondition.size(), condition);
        const std::string fileName = path.empty() ? Folder.File("Hivasok.TarvilexList") : path;
        platform::TXmlDocument generation;
        generation.LoadFromText(text);
        tools::TListHeader header;
        header.GenerationTime = dictionary::EncodeDateTime(2013, 3, 31, 10, 0, 0);
        header.FirstDay = dictionary::EncodeDate(2013, 3, 1);
        header.LastDay = dictionary::EncodeDate(2013, 3, 31);
        header.FirstText = "x";
        header.Remark = remark;
        {
            tools::TListFileWriter writer(fileName, header, generation.Root());
            for (const auto &call : fixtures::SampleCalls()) writer.AddCall(call.Values, call.Counters);
            writer.Finish();
        }
        List->OpenListFile(fileName);
        return fileName;
    }

    static int OpenListInfoForms()
    {
        int n = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<app::TShowListInfoForm *>(w) || qobject_cast<app::TShowConditionForm *>(w)) ++n;
        return n;
    }

    testsupport::TTempFolder Folder;
    std::unique_ptr<app::TDataModules> Modules;
    std::unique_ptr<app::TOpenList> List;
};

std::string Text(const QLabel *label) { return label->text().toStdString(); }

TEST_F(ListInfoDialogs, ShowsThePropertiesOfTheList)
{
    const std::string path = Open();
    ASSERT_EQ(dictionary::LanguageIndex(), 1);   // the fixture list is English
    const auto form = app::CreateListInfoForm(nullptr, *Modules, *List);
    using F = app::TShowListInfoForm;
    struct Row { F::TRow row; const char *label; std::string value; };
    const Row rows[] = {
        {F::ListTypeRow, "List type:", "Calls"},
        {F::TermOfListingRow, "Listing period:", "01.03.2013 - 31.03.2013"},
        {F::RemarkRow, "Remark:", "Megjegyzés"},
        {F::ListDescriptionFileNameRow, "List description file:", "Hivasok"},
        {F::ListFileRow, "List file:", path},
        {F::NumberOfItemRecordsRow, "Number of item records:", "4"},
        {F::AuthorRow, "Author:", "admin"},
        {F::DefinitionTimeRow, "Time of definition:", "30.03.2013 08:15:00"},
        {F::TimeOfCreationRow, "Time of creation:", "31.03.2013 10:00:00"},
        {F::SystemNameRow, "System name:", "Próba Kft."},
        {F::SystemIDRow, "System ID:", "TVX-01"},
        {F::HostNameRow, "Host name:", "szerver"},
        {F::HDIDRow, "Disk ID:", "42"},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(Text(form->Labels[r.row]), r.label) << r.row;
        EXPECT_EQ(Text(form->Values[r.row]), r.value) << r.label;
        EXPECT_EQ(form->Values[r.row]->parentWidget(), form->GroupBox1) << r.label;
    }
    EXPECT_EQ(form->Values[F::ListFileRow]->toolTip().toStdString(), path);
    EXPECT_EQ(form->windowTitle().toStdString(), "List information");
    EXPECT_EQ(form->GroupBox1->title().toStdString(), "Properties of the list");
    EXPECT_EQ(form->size(), QSize(794, 300));
    // Rows from top to bottom, none overlapping the next, all inside the box.
    for (int row = 1; row < F::RowCount; ++row)
        EXPECT_GE(form->Values[row]->y(), form->Values[row - 1]->geometry().bottom()) << row;
    EXPECT_LE(form->Values[F::HDIDRow]->geometry().bottom(), form->GroupBox1->contentsRect().bottom());
}

TEST_F(ListInfoDialogs, HungarianListsShowHungarianCaptions)
{
    fixtures::TListOptions hungarian;
    hungarian.Language = 0;
    Open(kMoreAttributes, kCondition, "Megjegyzés", "", hungarian);
    const auto form = app::CreateListInfoForm(nullptr, *Modules, *List);
    EXPECT_EQ(Text(form->Labels[app::TShowListInfoForm::ListTypeRow]), "Listatípus:");
    EXPECT_EQ(Text(form->Values[app::TShowListInfoForm::ListTypeRow]), "Hívások");
    EXPECT_EQ(Text(form->Values[app::TShowListInfoForm::TermOfListingRow]), "2013.03.01 - 2013.03.31");
}

TEST_F(ListInfoDialogs, LongValuesAreCutAndTheListFileIsShortenedInTheMiddle)
{
    std::string folder = Folder.Path();
    for (int i = 0; i < 8; ++i) folder += "a_rather_long_folder_name_number_" + std::to_string(i) + "/";
    std::filesystem::create_directories(folder);
    const std::string remark(400, 'R');
    const std::string path = Open(kMoreAttributes, kCondition, remark, folder + "Hivasok.TarvilexList");
    const auto form = app::CreateListInfoForm(nullptr, *Modules, *List);

    const QLabel *remarkField = form->Values[app::TShowListInfoForm::RemarkRow];
    EXPECT_EQ(Text(remarkField), remark);   // kept whole, drawn up to the field's edge
    EXPECT_LT(remarkField->width(), remarkField->fontMetrics().horizontalAdvance(remarkField->text()));
    EXPECT_LE(remarkField->geometry().right(), form->GroupBox1->contentsRect().right());

    const QLabel *file = form->Values[app::TShowListInfoForm::ListFileRow];
    const std::string shown = Text(file);
    EXPECT_EQ(file->toolTip().toStdString(), path);
    EXPECT_NE(shown, path);
    EXPECT_LE(file->fontMetrics().horizontalAdvance(file->text()), file->width()) << shown;
    EXPECT_EQ(shown.rfind("/.../", 0), 0u) << shown;                       // the root stays
    EXPECT_TRUE(shown.ends_with("number_7/Hivasok.TarvilexList")) << shown;   // the nearest folder stays
}

TEST(MinimizeName, FitsAndKeepsTheStartAndTheFileName)
{
    static int argc = 1;
    static char name[] = "tests_app";
    static char *argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
    const QFontMetrics metrics(QFont("Liberation Sans", 9));
    const int w = metrics.horizontalAdvance("/home/user/lists/Hivasok.TarvilexList");
    struct Case { const char *path; int width; const char *shown; };
    const Case cases[] = {
        {"/home/user/lists/Hivasok.TarvilexList", w, "/home/user/lists/Hivasok.TarvilexList"},
        {"/home/user/lists/march/Hivasok.TarvilexList", metrics.horizontalAdvance("/.../lists/march/Hivasok.TarvilexList"),
         "/.../lists/march/Hivasok.TarvilexList"},
        {"/home/user/lists/march/Hivasok.TarvilexList", metrics.horizontalAdvance("/.../Hivasok.TarvilexList"),
         "/.../Hivasok.TarvilexList"},
        {"C:/lists/a/b/Hivasok.TarvilexList", metrics.horizontalAdvance("C:/.../b/Hivasok.TarvilexList"),
         "C:/.../b/Hivasok.TarvilexList"},
        {"relative/Hivasok.TarvilexList", metrics.horizontalAdvance(".../Hivasok.TarvilexList"),
         ".../Hivasok.TarvilexList"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(app::MinimizeName(c.path, metrics, c.width).toStdString(), c.shown) << c.path;
    // Narrower than the file name: the end of the name, still within the width.
    const int narrow = metrics.horizontalAdvance("TarvilexList");
    const QString tail = app::MinimizeName("/home/user/Hivasok.TarvilexList", metrics, narrow);
    EXPECT_LE(metrics.horizontalAdvance(tail), narrow) << tail.toStdString();
    EXPECT_TRUE(tail.endsWith("List")) << tail.toStdString();
}

// The attributes the fixture lacks, each set broken in turn.
struct BrokenCase { const char *attributes; const char *why; };
const BrokenCase kBroken[] = {
    {" createtime=\"2013-03-30\" system=\"S\" host=\"h\" HDID=\"1\"", "no time"},
    {" createtime=\"2013-02-30 08:15:00\" system=\"S\" host=\"h\" HDID=\"1\"", "impossible date"},
    {" createtime=\"2013-03-30 25:15:00\" system=\"S\" host=\"h\" HDID=\"1\"", "impossible time"},
    {" system=\"S\" host=\"h\" HDID=\"1\"", "no createtime"},
    {" createtime=\"2013-03-30 08:15:00\" system=\"S\" host=\"h\" HDID=\"12a\"", "HDID no integer"},
    {" createtime=\"2013-03-30 08:15:00\" system=\"S\" host=\"h\"", "no HDID"},
};

TEST_F(ListInfoDialogs, AMalformedValueGivesTheErrorAndNoDialog)
{
    for (const BrokenCase &c : kBroken) {
        Open(c.attributes);
        ASSERT_FALSE(List->FileName.empty()) << c.why;
        EXPECT_THROW(app::CreateListInfoForm(nullptr, *Modules, *List), platform::TConversionError) << c.why;
        EXPECT_NE(app::ShowListInfo(nullptr, *Modules, *List, true), "") << c.why;
        EXPECT_EQ(OpenListInfoForms(), 0) << c.why;
        List = std::make_unique<app::TOpenList>(*Modules);
    }
}

TEST_F(ListInfoDialogs, AMalformedDateOfGenerationGivesTheErrorAndNoDialog)
{
    // The fixture's dateofgeneration is replaced by a broken one.
    for (const char *date : {"2013-03-31", "31/03/2013 10:00:00", "2013-13-31 10:00:00", ""}) {
        Open(kMoreAttributes);
        Modules->ListGeneration.ListGeneration.Root().attribute("dateofgeneration").set_value(date);
        const std::string error = app::ShowListInfo(nullptr, *Modules, *List, true);
        EXPECT_NE(error.find("LanguageUnit: Invalid date and time"), std::string::npos) << date << ": " << error;
        EXPECT_EQ(OpenListInfoForms(), 0) << date;
        List = std::make_unique<app::TOpenList>(*Modules);
    }
}

TEST_F(ListInfoDialogs, TheCommandShowsTheDialogModallyAndDestroysIt)
{
    Open();
    bool shown = false;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        shown = qobject_cast<app::TShowListInfoForm *>(modal) != nullptr;
        if (modal) modal->close();
    });
    EXPECT_EQ(app::ShowListInfo(nullptr, *Modules, *List, true), "");
    EXPECT_TRUE(shown);
    EXPECT_EQ(OpenListInfoForms(), 0);

    shown = false;
    QTimer::singleShot(0, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        shown = qobject_cast<app::TShowConditionForm *>(modal) != nullptr;
        if (modal) modal->close();
    });
    EXPECT_EQ(app::ShowListingConditions(nullptr, *Modules, true), "");
    EXPECT_TRUE(shown);
    EXPECT_EQ(OpenListInfoForms(), 0);
}

TEST_F(ListInfoDialogs, ConditionsAreDescribedAsOfTheDayOfGeneration)
{
    Open();
    const auto form = app::CreateConditionForm(nullptr, *Modules);
    // Generated 2013-03-31: "the previous month" is February 2013, not the
    // month before the reference date set in SetUp.
    EXPECT_EQ(form->Memo1->toPlainText().toStdString(), "Listing term: 01.02.2013 - 28.02.2013\n1. condition variant");
    EXPECT_EQ(form->windowTitle().toStdString(), "Listing conditions [March]");
    EXPECT_EQ(form->ConditionName(), "March");
    EXPECT_TRUE(form->Memo1->isReadOnly());
    EXPECT_EQ(form->size(), QSize(426, 286));
    form->layout()->activate();
    EXPECT_EQ(form->Memo1->geometry(), form->rect());   // the whole client area
    EXPECT_EQ(dictionary::ReferenceDate(), dictionary::EncodeDate(2013, 3, 31));
}

TEST_F(ListInfoDialogs, ConditionCaptionAndTextFollowTheListLanguage)
{
    fixtures::TListOptions hungarian;
    hungarian.Language = 0;
    const std::string condition =
        "<listcondition name=\"Március|March\" startdate=\"0/0/0\" enddate=\"0/0/0\"><variants><v>"
        "<c id=\"EXTENSION\" selected=\"false\"><i id=\"201\"/><i id=\"202\"/></c></v></variants></listcondition>";
    Open(kMoreAttributes, condition, "", "", hungarian);
    const auto form = app::CreateConditionForm(nullptr, *Modules);
    EXPECT_EQ(form->windowTitle().toStdString(), "Listázási feltételek [Március]");
    EXPECT_EQ(form->Memo1->toPlainText().toStdString(),
              "Listázási időszak: 2013.03.31 - 2013.03.31\n"
              "1. feltételváltozat\n"
              "     A kihagyott mellékállomások\n"
              "          201\n"
              "          202");
}

TEST_F(ListInfoDialogs, ConditionsOfAMalformedListGiveTheErrorAndNoDialog)
{
    struct Case { const char *date; const char *condition; const char *error; };
    const Case cases[] = {
        {"13-03-31 10:00:00", nullptr, "LanguageUnit: Invalid date"},
        {"", nullptr, "LanguageUnit: Invalid date"},
        {"2013-03-31 10:00:00", "<listcondition name=\"x\" startdate=\"0/0\" enddate=\"0/0/0\"/>",
         "ListConditionModuleUnit: Invalid startdate"},
        {"2013-03-31 10:00:00",
         "<listcondition name=\"x\" startdate=\"0/0/0\" enddate=\"0/0/0\"><variants><v><c id=\"MARK\"/></v></variants>"
         "</listcondition>",
         "ConditionModuleUnit: Invalid selected"},
    };
    for (const Case &c : cases) {
        Open(kMoreAttributes, c.condition ? c.condition : kCondition);
        Modules->ListGeneration.ListGeneration.Root().attribute("dateofgeneration").set_value(c.date);
        const std::string error = app::ShowListingConditions(nullptr, *Modules, true);
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.date << ": " << error;
        EXPECT_EQ(OpenListInfoForms(), 0) << c.date;
        List = std::make_unique<app::TOpenList>(*Modules);
    }
}

}  // namespace
