#pragma once
// The main window: heading, records panel with the control-break panel, the
// grid area and the totals boxes, the menus and the status bars. It owns the
// open list and shows it; what a batch job also needs lives in TOpenList.
#include "app/OpenListUnit.h"

#include <QMainWindow>

#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QScrollArea;
class QSplitter;
class QStackedLayout;
class QStatusBar;
class QToolButton;

namespace app {

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
    QWidget *DrawGrid1 = nullptr;
    QGroupBox *GroupBox3 = nullptr;
    QWidget *HeaderControl1 = nullptr;
    QGroupBox *GroupBox4 = nullptr;
    QWidget *HeaderControl2 = nullptr;
    QStatusBar *StatusBar2 = nullptr;
    QLabel *StatusBar2Panels[3] = {};
    QLabel *StatusBar1Panel = nullptr;

    bool Panel2Shown() const;

private slots:
    void OpenMenuClick();

private:
    void CreateMenus();
    void CreatePanels();
    void ShowOpenList();
    void ShowError(const std::string &text);

    TDataModules &Modules;
    TOpenList OpenList;
    std::string LastErrorText;
    QStackedLayout *Panel1Layout = nullptr;
};

}  // namespace app
