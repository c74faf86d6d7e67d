#include "app/ListViewUnit.h"

#include "app/DataModulesUnit.h"
#include "dictionary/TranslateWindowUnit.h"
#include "model/TarvilexDataModuleUnit.h"
#include "platform/FileUnit.h"

#include <QAction>
#include <QFileDialog>
#include <QGuiApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedLayout>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace app {

namespace {

QString Q(const std::string &text) { return QString::fromStdString(text); }
QString Tr(const char *key) { return Q(dictionary::Translate(key)); }

QFont BoldFont(int pixelHeight)
{
    QFont font("Tahoma");
    font.setBold(true);
    font.setPixelSize(pixelHeight);
    return font;
}

}  // namespace

TListViewForm::TListViewForm(TDataModules &modules, QWidget *parent)
    : QMainWindow(parent), Modules(modules), OpenList(modules)
{
    setObjectName("ListViewForm");
    setWindowTitle("_ListViewForm");
    QFont font("Tahoma");
    font.setPointSize(8);
    setFont(font);
    resize(792, 566);
    CreateMenus();
    CreatePanels();
    dictionary::TranslateWindow(this);
}

TListViewForm::~TListViewForm()
{
    try {
        OpenList.SaveScreenFormat();
    } catch (const std::exception &e) {
        try {
            model::WriteLogLine(std::string("ListViewUnit: Screen format not saved: ") + e.what());
        } catch (...) {
        }
    }
}

void TListViewForm::CreateMenus()
{
    auto action = [this](QMenu *menu, const char *name, const char *caption) {
        QAction *a = menu->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    FileMenu = menuBar()->addMenu("_FileMenu");
    FileMenu->setObjectName("FileMenu");
    OpenMenu = action(FileMenu, "OpenMenu", "_Open");
    connect(OpenMenu, &QAction::triggered, this, &TListViewForm::OpenMenuClick);
    FileMenu->addSeparator();
    PrintingMenu = action(FileMenu, "PrintingMenu", "_Printing");
    PrintingMenu->setVisible(false);
    FileMenu->addSeparator();
    WriteOutMenu = FileMenu->addMenu("_WriteOut");
    WriteOutMenu->setObjectName("WriteOutMenu");
    WriteOutMenu->menuAction()->setVisible(false);
    // PDF output comes from the built-in engine, so its entry always stays.
    PDFMenu = action(WriteOutMenu, "PDFMenu", "_PDFFormat");
    CSVMenu = action(WriteOutMenu, "CSVMenu", "_CSVFormatFile");
    ExcelMenu = action(WriteOutMenu, "ExcelMenu", "_ExcelFormatFile");
    ExcelMenu->setVisible(false);

    ViewMenu = menuBar()->addMenu("_View");
    ViewMenu->setObjectName("ViewMenu");
    ShowControlbreaksMenu = action(ViewMenu, "ShowControlbreaksMenu", "_ShowControlbreaks");
    ShowControlbreaksMenu->setEnabled(false);
    AlternateColorsMenu = action(ViewMenu, "AlternateColorsMenu", "_AlternateColors");
    AlternateColorsMenu->setCheckable(true);
    ViewMenu->addSeparator();
    SummMenu = action(ViewMenu, "SummMenu", "_Summarize");
    ItemizeMenu = action(ViewMenu, "ItemizeMenu", "_Itemize");
    ItemizeMenu->setEnabled(false);
    ViewMenu->addSeparator();
    ViewListInfoMenu = action(ViewMenu, "ViewListInfoMenu", "_ShowListInfo");
    ConditionsMenu = action(ViewMenu, "ConditionsMenu", "_ListingConditions");
    ViewMenu->addSeparator();
    SetColumnWidthMenu = action(ViewMenu, "SetColumnWidthMenu", "_SetColumnWidths");
    SetColumnWidthMenu->setCheckable(true);
    SetColumnWidthMenu->setChecked(true);
    ViewMenu->addSeparator();
    SubFieldsMenu = ViewMenu->addMenu("_SummSubFields");
    SubFieldsMenu->setObjectName("SubFieldsMenu");
    struct TSubField { QAction **Entry; const char *Name; const char *Caption; bool Ticked; };
    const TSubField subFields[] = {
        {&CounterMenu, "CounterMenu", "_Piece", true},
        {&ImpulseMenu, "ImpulseMenu", "_Impulse", false},
        {&DurationMenu, "DurationMenu", "_Duration", false},
        {&CostMenu, "CostMenu", "_Cost", true},
        {&ReadInCostMenu, "ReadInCostMenu", "_ReadInCost", false},
        {&CalcDurMenu, "CalcDurMenu", "_CalcDur", false},
        {&RingTimeMenu, "RingTimeMenu", "_RingTime", false},
    };
    for (const auto &s : subFields) {
        *s.Entry = action(SubFieldsMenu, s.Name, s.Caption);
        (*s.Entry)->setCheckable(true);
        (*s.Entry)->setChecked(s.Ticked);
    }
}

void TListViewForm::CreatePanels()
{
    auto *central = new QWidget(this);
    auto *centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);

    Panel6 = new QLabel(central);
    Panel6->setObjectName("Panel6");
    Panel6->setFixedHeight(41);
    Panel6->setAlignment(Qt::AlignCenter);
    Panel6->setFont(BoldFont(21));
    Panel6->setFrameShape(QFrame::StyledPanel);
    centralLayout->addWidget(Panel6);

    Panel1 = new QWidget(central);
    Panel1->setObjectName("Panel1");
    Panel1Layout = new QStackedLayout(Panel1);
    EmptyListLabel = new QLabel("_EmptyList", Panel1);
    EmptyListLabel->setObjectName("EmptyListLabel");
    EmptyListLabel->setAlignment(Qt::AlignCenter);
    EmptyListLabel->setFont(BoldFont(21));
    Panel1Layout->addWidget(EmptyListLabel);

    Panel2 = new QSplitter(Qt::Horizontal, Panel1);
    Panel2->setObjectName("Panel2");
    Panel2->setHandleWidth(3);
    Panel1Layout->addWidget(Panel2);

    GroupBox1 = new QGroupBox("_Controlbreaks", Panel2);
    GroupBox1->setObjectName("GroupBox1");
    auto *breakLayout = new QVBoxLayout(GroupBox1);
    breakLayout->setContentsMargins(2, 2, 2, 2);
    auto *strip = new QHBoxLayout;
    strip->addStretch();
    SpeedButton1 = new QToolButton(GroupBox1);
    SpeedButton1->setObjectName("SpeedButton1");
    SpeedButton1->setText("x");
    SpeedButton1->setAutoRaise(true);
    strip->addWidget(SpeedButton1);
    breakLayout->addLayout(strip);
    ScrollBox1 = new QScrollArea(GroupBox1);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setWidgetResizable(true);
    Panel4 = new QWidget;
    Panel4->setObjectName("Panel4");
    ScrollBox1->setWidget(Panel4);
    breakLayout->addWidget(ScrollBox1);
    Panel2->addWidget(GroupBox1);

    GroupBox2 = new QGroupBox("_RowsOfList", Panel2);
    GroupBox2->setObjectName("GroupBox2");
    auto *rowsLayout = new QVBoxLayout(GroupBox2);
    rowsLayout->setContentsMargins(2, 2, 2, 2);
    DrawGrid1 = new QWidget(GroupBox2);
    DrawGrid1->setObjectName("DrawGrid1");
    rowsLayout->addWidget(DrawGrid1, 1);
    auto totalsBox = [this](const char *name, const char *caption, const char *headerName, QWidget **header) {
        auto *box = new QGroupBox(caption, GroupBox2);
        box->setObjectName(name);
        box->setFixedHeight(38);
        auto *layout = new QVBoxLayout(box);
        layout->setContentsMargins(2, 0, 2, 2);
        *header = new QWidget(box);
        (*header)->setObjectName(headerName);
        layout->addWidget(*header);
        return box;
    };
    GroupBox4 = totalsBox("GroupBox4", "_ControlBreakTotal", "HeaderControl2", &HeaderControl2);
    GroupBox4->setVisible(false);
    rowsLayout->addWidget(GroupBox4);
    GroupBox3 = totalsBox("GroupBox3", "_ListTotal", "HeaderControl1", &HeaderControl1);
    rowsLayout->addWidget(GroupBox3);
    StatusBar2 = new QStatusBar(GroupBox2);
    StatusBar2->setObjectName("StatusBar2");
    StatusBar2->setSizeGripEnabled(false);
    for (auto &panel : StatusBar2Panels) {
        panel = new QLabel(StatusBar2);
        panel->setFixedWidth(200);
        StatusBar2->addWidget(panel);
    }
    rowsLayout->addWidget(StatusBar2);
    Panel2->addWidget(GroupBox2);
    Panel2->setSizes({249, 543});
    Panel2->setStretchFactor(1, 1);
    centralLayout->addWidget(Panel1, 1);
    setCentralWidget(central);

    StatusBar1Panel = new QLabel(statusBar());
    StatusBar1Panel->setObjectName("StatusBar1Panel");
    StatusBar1Panel->setMinimumWidth(500);
    statusBar()->setObjectName("StatusBar1");
    statusBar()->addWidget(StatusBar1Panel);
}

bool TListViewForm::Panel2Shown() const { return Panel1Layout->currentWidget() == Panel2; }

void TListViewForm::ShowOnWorkArea()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) setGeometry(screen->availableGeometry());
    show();
    raise();
    activateWindow();
}

bool TListViewForm::OpenListFile(const std::string &path)
{
    try {
        if (!OpenList.OpenListFile(path)) return true;
    } catch (const std::exception &e) {
        LastErrorText = e.what();
        try {
            model::WriteLogLine(LastErrorText);
        } catch (...) {
        }
        return false;
    }
    LastErrorText.clear();
    ShowOpenList();
    return true;
}

void TListViewForm::ShowOpenList()
{
    const TOpenList &list = OpenList;
    // The window speaks the language of the list it shows.
    dictionary::TranslateWindow(this);
    setWindowTitle(Tr("_ListViewForm") + " - [" + Q(platform::ExtractFileName(list.FileName)) + "]");
    Panel6->setText(Q(list.ListTitle));
    StatusBar1Panel->setText(Tr("_NumberOfItemRecords") + ": " + QString::number(list.Header.RecordCount));
    if (!list.HasRecords()) {
        Panel1Layout->setCurrentWidget(EmptyListLabel);
        WriteOutMenu->menuAction()->setVisible(false);
        PrintingMenu->setVisible(false);
        return;
    }
    WriteOutMenu->menuAction()->setVisible(true);
    PrintingMenu->setVisible(!QPrinterInfo::availablePrinters().isEmpty());
    SubFieldsMenu->menuAction()->setVisible(!list.IsDetailed());
    const bool hasLevels = list.LevelCount() > 0;
    GroupBox1->setVisible(hasLevels);
    ShowControlbreaksMenu->setVisible(hasLevels);
    SummMenu->setEnabled(hasLevels);
    Panel1Layout->setCurrentWidget(Panel2);
}

void TListViewForm::ShowError(const std::string &text)
{
    if (QuietMessages) return;
    QMessageBox::critical(this, Tr("_Error"), Q(text));
}

void TListViewForm::OpenChosenFile(const std::string &path)
{
    if (!platform::FileExists(path) || platform::ExtractFileExt(path) != ".TarvilexList") {
        LastErrorText = dictionary::Translate("_InvalidFile");
        if (!QuietMessages) QMessageBox::warning(this, windowTitle(), Q(LastErrorText));
        return;
    }
    GroupBox4->setVisible(false);
    if (!OpenListFile(path)) ShowError(dictionary::Translate("_CannotOpenList") + "\n\n" + LastErrorText);
}

void TListViewForm::OpenMenuClick()
{
    const QString chosen = QFileDialog::getOpenFileName(this, Tr("_Open"), QString(),
                                                        Tr("_TarvilexLisFile") + " (*.TarvilexList)");
    if (!chosen.isEmpty()) OpenChosenFile(chosen.toStdString());
}

}  // namespace app
