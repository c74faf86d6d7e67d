// The main window's record grid, totals headers and control-break panel,
// driven through the real window on small lists written here.
#include "app/ControlBreakPanelUnit.h"
#include "app/DataModulesUnit.h"
#include "app/ListViewUnit.h"
#include "app/TotalsHeaderUnit.h"
#include "platform/FileUnit.h"
#include "tests/listfile/ListFixtures.h"
#include "tests/support/GuiTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class RecordGrid : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::EnsureApplication(); }
    void SetUp() override
    {
        testsupport::UseAsProgramFolder(Folder);
        dictionary::SetLanguageIndex(0);
        dictionary::SetStartupSeparatorsForTesting('.', ',', ':');
        Modules = std::make_unique<app::TDataModules>();
        NewForm();
    }
    void TearDown() override
    {
        Form.reset();
        Modules.reset();
        dictionary::SetLanguageIndex(0);
    }
    void NewForm()
    {
        Form = std::make_unique<app::TListViewForm>(*Modules);
        Form->QuietMessages = true;
        Form->resize(1000, 700);
        Form->show();
    }
    std::string Write(const std::string &name, const fixtures::TListOptions &options = {},
                      const std::vector<fixtures::TCall> &calls = fixtures::SampleCalls())
    {
        fixtures::WriteList(Folder.File(name), options, calls);
        return Folder.File(name);
    }
    std::string Text(int column, int row, int subCell = 0)
    {
        return Form->DrawGrid1->CellText(column, row, subCell).toStdString();
    }
    std::string Status(int panel) { return Form->StatusBar2Panels[panel]->text().toStdString(); }
    app::TLevelGrid &Level(int level) { return *Form->LevelPanels().Grid(level); }
    void Select(int level, int row)
    {
        Level(level).SetRow(row);
        Form->SelectLevelGroup(level);
    }
    testsupport::TTempFolder Folder;
    std::unique_ptr<app::TDataModules> Modules;
    std::unique_ptr<app::TListViewForm> Form;
};

// Sums of the fixture's calls, by the rule in words: over the calls whose
// columns start with the given values (all calls for none).
struct TSums {
    int Piece = 0, Duration = 0;
    double Cost = 0;
};
TSums SumOf(const std::vector<std::string> &prefix, int zone = -1)
{
    TSums sums;
    for (const auto &call : fixtures::SampleCalls()) {
        if (!std::equal(prefix.begin(), prefix.end(), call.Values.begin())) continue;
        if (zone >= 0 && call.Counters.ZoneIndex != zone) continue;
        ++sums.Piece;
        sums.Duration += call.Counters.Duration;
        sums.Cost += call.Counters.Cost;
    }
    return sums;
}

}  // namespace

TEST_F(RecordGrid, DetailViewShowsTheFirstGroupsRecordsAndTotals)
{
    ASSERT_TRUE(Form->OpenListFile(Write("Hivasok.TarvilexList"))) << Form->LastError();
    // Level 0 row 1 is "Pénzügy", level 1 row 1 extension 201: its two calls.
    EXPECT_EQ(Level(0).CellText(0, 1).toStdString(), "Pénzügy");
    EXPECT_EQ(Level(0).RowCount(), 3);
    EXPECT_EQ(Level(1).CellText(0, 1).toStdString(), "201");
    EXPECT_EQ(Level(1).RowCount(), 3);   // 201 and 202 belong to Pénzügy
    EXPECT_EQ(Status(0), "Number of rows: 2");
    EXPECT_EQ(Status(1), "Top row: 1");
    EXPECT_EQ(Status(2), "Current row: 1");
    EXPECT_EQ(Form->DrawGrid1->ColCount(), 4);
    EXPECT_EQ(Form->DrawGrid1->HeaderRowHeight(), 32);
    EXPECT_EQ(Text(2, 0), "Duration");
    const std::vector<std::vector<std::string>> expected = {{"Pénzügy", "201", "0:01:05", "12,50"},
                                                            {"Pénzügy", "201", "0:00:10", "2,25"}};
    for (int row = 1; row <= 2; ++row)
        for (int column = 0; column < 4; ++column)
            EXPECT_EQ(Text(column, row), expected[std::size_t(row - 1)][std::size_t(column)]) << column << "," << row;

    // The DURATION column carries the totals; COST is no PRICE column.
    EXPECT_TRUE(Form->GroupBox4->isVisibleTo(Form.get()));
    const TSums all = SumOf({}), group = SumOf({"Pénzügy", "201"});
    EXPECT_EQ(Form->HeaderControl1->SectionText(2).toStdString(), dictionary::FormatDuration(all.Duration));
    EXPECT_EQ(Form->HeaderControl2->SectionText(2).toStdString(), dictionary::FormatDuration(group.Duration));
    EXPECT_EQ(Form->HeaderControl1->SectionText(2).toStdString(), "1:03:20");
    EXPECT_FALSE(Form->HeaderControl1->HasValue(0));
    EXPECT_FALSE(Form->HeaderControl1->HasValue(3));
}

TEST_F(RecordGrid, SelectingGroupsLevelByLevel)
{
    ASSERT_TRUE(Form->OpenListFile(Write("Hivasok.TarvilexList"))) << Form->LastError();
    struct TStep { int Level, Row; const char *Extension; int Rows; std::vector<std::string> Group; };
    const TStep steps[] = {
        {0, 2, "301", 1, {"Értékesítés", "301"}},
        {0, 1, "201", 2, {"Pénzügy", "201"}},
        {1, 2, "202", 1, {"Pénzügy", "202"}},
    };
    for (const auto &s : steps) {
        Select(s.Level, s.Row);
        EXPECT_EQ(Status(0), "Number of rows: " + std::to_string(s.Rows)) << s.Extension;
        EXPECT_EQ(Text(1, 1), s.Extension);
        EXPECT_EQ(Level(1).CellText(0, Level(1).Row()).toStdString(), s.Extension);
        EXPECT_EQ(Form->HeaderControl2->SectionText(2).toStdString(),
                  dictionary::FormatDuration(SumOf(s.Group).Duration)) << s.Extension;
    }
    // A key press in a level grid selects as a click does.
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QCoreApplication::sendEvent(&Level(1), &up);
    EXPECT_EQ(Level(1).Row(), 1);
    EXPECT_EQ(Text(1, 1), "201");
}

TEST_F(RecordGrid, LevelZeroSelectionStartsLevelOneAtItsFirstMember)
{
    ASSERT_TRUE(Form->OpenListFile(Write("Hivasok.TarvilexList"))) << Form->LastError();
    Select(1, 2);
    ASSERT_EQ(Text(1, 1), "202");
    Select(0, 1);
    EXPECT_EQ(Level(1).Row(), 1);
    EXPECT_EQ(Text(1, 1), "201");
    EXPECT_EQ(Status(0), "Number of rows: 2");
}

TEST_F(RecordGrid, ScrollingALevelGridKeepsTheControlBreakTotal)
{
    ASSERT_TRUE(Form->OpenListFile(Write("Hivasok.TarvilexList"))) << Form->LastError();
    Select(0, 2);
    const std::vector<std::uint8_t> total = Form->List().ControlBreakTotal;
    const QString shown = Form->HeaderControl2->SectionText(2);
    // Painting and reading other rows of the grids moves the display read set.
    Level(0).SetTopRow(1);
    (void)Level(0).grab();
    (void)Level(0).CellText(0, 1);
    (void)Level(1).grab();
    EXPECT_EQ(Form->List().ControlBreakTotal, total);
    EXPECT_EQ(Form->HeaderControl2->SectionText(2), shown);
    EXPECT_EQ(Form->SelectedGroup(0).Entry, 2);
}

TEST_F(RecordGrid, SummarizeToDepthZeroAndItemizeBack)
{
    ASSERT_TRUE(Form->OpenListFile(Write("Hivasok.TarvilexList"))) << Form->LastError();
    EXPECT_TRUE(Form->SummMenu->isEnabled());
    EXPECT_FALSE(Form->ItemizeMenu->isEnabled());

    // Depth 1: the extensions of "Pénzügy" with EXTENSION + two zones + total.
    Form->SummMenu->trigger();
    EXPECT_EQ(Form->List().ShownDepth, 1);
    EXPECT_EQ(Form->DrawGrid1->ColCount(), 4);
    EXPECT_EQ(Form->DrawGrid1->HeaderRowHeight(), 48);
    EXPECT_TRUE(Form->ItemizeMenu->isEnabled());
    EXPECT_TRUE(Form->SubFieldsMenu->menuAction()->isVisible());
    EXPECT_TRUE(Form->GroupBox4->isVisibleTo(Form.get()));
    EXPECT_EQ(Status(0), "Number of rows: 2");
    EXPECT_EQ(Text(0, 1), "201");
    EXPECT_EQ(Text(0, 2), "202");
    EXPECT_EQ(Text(1, 0, -1), "Local");
    EXPECT_EQ(Text(3, 0, -1), "Total");
    EXPECT_EQ(Text(3, 0, 0), "pcs.");
    EXPECT_EQ(Text(3, 0, 1), "cost");
    EXPECT_EQ(Text(3, 1, 0), std::to_string(SumOf({"Pénzügy", "201"}).Piece));
    EXPECT_EQ(Text(3, 1, 1), "14,75");
    EXPECT_EQ(Text(1, 2, 0), "0");       // 202 called in zone 1 only
    EXPECT_EQ(Text(2, 2, 1), "30,00");
    // The control-break total is that of "Pénzügy", the group shown.
    EXPECT_EQ(Form->HeaderControl2->SectionText(3, 0).toStdString(), std::to_string(SumOf({"Pénzügy"}).Piece));

    // Depth 0: every group of level 0; no control-break total any more.
    Form->SummMenu->trigger();
    EXPECT_EQ(Form->List().ShownDepth, 0);
    EXPECT_FALSE(Form->SummMenu->isEnabled());
    EXPECT_FALSE(Form->GroupBox4->isVisibleTo(Form.get()));
    EXPECT_EQ(Status(0), "Number of rows: 2");
    EXPECT_EQ(Text(0, 1), "Pénzügy");
    EXPECT_EQ(Text(0, 2), "Értékesítés");
    for (int zone = 0; zone < 2; ++zone)
        EXPECT_EQ(Text(1 + zone, 1, 0), std::to_string(SumOf({"Pénzügy"}, zone).Piece)) << zone;
    EXPECT_EQ(Text(3, 2, 1), "100,75");
    // The list total follows the zone columns.
    EXPECT_EQ(Form->HeaderControl1->SectionText(3, 0).toStdString(), std::to_string(SumOf({}).Piece));
    EXPECT_EQ(Form->HeaderControl1->SectionText(3, 1).toStdString(), "145,50");
    EXPECT_FALSE(Form->HeaderControl1->HasValue(0));

    // Back to the detail view: two-row header, sub-fields hidden, first groups.
    Select(0, 2);
    Form->ItemizeMenu->trigger();
    EXPECT_EQ(Form->List().ShownDepth, 1);
    EXPECT_EQ(Level(0).Row(), 1);
    Form->ItemizeMenu->trigger();
    EXPECT_EQ(Form->List().ShownDepth, 2);
    EXPECT_FALSE(Form->ItemizeMenu->isEnabled());
    EXPECT_TRUE(Form->SummMenu->isEnabled());
    EXPECT_EQ(Form->DrawGrid1->HeaderRowHeight(), 32);
    EXPECT_FALSE(Form->SubFieldsMenu->menuAction()->isVisible());
    EXPECT_EQ(Form->DrawGrid1->ColCount(), 4);
    EXPECT_EQ(Text(1, 1), "201");
    EXPECT_EQ(Status(0), "Number of rows: 2");
}

TEST_F(RecordGrid, SubFieldsAndAlternateColours)
{
    fixtures::TListOptions summary;
    summary.Kind = "summary";
    summary.Levels = 0;
    ASSERT_TRUE(Form->OpenListFile(Write("Osszesito.TarvilexList", summary))) << Form->LastError();
    // Keys COSTCENTER, EXTENSION; zones 0, 1; total. Row 1 is 201.
    ASSERT_EQ(Form->DrawGrid1->ColCount(), 5);
    EXPECT_EQ(Text(1, 1), "201");
    struct TCase { QAction *Entry; std::vector<std::string> Total; };
    const TCase cases[] = {
        {Form->DurationMenu, {"2", "0:01:15", "14,75"}},
        {Form->CounterMenu, {"0:01:15", "14,75"}},
        {Form->CostMenu, {"0:01:15"}},
        {Form->DurationMenu, {}},
    };
    for (const auto &c : cases) {
        c.Entry->trigger();
        ASSERT_EQ(Form->ViewState().SubFields.size(), c.Total.size()) << c.Entry->objectName().toStdString();
        for (std::size_t i = 0; i < c.Total.size(); ++i) EXPECT_EQ(Text(4, 1, int(i)), c.Total[i]);
        EXPECT_EQ(Text(4, 1, int(c.Total.size())), "");
    }
    // With no sub-field the zone cells stay empty and keep their width: the
    // click set 20 pixels, the header's initial 50 still holds.
    (void)Form->DrawGrid1->grab();
    EXPECT_EQ(Form->DrawGrid1->ColWidth(4), 50);
    (void)Form->HeaderControl1->grab();
    (void)Form->DrawGrid1->grab();
    EXPECT_EQ(Form->DrawGrid1->ColWidth(4), 50);
    EXPECT_EQ(Form->HeaderControl1->SectionText(4).toStdString(), "");

    // Alternate colours: the selected row 1 shows light grey, not the selection.
    const QRect cell = Form->DrawGrid1->CellRect(0, 1);
    const QPoint probe(cell.left() + 1, cell.top() + 1);
    const QColor highlight = Form->DrawGrid1->palette().color(QPalette::Highlight);
    EXPECT_EQ(Form->DrawGrid1->viewport()->grab().toImage().pixelColor(probe), highlight);
    Form->AlternateColorsMenu->trigger();
    EXPECT_EQ(Form->DrawGrid1->viewport()->grab().toImage().pixelColor(probe), QColor(0xE0, 0xE0, 0xE0));
    const QRect second = Form->DrawGrid1->CellRect(0, 2);
    EXPECT_EQ(Form->DrawGrid1->viewport()->grab().toImage().pixelColor(second.left() + 1, second.top() + 1),
              QColor(0xFF, 0xFF, 0xFF));
    Form->AlternateColorsMenu->trigger();
    EXPECT_EQ(Form->DrawGrid1->viewport()->grab().toImage().pixelColor(probe), highlight);
}

TEST_F(RecordGrid, AutomaticWidthsOnlyGrow)
{
    ASSERT_TRUE(Form->OpenListFile(Write("Hivasok.TarvilexList"))) << Form->LastError();
    ASSERT_TRUE(Form->SetColumnWidthMenu->isChecked());
    Form->DrawGrid1->SetColWidth(3, 300);
    (void)Form->DrawGrid1->grab();
    EXPECT_EQ(Form->DrawGrid1->ColWidth(3), 300);
    // Switching the option on resets to 10 pixels; drawing regrows to the texts.
    Form->SetColumnWidthMenu->trigger();
    EXPECT_FALSE(Form->ViewState().AutomaticWidths);
    Form->SetColumnWidthMenu->trigger();
    ASSERT_TRUE(Form->ViewState().AutomaticWidths);
    EXPECT_EQ(Form->DrawGrid1->ColWidth(3), 10);
    (void)Form->DrawGrid1->grab();
    for (int column = 0; column < 4; ++column) {
        EXPECT_GE(Form->DrawGrid1->ColWidth(column), Form->DrawGrid1->MeasuredWidth(column, 1)) << column;
        EXPECT_GE(Form->DrawGrid1->ColWidth(column), Form->DrawGrid1->MeasuredWidth(column, 0)) << column;
        EXPECT_LT(Form->DrawGrid1->ColWidth(column), 300) << column;
    }
    // The totals header sections follow the columns, one pixel wider.
    EXPECT_EQ(Form->HeaderControl1->SectionWidth(2), Form->DrawGrid1->ColWidth(2) + 1);
}

TEST_F(RecordGrid, ListWithoutLevelsHasNoPanel)
{
    fixtures::TListOptions flat;
    flat.Levels = 0;
    ASSERT_TRUE(Form->OpenListFile(Write("Lapos.TarvilexList", flat))) << Form->LastError();
    EXPECT_TRUE(Form->GroupBox1->isHidden());
    EXPECT_FALSE(Form->SummMenu->isEnabled());
    EXPECT_FALSE(Form->GroupBox4->isVisibleTo(Form.get()));
    EXPECT_EQ(Status(0), "Number of rows: 4");
    EXPECT_EQ(Text(1, 4), "301");
    Form->SummMenu->trigger();   // disabled: nothing happens
    EXPECT_EQ(Form->List().ShownDepth, 0);
    EXPECT_EQ(Form->DrawGrid1->ColCount(), 4);
}

TEST_F(RecordGrid, PanelCloseButtonAndMenu)
{
    ASSERT_TRUE(Form->OpenListFile(Write("Hivasok.TarvilexList"))) << Form->LastError();
    EXPECT_FALSE(Form->ShowControlbreaksMenu->isEnabled());
    Form->SpeedButton1->click();
    EXPECT_TRUE(Form->GroupBox1->isHidden());
    EXPECT_TRUE(Form->ShowControlbreaksMenu->isEnabled());
    Form->ShowControlbreaksMenu->trigger();
    EXPECT_FALSE(Form->GroupBox1->isHidden());
    EXPECT_FALSE(Form->ShowControlbreaksMenu->isEnabled());
}

TEST_F(RecordGrid, ScreenFormatIsWrittenAndRestored)
{
    fixtures::TListOptions options;
    options.UserDir = Folder.Path() + "users";
    const std::string formats = Folder.File("users/Formats.Dir/Hivasok");
    std::filesystem::create_directories(formats);
    const std::string list = Write("Hivasok.TarvilexList", options);
    ASSERT_TRUE(Form->OpenListFile(list)) << Form->LastError();
    EXPECT_TRUE(Form->SetColumnWidthMenu->isChecked());   // no depth element yet
    Form->DrawGrid1->SetColWidth(1, 123);
    Form->StoreColumnWidths();
    Form->SetControlBreakPanelWidth(300);
    Form->StorePanelWidth();
    Form->LevelPanels().Grid(1)->SetColWidth(0, 77);
    Form->StoreLevelColumnWidths(1);
    Form->SummMenu->trigger();             // creates "_1" from the current widths
    Form.reset();
    ASSERT_TRUE(platform::FileExists(formats + "/Screen.XML"));
    platform::TXmlDocument saved;
    saved.LoadFromFile(formats + "/Screen.XML");
    EXPECT_EQ(platform::AttributeText(saved.Root().child("_2").child("column1"), "width"), "123");
    EXPECT_EQ(platform::AttributeText(saved.Root().child("_2"), "controlbreakwidth"), "300");
    EXPECT_EQ(platform::AttributeText(saved.Root().child("_2").child("controlbreak1").child("column0"), "width"), "77");
    EXPECT_TRUE(saved.Root().child("_1"));

    NewForm();
    ASSERT_TRUE(Form->OpenListFile(list)) << Form->LastError();
    EXPECT_FALSE(Form->SetColumnWidthMenu->isChecked());
    EXPECT_EQ(Form->DrawGrid1->ColWidth(1), 123);
    EXPECT_EQ(Form->ControlBreakPanelWidth(), 300);
    EXPECT_EQ(Form->LevelPanels().Grid(1)->ColWidth(0), 77);
}

TEST_F(RecordGrid, NoScreenFormatWithoutTheFormatFolder)
{
    fixtures::TListOptions options;
    options.UserDir = Folder.Path() + "nobody";
    ASSERT_TRUE(Form->OpenListFile(Write("Hivasok.TarvilexList", options))) << Form->LastError();
    Form->DrawGrid1->SetColWidth(1, 123);
    Form->StoreColumnWidths();
    Form.reset();
    int screens = 0;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(Folder.Path()))
        screens += entry.path().filename() == "Screen.XML";
    EXPECT_EQ(screens, 0);
}

TEST_F(RecordGrid, BundledSamples)
{
    const std::string samples = std::string(TARVILEX_BIN_DIR) + "/samples/";
    ASSERT_TRUE(Form->OpenListFile(samples + "Detailed.TarvilexList")) << Form->LastError();
    EXPECT_EQ(Form->StatusBar1Panel->text().toStdString(), "Tételrekordok száma: 2000");
    // The list carries its screen format for the full depth.
    EXPECT_EQ(Form->DrawGrid1->ColWidth(3), 120);
    EXPECT_EQ(Form->ControlBreakPanelWidth(), 330);
    EXPECT_EQ(Form->DrawGrid1->CellText(3, 0).toStdString(), "Név");
    EXPECT_EQ(Level(0).CellText(0, 1).toStdString(), "Értékesítés");

    ASSERT_TRUE(Form->OpenListFile(samples + "Statistics.TarvilexList")) << Form->LastError();
    // Class column, then the enabled zones in slot order and the total.
    ASSERT_EQ(Form->DrawGrid1->ColCount(), 5);
    EXPECT_EQ(Text(0, 0), "Hívásosztály");
    EXPECT_EQ(Text(0, 3), "Bejövő");
    EXPECT_EQ(Text(1, 0, -1), "Helyi");
    EXPECT_EQ(Text(4, 0, -1), "Összesen");
    EXPECT_EQ(Form->HeaderControl1->SectionText(4, 0).toStdString(), "1200");   // every call of the sample
    int piece = 0;
    for (int row = 1; row < Form->DrawGrid1->RowCount(); ++row) piece += std::stoi(Text(4, row, 0));
    EXPECT_EQ(piece, 1200);
}
