#pragma once
// The main window: heading, records panel with the control-break panel, the
// grid area and the totals boxes, the menus and the status bars. It owns the
// open list and shows it; what a batch job also needs lives in TOpenList.
#include "app/ListOutputUnit.h"
#include "app/OpenListUnit.h"
#include "app/RecordGridUnit.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QScrollArea;
class QSplitter;
class QStackedLayout;
class QStatusBar;
class QToolButton;

namespace output {
class TCSVThread;
}

namespace app {

class TControlBreakPanel;
class TTotalsHeader;
struct TDataModules;

class TListViewForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TListViewForm(TDataModules &modules, QWidget *parent = nullptr);
    ~TListViewForm() override;

    // Opens a list and shows it. A list that cannot be opened leaves the
    // window as it was; the reason is logged and kept in LastError.
    bool OpenListFile(const std::string &path);
    // The Open command's check of a chosen file: exists and ends exactly in
    // ".TarvilexList"; otherwise "_InvalidFile" is shown.
    void OpenChosenFile(const std::string &path);
    // Places the window on the desktop work area and shows it.
    void ShowOnWorkArea();

    TOpenList &List() { return OpenList; }
    const std::string &LastError() const { return LastErrorText; }
    // Message boxes are not shown while set (tests, batch jobs); the texts
    // still reach the log and LastError.
    bool QuietMessages = false;

    // Menu entries and panels, by their designer names.
    QMenu *FileMenu = nullptr;
    QAction *OpenMenu = nullptr;
    QAction *PrintingMenu = nullptr;
    QMenu *WriteOutMenu = nullptr;
    QAction *PDFMenu = nullptr;
    QAction *CSVMenu = nullptr;
    QAction *ExcelMenu = nullptr;
    QMenu *ViewMenu = nullptr;
    QAction *ShowControlbreaksMenu = nullptr;
    QAction *AlternateColorsMenu = nullptr;
    QAction *SummMenu = nullptr;
    QAction *ItemizeMenu = nullptr;
    QAction *ViewListInfoMenu = nullptr;
    QAction *ConditionsMenu = nullptr;
    QAction *SetColumnWidthMenu = nullptr;
    QMenu *SubFieldsMenu = nullptr;
    QAction *CounterMenu = nullptr, *ImpulseMenu = nullptr, *DurationMenu = nullptr, *CostMenu = nullptr,
            *ReadInCostMenu = nullptr, *CalcDurMenu = nullptr, *RingTimeMenu = nullptr;

    QLabel *Panel6 = nullptr;          // heading: the list title
    QWidget *Panel1 = nullptr;
    QLabel *EmptyListLabel = nullptr;  // Panel1's own caption
    QSplitter *Panel2 = nullptr;       // records panel
    QGroupBox *GroupBox1 = nullptr;    // control-break panel
    QToolButton *SpeedButton1 = nullptr;
    QScrollArea *ScrollBox1 = nullptr;
    QWidget *Panel4 = nullptr;
    QGroupBox *GroupBox2 = nullptr;
    TRecordGrid *DrawGrid1 = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    TTotalsHeader *HeaderControl1 = nullptr;
    QGroupBox *GroupBox4 = nullptr;
    TTotalsHeader *HeaderControl2 = nullptr;
    QStatusBar *StatusBar2 = nullptr;
    QLabel *StatusBar2Panels[3] = {};
    QLabel *StatusBar1Panel = nullptr;

    bool Panel2Shown() const;

    // The record grid, the totals headers and the control-break panel.
    void ShowRecordRange(std::int64_t first, std::int64_t last);
    void BuildControlBreakPanel();
    void SelectLevelGroup(int level);
    void SelectFirstGroups();                // row 1 of every level
    void SetShownDepth(int depth);
    TControlBreakPanel &LevelPanels() { return *ControlBreakPanel; }
    const TViewState &ViewState() const { return View; }
    // The group last selected at a level: its member range and counters.
    struct TSelectedGroup {
        std::int64_t Entry = 0;      // 1-based within the level
        std::int32_t First = 1, Last = 0;
        std::vector<std::uint8_t> Counters;
    };
    const TSelectedGroup &SelectedGroup(int level) const { return Selected.at(std::size_t(level)); }
    int ControlBreakPanelWidth() const { return PanelWidth; }
    void SetControlBreakPanelWidth(int width);

    // The screen format of the shown depth.
    void ApplyScreenFormat();
    void StoreColumnWidths();
    void StoreLevelHeights();
    void StorePanelWidth();
    void StoreLevelColumnWidths(int level);

    void SummMenuClick();
    void ItemizeMenuClick();
    void ShowControlbreaksMenuClick();
    void SpeedButton1Click();
    void SetColumnWidthMenuClick();
    void AlternateColorsMenuClick();
    void SubFieldMenuClick();

    // The View menu's descriptions of the list.
    void ViewListInfoMenuClick();
    void ConditionsMenuClick();
    // "_CSVFormatFile": choose a CSV format, then a file, then write it.
    void CSVMenuClick();
    // Writes the open list with the current format into target on the CSV
    // thread; OutputFinished follows on the main thread. While it runs the
    // outputs and the Open command are disabled, since opening another list
    // would pull the records from under the writer.
    void StartCsvOutput(const std::string &target);
    bool OutputRunning() const { return bool(CsvThread); }
    // The completion message of the last output (or its error).
    const std::string &LastMessage() const { return LastMessageText; }

signals:
    void OutputFinished();

private slots:
    void OpenMenuClick();

private:
    void CreateMenus();
    void CreatePanels();
    void ConnectViews();
    void ShowOpenList();
    void ShowError(const std::string &text);
    void RebuildSubFields();
    void RebuildHeaders();
    void FitHeaderSections();
    void RefreshRowStatus();
    void FitLevelContainer();

    TViewState View;
    TControlBreakPanel *ControlBreakPanel = nullptr;
    std::vector<TSelectedGroup> Selected;
    int PanelWidth = 249;
    std::vector<QAction *> SubFieldEntries;

    void CsvOutputFinished();
    void SetOutputMenusEnabled(bool enabled);

    TDataModules &Modules;
    TOpenList OpenList;
    TListValues OutputValues;
    formats::TOutputPlan OutputPlan;
    std::unique_ptr<output::TCSVThread> CsvThread;
    std::string LastErrorText;
    std::string LastMessageText;
    QStackedLayout *Panel1Layout = nullptr;
};

}  // namespace app
