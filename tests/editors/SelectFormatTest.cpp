#include "editors/SelectFormatUnit.h"

#include "app/DataModulesUnit.h"
#include "app/OpenListUnit.h"
#include "editors/FormatGridPreviewUnit.h"
#include "platform/FileUnit.h"
#include "tests/listfile/ListFixtures.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Carried in the list file: two print formats with a screen format between
// them, so that the second print format is child 2 of "formats".
const char *kBuiltIn =
    "<f><listformat name=\"Zeta nyomtatás\" formattype=\"normal\" level=\"1\" width=\"2972\" height=\"2102\"><page/></listformat></f>"
    "<f><listformat name=\"\" formattype=\"screen\"/></f>"
    "<f><listformat name=\"alfa\" formattype=\"normal\" level=\"2\" width=\"2102\" height=\"2972\"><page/></listformat></f>"
    "<f><listformat name=\"Excel\" formattype=\"excel\" level=\"0\" listfilename=\"Hivasok\"><page visible=\"True\">"
    "<header visible=\"True\" name=\"_Header\">"
    "<EXTENSION visible=\"True\" fixtext=\"Mellék|Extension\" fieldid=\"EXTENSION\" backgroundcolor=\"255\""
    " fontname=\"Calibri\" fontsize=\"11\" fontbold=\"True\" fontcolor=\"16711680\" horizontalalignment=\"1\""
    " verticalalignment=\"1\" leftvisible=\"True\" leftcolor=\"0\" leftwidth=\"2\"/>"
    "</header></page></listformat></f>";

const char *kPrintFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<listformat name=\"Beta\" formattype=\"normal\" level=\"0\" listfilename=\"Hivasok\" width=\"2102\" height=\"2972\">"
    "<page left=\"100\" top=\"100\" width=\"1902\" height=\"2772\"/></listformat>";

// A CSV format with a group column, a fixed text and the page-context cells.
const char *kCsvFile =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<listformat name=\"Saját CSV\" formattype=\"csv\" level=\"0\" listfilename=\"Hivasok\" columnseparator=\";\">"
    "<page visible=\"True\" name=\"_ParamsOfPage\">"
    "<pageheader visible=\"True\" name=\"_PageHeader\">"
    "<inserted visible=\"True\" fixtext=\"\" fieldid=\"inserted\"/>"
    "<firm visible=\"True\" fixtext=\"A cég neve: %|Firm name: %\" fieldid=\"firm\"/></pageheader>"
    "<pageheader2 visible=\"True\" name=\"_PageHeader2\"><remark visible=\"True\" fixtext=\"Megjegyzés: %|Remark: %\"/></pageheader2>"
    "<controlbreak_0 visible=\"True\" name=\"_Controlbreak\"><COSTCENTER visible=\"True\" fixtext=\"Költséghely: %|Cost centre: %\"/></controlbreak_0>"
    "<header visible=\"True\" name=\"_Header\">"
    "<EXTENSION visible=\"True\" fixtext=\"Mellék|Extension\"/>"
    "<COST visible=\"False\" fixtext=\"Díj|Cost\"/>"
    "<T visible=\"True\" fixtext=\"Összesen|Total\"><PIECE_T visible=\"True\" fixtext=\"db.|pcs.\"/>"
    "<IMPULSE_T visible=\"False\" fixtext=\"imp.|imp.\"/><COST_T visible=\"True\" fixtext=\"ár|cost\"/></T>"
    "</header>"
    "<item visible=\"True\" name=\"_Item\"><EXTENSION visible=\"True\" fixtext=\"\"/><inserted visible=\"True\" fixtext=\"Fix\" fieldid=\"inserted\"/></item>"
    "<pagefooter visible=\"True\" name=\"_PageFooter\"><listid visible=\"True\" fixtext=\"\"/></pagefooter>"
    "</page></listformat>";

class SelectFormat : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::EnsureApplication(); }
    void SetUp() override
    {
        testsupport::UseAsProgramFolder(Folder);
        dictionary::SetLanguageIndex(0);
        Modules = std::make_unique<app::TDataModules>();
        List = std::make_unique<app::TOpenList>(*Modules);

        FormatFolder = Folder.File("user/Formats.Dir/Hivasok");
        std::filesystem::create_directories(FormatFolder);
        PrintFile = FormatFolder + "/{1}.XML";
        CsvFile = FormatFolder + "/{2}.XML";
        testsupport::WriteFile(PrintFile, kPrintFile);
        testsupport::WriteFile(CsvFile, kCsvFile);
        // Neither is offered: another formattype, and a file that is no XML.
        testsupport::WriteFile(FormatFolder + "/Screen.XML", "<listformat formattype=\"screen\"/>");
        testsupport::WriteFile(FormatFolder + "/broken.XML", "<listformat formattype=\"normal\"");

        fixtures::TListOptions options;
        options.UserDir = Folder.File("user");
        options.Formats = kBuiltIn;
        fixtures::WriteList(Folder.File("calls.TarvilexList"), options);
        ASSERT_TRUE(List->OpenListFile(Folder.File("calls.TarvilexList")));
    }
    void TearDown() override
    {
        List.reset();
        Modules.reset();
        dictionary::SetLanguageIndex(0);
    }
    std::unique_ptr<editors::TSelectFormatForm> Open(int kind)
    {
        auto form = std::make_unique<editors::TSelectFormatForm>(*Modules, *List);
        form->QuietMessages = true;
        form->SetListFolder(Folder.Path());
        form->SetActualSummLevel(1);
        form->SetFormatKind(kind);
        return form;
    }
    static std::string Row(const editors::TSelectFormatForm &form, int row)
    {
        const QTreeWidgetItem *item = form.ListView9->topLevelItem(row);
        std::string out;
        for (int c = 0; c < 5; ++c) out += (c ? "," : "") + item->text(c).toStdString();
        return out;
    }
    static void Select(editors::TSelectFormatForm &form, std::initializer_list<int> rows)
    {
        form.ListView9->clearSelection();
        for (int row : rows) form.ListView9->topLevelItem(row)->setSelected(true);
    }
    std::string LoadedName() const { return platform::AttributeText(Modules->ListFormat.Root(), "name"); }

    testsupport::TTempFolder Folder;
    std::unique_ptr<app::TDataModules> Modules;
    std::unique_ptr<app::TOpenList> List;
    std::string FormatFolder, PrintFile, CsvFile;
};

std::string Upper(const std::string &text) { return QString::fromStdString(text).toUpper().toStdString(); }

}  // namespace

TEST_F(SelectFormat, OffersTheFormatsOfTheKind)
{
    const std::string builtIn = dictionary::Translate("_BuildInFormat");
    struct Case {
        int kind;
        std::vector<std::string> rows;
        std::vector<std::string> known;
    };
    const Case cases[] = {
        {0,
         {"Zeta nyomtatás,1," + builtIn + ",BI,0", "alfa,2," + builtIn + ",BI,2", "Beta,0," + PrintFile + ",FILE,"},
         {Upper(PrintFile)}},
        {1, {"Saját CSV,0," + CsvFile + ",FILE,"}, {Upper(CsvFile)}},
        {2, {"Excel,0," + builtIn + ",BI,3"}, {}},
        {7, {}, {}},
    };
    for (const Case &c : cases) {
        const auto form = Open(c.kind);
        std::vector<std::string> rows;
        for (int r = 0; r < form->ListView9->topLevelItemCount(); ++r) rows.push_back(Row(*form, r));
        EXPECT_EQ(rows, c.rows) << "kind " << c.kind;
        EXPECT_EQ(form->KnownFormatFiles(), c.known) << "kind " << c.kind;
        // The first row is selected and previewed; without rows nothing is.
        EXPECT_EQ(form->BitBtn1->isEnabled(), !c.rows.empty()) << "kind " << c.kind;
        if (!c.rows.empty()) {
            EXPECT_EQ(LoadedName(), form->ListView9->topLevelItem(0)->text(0).toStdString());
        }
    }
    const auto form = Open(0);
    EXPECT_EQ(form->FormatType(), "normal");
    EXPECT_EQ(form->windowTitle().toStdString(),
              dictionary::Translate("_SelectFormatForm") + " [" + dictionary::Translate("_ActualSummLevel") + ": 1]");
    EXPECT_EQ(form->ListView9->headerItem()->text(0).toStdString(), dictionary::Translate("_Naming"));
    EXPECT_TRUE(form->ListView9->isColumnHidden(editors::TSelectFormatForm::SourceColumn));
}

TEST_F(SelectFormat, MissingFormatFolderLeavesTheBuiltInFormats)
{
    std::filesystem::remove_all(Folder.File("user"));
    app::TOpenList reopened(*Modules);
    ASSERT_TRUE(reopened.OpenListFile(Folder.File("calls.TarvilexList")));
    editors::TSelectFormatForm form(*Modules, reopened);
    form.SetFormatKind(0);
    ASSERT_EQ(form.ListView9->topLevelItemCount(), 2);
    EXPECT_EQ(form.ListView9->topLevelItem(1)->text(0), "alfa");
    EXPECT_TRUE(form.KnownFormatFiles().empty());
}

TEST_F(SelectFormat, EnablingFollowsTheSelection)
{
    struct Case {
        std::initializer_list<int> rows;   // of: Zeta (BI), alfa (BI), Beta (file)
        bool ok, remove, duplicate;
        const char *previewed;             // what the module holds afterwards, "" for nothing shown
    };
    const Case cases[] = {
        {{0, 1}, false, true, false, "Zeta nyomtatás"},
        {{1, 2}, false, true, false, "alfa"},
        {{2}, true, true, true, "Beta"},
        {{1}, true, true, false, "alfa"},
        {{}, false, false, false, ""},
    };
    const auto form = Open(0);
    for (const Case &c : cases) {
        Select(*form, c.rows);
        const std::string what = "rows selected: " + std::to_string(c.rows.size()) + ", first " +
                                 (c.rows.size() ? std::to_string(*c.rows.begin()) : "-");
        EXPECT_EQ(form->BitBtn1->isEnabled(), c.ok) << what;
        EXPECT_EQ(form->ToolButton7->isEnabled(), c.ok) << what;
        EXPECT_EQ(form->ToolButton4->isEnabled(), c.remove) << what;
        EXPECT_EQ(form->ToolButton5->isEnabled(), c.duplicate) << what;
        const bool shown = *c.previewed != '\0';
        EXPECT_EQ(!form->PicturePanel->isHidden(), shown) << what;
        EXPECT_TRUE(form->DrawGrid1->isHidden()) << what;
        if (shown) {
            EXPECT_EQ(LoadedName(), c.previewed) << what;
            EXPECT_EQ(form->StaticText1->text().toStdString(), c.previewed) << what;
        } else {
            EXPECT_TRUE(form->StaticText1->text().isEmpty()) << what;
        }
    }
    // The commands that need no selection come later; they stay off.
    EXPECT_FALSE(form->ToolButton3->isEnabled());
    EXPECT_FALSE(form->ToolButton1->isEnabled());
    EXPECT_FALSE(form->ToolButton2->isEnabled());
}

TEST_F(SelectFormat, OkLoadsTheSelectedFormat)
{
    struct Case { int row; const char *name; const char *width; };
    const Case cases[] = {{0, "Zeta nyomtatás", "2972"}, {2, "Beta", "2102"}};
    for (const Case &c : cases) {
        const auto form = Open(0);
        Select(*form, {c.row});
        // Whatever the module was given since, OK puts the chosen format there.
        Modules->ListFormat.Format.LoadFromText("<listformat name=\"other\" formattype=\"csv\"/>");
        form->BitBtn1->click();
        EXPECT_EQ(form->result(), QDialog::Accepted) << c.name;
        EXPECT_EQ(LoadedName(), c.name);
        EXPECT_EQ(platform::AttributeText(Modules->ListFormat.Root(), "width"), c.width) << c.name;
        EXPECT_EQ(platform::AttributeText(Modules->ListFormat.Root(), "formattype"), "normal") << c.name;
    }
    const auto form = Open(0);
    form->BitBtn2->click();
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

TEST_F(SelectFormat, SortsByTheClickedColumnAndKeepsItAfterRefill)
{
    struct Case { int column; std::vector<std::string> names; };
    const Case cases[] = {
        {0, {"alfa", "Beta", "Zeta nyomtatás"}},   // case does not count
        {1, {"Beta", "Zeta nyomtatás", "alfa"}},   // levels 0, 1, 2
    };
    const auto names = [](const editors::TSelectFormatForm &form) {
        std::vector<std::string> out;
        for (int r = 0; r < form.ListView9->topLevelItemCount(); ++r)
            out.push_back(form.ListView9->topLevelItem(r)->text(0).toStdString());
        return out;
    };
    for (const Case &c : cases) {
        const auto form = Open(0);
        emit form->ListView9->header()->sectionClicked(c.column);
        EXPECT_EQ(names(*form), c.names) << "column " << c.column;
        EXPECT_EQ(form->SortColumn(), c.column);
        form->FillFormatList();
        EXPECT_EQ(names(*form), c.names) << "after refill, column " << c.column;
        // The refill selects and previews the first row of the sorted list.
        EXPECT_EQ(LoadedName(), c.names.front());
        ASSERT_EQ(form->ListView9->selectedItems().size(), 1);
        EXPECT_EQ(form->ListView9->selectedItems().front()->text(0).toStdString(), c.names.front());
    }
}

TEST_F(SelectFormat, RefillListsTheKnownFilesThatStillExist)
{
    const auto form = Open(0);
    ASSERT_EQ(form->ListView9->topLevelItemCount(), 3);
    // A file put into the folder later is not seen; a deleted one goes away.
    testsupport::WriteFile(FormatFolder + "/{3}.XML", kPrintFile);
    form->FillFormatList();
    EXPECT_EQ(form->ListView9->topLevelItemCount(), 3);
    std::filesystem::remove(PrintFile);
    form->FillFormatList();
    EXPECT_EQ(form->ListView9->topLevelItemCount(), 2);
}

TEST_F(SelectFormat, CsvGridShowsTheCellsAsWritten)
{
    const auto form = Open(1);
    ASSERT_FALSE(form->DrawGrid1->isHidden());
    EXPECT_TRUE(form->PicturePanel->isHidden());
    const editors::TFormatGridModel &grid = *form->GridModel;
    // page, pageheader, pageheader2, controlbreak_0, header, item, pagefooter
    // and the first row; the header has the most cells (3) plus the first column.
    ASSERT_EQ(grid.rowCount(), 7);
    ASSERT_EQ(grid.columnCount(), 4);
    const auto text = [&](int row, int column) { return grid.data(grid.index(row, column)).toString().toStdString(); };
    // The list is English (its language 1).
    const std::string today = dictionary::FormatDate(dictionary::Today());
    struct Case { int row, column; std::string shown; };
    const Case cases[] = {
        {0, 0, ""},
        {1, 0, dictionary::Translate("_PageHeader")},
        {1, 2, "Firm name: Próba Kft."},
        {2, 1, "Remark: XXX"},
        {3, 0, "1. " + dictionary::Translate("_Controlbreak")},
        {3, 1, "Cost centre: XXX"},
        {4, 0, dictionary::Translate("_Header")},
        {4, 1, "Extension"},
        {4, 2, ""},                              // invisible
        {4, 3, "Total\npcs. | cost"},            // visible sub-cells on the second line
        {5, 1, "XXX"},
        {5, 2, "Fix"},
        {6, 1, "Hivasok"},
    };
    for (const Case &c : cases) EXPECT_EQ(text(c.row, c.column), c.shown) << c.row << "," << c.column;
    EXPECT_TRUE(grid.data(grid.index(4, 0), Qt::FontRole).value<QFont>().bold());
    EXPECT_FALSE(grid.data(grid.index(4, 1), editors::TFormatGridModel::FormattedRole).toBool());
    // Columns grow to their texts.
    const QFontMetrics metrics(form->DrawGrid1->font());
    EXPECT_GE(form->DrawGrid1->columnWidth(2), metrics.horizontalAdvance("Firm name: Próba Kft.    "));
}

TEST_F(SelectFormat, ExcelGridCarriesTheCellFormatting)
{
    const auto form = Open(2);
    ASSERT_FALSE(form->DrawGrid1->isHidden());
    const editors::TFormatGridModel &grid = *form->GridModel;
    ASSERT_EQ(grid.rowCount(), 2);
    const QModelIndex cell = grid.index(1, 1);   // header, EXTENSION
    EXPECT_EQ(grid.data(cell).toString(), "Extension");
    EXPECT_TRUE(grid.data(cell, editors::TFormatGridModel::FormattedRole).toBool());
    EXPECT_EQ(grid.data(cell, Qt::BackgroundRole).value<QColor>(), QColor(255, 0, 0));   // 255: red in the low byte
    EXPECT_EQ(grid.data(cell, Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    const QFont font = grid.data(cell, Qt::FontRole).value<QFont>();
    EXPECT_EQ(font.family(), "Calibri");
    EXPECT_EQ(font.pointSize(), 11);
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.italic());
    EXPECT_EQ(grid.data(cell, Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignHCenter | Qt::AlignVCenter);
    const editors::TPreviewCell &shown = grid.Cell(1, 1);
    EXPECT_TRUE(shown.Borders[0].Visible);
    EXPECT_EQ(shown.Borders[0].Width, 2);
    EXPECT_FALSE(shown.Borders[1].Visible);
}

TEST_F(SelectFormat, PagePreviewFollowsTheZoom)
{
    const auto form = Open(0);
    Select(*form, {2});   // Beta: A4 portrait, 2102 x 2972
    ASSERT_EQ(int(std::lround(form->screen()->logicalDotsPerInch())), 96);
    // round(2102 * 96 * z / 25400) + 5 and the same for 2972.
    struct Case { int zoom, width, height; };
    const Case cases[] = {{100, 799, 1128}, {50, 402, 567}, {0, 5, 5}};
    for (const Case &c : cases) {
        form->SpinEdit1->setValue(c.zoom);
        EXPECT_EQ(form->Image1->pixmap().size(), QSize(c.width, c.height)) << "zoom " << c.zoom;
    }
}

TEST_F(SelectFormat, HeaderRowIsDoubleWhereSubCellTitlesFollow)
{
    // A detailed list: only a format that folds levels has the second line.
    struct Case { const char *level; bool twice; };
    const Case cases[] = {{"0", false}, {"1", true}};
    for (const Case &c : cases) {
        std::string text = kCsvFile;
        text.replace(text.find("level=\"0\""), 9, std::string("level=\"") + c.level + "\"");
        testsupport::WriteFile(CsvFile, text);
        const auto form = Open(1);
        const int header = 4, item = 5;
        ASSERT_EQ(form->GridModel->BandName(header), "header");
        EXPECT_EQ(form->DrawGrid1->rowHeight(header), (c.twice ? 2 : 1) * form->DrawGrid1->rowHeight(item)) << c.level;
    }
}

TEST_F(SelectFormat, DefaultCsvFormatShowsTheColumnTitles)
{
    // The default format of the open list, saved as a user's format file.
    formats::TListFormatModule &format = Modules->ListFormat;
    format.SetFormatType("csv");
    format.SetListFileName("Hivasok");
    format.ResetLevel();
    format.BuildDefaultFormat(0);
    formats::SetAttribute(format.Root(), "name", "Alap");
    std::filesystem::remove(CsvFile);
    format.SaveToFile(FormatFolder + "/{4}.XML");

    const auto form = Open(1);
    ASSERT_EQ(form->ListView9->topLevelItemCount(), 1);
    EXPECT_EQ(form->ListView9->topLevelItem(0)->text(0), "Alap");
    const editors::TFormatGridModel &grid = *form->GridModel;
    int header = -1;
    for (int row = 0; row < grid.rowCount(); ++row)
        if (grid.BandName(row) == "header") header = row;
    ASSERT_GE(header, 0);
    // A detailed list at level 0: a leading inserted cell, then the columns.
    // The list is English; the first two titles are not in the shipped dictionary.
    const std::string titles[] = {dictionary::Translate("_CostCenter"), dictionary::Translate("_Extension"),
                                  "Duration", "Cost"};
    EXPECT_EQ(grid.data(grid.index(header, 1)).toString(), "");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(grid.data(grid.index(header, i + 2)).toString().toStdString(), titles[i]) << i;
}
