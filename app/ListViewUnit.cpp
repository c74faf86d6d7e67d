#include "app/ListViewUnit.h"

#include "app/ControlBreakPanelUnit.h"
#include "app/DataModulesUnit.h"
#include "app/ListCommandsUnit.h"
#include "editors/SelectFormatUnit.h"
#include "output/CSVUnit.h"
#include "app/ScreenFormatUnit.h"
#include "app/TotalsHeaderUnit.h"
#include "dictionary/TranslateWindowUnit.h"
#include "model/TarvilexDataModuleUnit.h"
#include "platform/FileUnit.h"

#include <QAction>
#include <QApplication>
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

#include <filesystem>

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
    : QMainWindow(parent), Modules(modules), OpenList(modules), OutputValues(OpenList, modules)
{
    setObjectName("ListViewForm");
    setWindowTitle("_ListViewForm");
    QFont font("Tahoma");
    font.setPointSize(8);
    setFont(font);
    resize(792, 566);
    CreateMenus();
    CreatePanels();
    ConnectViews();
    dictionary::TranslateWindow(this);
}

TListViewForm::~TListViewForm()
{
    if (CsvThread) CsvThread->wait();
    try {
        OpenList.SaveScreenFormat();
    } catch (const std::exception &e) {
        model::WriteLogLineQuietly(std::string("ListViewUnit: Screen format not saved: ") + e.what());
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
    connect(CSVMenu, &QAction::triggered, this, &TListViewForm::CSVMenuClick);
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
    connect(ViewListInfoMenu, &QAction::triggered, this, &TListViewForm::ViewListInfoMenuClick);
    connect(ConditionsMenu, &QAction::triggered, this, &TListViewForm::ConditionsMenuClick);
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
        SubFieldEntries.push_back(*s.Entry);
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
    ControlBreakPanel = new TControlBreakPanel(Panel4, this);
    ScrollBox1->setWidget(Panel4);
    breakLayout->addWidget(ScrollBox1);
    Panel2->addWidget(GroupBox1);

    GroupBox2 = new QGroupBox("_RowsOfList", Panel2);
    GroupBox2->setObjectName("GroupBox2");
    auto *rowsLayout = new QVBoxLayout(GroupBox2);
    rowsLayout->setContentsMargins(2, 2, 2, 2);
    DrawGrid1 = new TRecordGrid(OpenList, Modules, View, GroupBox2);
    DrawGrid1->setObjectName("DrawGrid1");
    rowsLayout->addWidget(DrawGrid1, 1);
    auto totalsBox = [this](const char *name, const char *caption, const char *headerName,
                            TTotalsHeader::TSource source, TTotalsHeader **header) {
        auto *box = new QGroupBox(caption, GroupBox2);
        box->setObjectName(name);
        box->setFixedHeight(38);
        auto *layout = new QVBoxLayout(box);
        layout->setContentsMargins(2, 0, 2, 2);
        *header = new TTotalsHeader(source, OpenList, Modules, View, *DrawGrid1, GroupBox2, box);
        (*header)->setObjectName(headerName);
        layout->addWidget(*header);
        return box;
    };
    GroupBox4 = totalsBox("GroupBox4", "_ControlBreakTotal", "HeaderControl2", TTotalsHeader::ControlBreakTotal,
                          &HeaderControl2);
    GroupBox4->setVisible(false);
    rowsLayout->addWidget(GroupBox4);
    GroupBox3 = totalsBox("GroupBox3", "_ListTotal", "HeaderControl1", TTotalsHeader::ListTotal, &HeaderControl1);
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
        model::WriteLogLineQuietly(LastErrorText);
        return false;
    }
    LastErrorText.clear();
    ShowOpenList();
    return true;
}

void TListViewForm::ShowOpenList()
{
    TOpenList &list = OpenList;
    // The window speaks the language of the list it shows.
    dictionary::TranslateWindow(this);
    setWindowTitle(Tr("_ListViewForm") + " - [" + Q(platform::ExtractFileName(list.FileName)) + "]");
    Panel6->setText(Q(list.ListTitle));
    View.Loading = true;
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
    const int levels = list.LevelCount();
    GroupBox1->setVisible(levels > 0);
    ShowControlbreaksMenu->setVisible(levels > 0);
    ShowControlbreaksMenu->setEnabled(false);
    Selected.assign(std::size_t(levels), TSelectedGroup{});

    DrawGrid1->BuildColumns();
    RebuildHeaders();
    Panel1Layout->setCurrentWidget(Panel2);
    if (levels > 0) BuildControlBreakPanel();
    list.ShownDepth = levels;
    SummMenu->setEnabled(levels > 0);
    ItemizeMenu->setEnabled(false);
    if (levels == 0) {
        ShowRecordRange(0, list.Header.RecordCount - 1);
    } else {
        SelectFirstGroups();
    }
    RebuildSubFields();
    View.Loading = false;
    HeaderControl1->update();
    HeaderControl2->update();
    ApplyScreenFormat();
    FitLevelContainer();
    DrawGrid1->viewport()->update();
}

void TListViewForm::ConnectViews()
{
    connect(DrawGrid1, &TDrawGrid::TopLeftChanged, this, [this] {
        FitHeaderSections();
        RefreshRowStatus();
    });
    connect(DrawGrid1, &TDrawGrid::ColWidthChanged, this, [this] { FitHeaderSections(); });
    connect(DrawGrid1, &TDrawGrid::KeyReleased, this, &TListViewForm::RefreshRowStatus);
    connect(DrawGrid1, &TDrawGrid::MousePressed, this, &TListViewForm::RefreshRowStatus);
    connect(DrawGrid1, &TDrawGrid::MouseReleased, this, &TListViewForm::StoreColumnWidths);
    connect(ControlBreakPanel, &TControlBreakPanel::LevelSplitterMoved, this, [this] {
        StoreLevelHeights();
        FitLevelContainer();
    });
    connect(Panel2, &QSplitter::splitterMoved, this, [this](int position) {
        PanelWidth = position;
        StorePanelWidth();
    });
    connect(SummMenu, &QAction::triggered, this, &TListViewForm::SummMenuClick);
    connect(ItemizeMenu, &QAction::triggered, this, &TListViewForm::ItemizeMenuClick);
    connect(ShowControlbreaksMenu, &QAction::triggered, this, &TListViewForm::ShowControlbreaksMenuClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TListViewForm::SpeedButton1Click);
    connect(SetColumnWidthMenu, &QAction::triggered, this, &TListViewForm::SetColumnWidthMenuClick);
    connect(AlternateColorsMenu, &QAction::triggered, this, &TListViewForm::AlternateColorsMenuClick);
    for (QAction *entry : SubFieldEntries) connect(entry, &QAction::triggered, this, &TListViewForm::SubFieldMenuClick);
}

void TListViewForm::RebuildSubFields()
{
    View.SubFields.clear();
    for (int code = 1; code <= int(SubFieldEntries.size()); ++code)
        if (SubFieldEntries[std::size_t(code - 1)]->isChecked()) View.SubFields.push_back(code);
}

void TListViewForm::RebuildHeaders()
{
    HeaderControl1->Rebuild();
    HeaderControl2->Rebuild();
    FitHeaderSections();
}

void TListViewForm::FitHeaderSections()
{
    for (TTotalsHeader *header : {HeaderControl1, HeaderControl2})
        for (int c = 0; c < header->SectionCount() && c < DrawGrid1->ColCount(); ++c)
            header->SetSectionWidth(c, c < DrawGrid1->LeftCol() ? 0 : DrawGrid1->ColWidth(c) + 1);
}

void TListViewForm::RefreshRowStatus()
{
    StatusBar2Panels[1]->setText(Tr("_TopRecord") + ": " + QString::number(DrawGrid1->TopRow()));
    StatusBar2Panels[2]->setText(Tr("_ActualRecord") + ": " + QString::number(DrawGrid1->Row()));
}

void TListViewForm::ShowRecordRange(std::int64_t first, std::int64_t last)
{
    DrawGrid1->SetRange(first, last);
    StatusBar2Panels[0]->setText(Tr("_NumberOfRows") + ": " + QString::number(last - first + 1));
    RefreshRowStatus();
}

void TListViewForm::BuildControlBreakPanel()
{
    ControlBreakPanel->Build(OpenList, Modules, View);
    Panel4->setMinimumHeight(0);
    for (int level = 0; level < ControlBreakPanel->LevelCount(); ++level) {
        TLevelGrid *grid = ControlBreakPanel->Grid(level);
        connect(grid, &TDrawGrid::RowSelected, this, [this, level] { SelectLevelGroup(level); });
        connect(grid, &TDrawGrid::MouseReleased, this, [this, level] { StoreLevelColumnWidths(level); });
    }
}

void TListViewForm::SelectLevelGroup(int level)
{
    const int levels = OpenList.LevelCount();
    TLevelGrid *grid = ControlBreakPanel->Grid(level);
    const int row = grid->Row();
    if (row < 1) return;
    TSelectedGroup &group = Selected.at(std::size_t(level));
    group.Entry = level == 0 ? row : Selected[std::size_t(level - 1)].First + row - 1;
    OpenList.ReadBreakRecord(OpenList.Display, level, group.Entry);
    const auto &controlBreak = *OpenList.Display.ControlBreaks[std::size_t(level)];
    group.First = controlBreak.First;
    group.Last = controlBreak.Last;
    const auto *counters = controlBreak.Buffer();
    group.Counters.assign(counters, counters + std::size_t(OpenList.SlotCount) * model::CounterSlotSize);
    OpenList.ControlBreakTotal = group.Counters;
    HeaderControl2->update();
    if (level + 1 < levels) {
        const auto &next = *OpenList.Display.ControlBreaks[std::size_t(level + 1)];
        ControlBreakPanel->Grid(level + 1)->SetRange(next.Position + std::int64_t(group.First - 1) * next.FullLength(),
                                                     group.Last - group.First + 2);
    }
    if (OpenList.ShownDepth == level + 1) ShowRecordRange(group.First - 1, group.Last - 1);
    GroupBox4->setVisible(true);
    // A new group starts the next level at its first member.
    if (level + 1 < levels) {
        ControlBreakPanel->Grid(level + 1)->SetRow(1);
        SelectLevelGroup(level + 1);
    }
}

void TListViewForm::SelectFirstGroups()
{
    // Selecting in level 0 starts every deeper level at its first member.
    ControlBreakPanel->Grid(0)->SetRow(1);
    SelectLevelGroup(0);
}

void TListViewForm::SetShownDepth(int depth)
{
    OpenList.ShownDepth = depth;
    ControlBreakPanel->ShowGrids(depth);
    DrawGrid1->BuildColumns();
    RebuildHeaders();
    if (OpenList.HasRecords()) Panel1Layout->setCurrentWidget(Panel2);
    if (depth > 0) {
        const TSelectedGroup &group = Selected.at(std::size_t(depth - 1));
        // The control-break total is that of the group the grid now itemizes.
        OpenList.ControlBreakTotal = group.Counters;
        HeaderControl2->update();
        ShowRecordRange(group.First - 1, group.Last - 1);
    } else {
        ShowRecordRange(0, OpenList.Display.ControlBreaks.front()->RecNo - 1);
    }
}

void TListViewForm::SummMenuClick()
{
    if (OpenList.ShownDepth <= 0) return;
    if (OpenList.ShownDepth == 1) GroupBox4->setVisible(false);
    SetShownDepth(OpenList.ShownDepth - 1);
    DrawGrid1->SetHeaderRowHeight(3 * DrawGrid1->DefaultRowHeight());
    ItemizeMenu->setEnabled(true);
    SubFieldsMenu->menuAction()->setVisible(true);
    if (OpenList.ShownDepth == 0) SummMenu->setEnabled(false);
    ApplyScreenFormat();
}

void TListViewForm::ItemizeMenuClick()
{
    const int levels = OpenList.LevelCount();
    if (OpenList.ShownDepth >= levels) return;
    GroupBox4->setVisible(true);
    SetShownDepth(OpenList.ShownDepth + 1);
    SummMenu->setEnabled(true);
    if (OpenList.ShownDepth == levels) {
        ItemizeMenu->setEnabled(false);
        if (OpenList.IsDetailed()) {
            DrawGrid1->SetHeaderRowHeight(2 * DrawGrid1->DefaultRowHeight());
            SubFieldsMenu->menuAction()->setVisible(false);
        }
    }
    SelectFirstGroups();
    ApplyScreenFormat();
}

void TListViewForm::ShowControlbreaksMenuClick()
{
    GroupBox1->setVisible(true);
    ShowControlbreaksMenu->setEnabled(false);
}

void TListViewForm::SpeedButton1Click()
{
    GroupBox1->setVisible(false);
    ShowControlbreaksMenu->setEnabled(true);
}

void TListViewForm::SetColumnWidthMenuClick()
{
    View.AutomaticWidths = SetColumnWidthMenu->isChecked();
    // The columns regrow to their contents while they are drawn.
    if (View.AutomaticWidths)
        for (int c = 0; c < DrawGrid1->ColCount(); ++c) DrawGrid1->SetColWidth(c, 10);
    DrawGrid1->viewport()->update();
    StoreColumnWidths();
    for (int level = 0; level < ControlBreakPanel->LevelCount(); ++level) {
        ControlBreakPanel->Grid(level)->viewport()->update();
        StoreLevelColumnWidths(level);
    }
}

void TListViewForm::AlternateColorsMenuClick()
{
    DrawGrid1->AlternateColors = AlternateColorsMenu->isChecked();
    DrawGrid1->viewport()->update();
}

void TListViewForm::SubFieldMenuClick()
{
    RebuildSubFields();
    if (View.AutomaticWidths)
        for (int c = DrawGrid1->LeftCol(); c < DrawGrid1->ColCount(); ++c) DrawGrid1->SetColWidth(c, 20);
    HeaderControl1->update();
    HeaderControl2->update();
    DrawGrid1->viewport()->update();
}

void TListViewForm::SetControlBreakPanelWidth(int width)
{
    PanelWidth = width;
    GroupBox1->resize(width, GroupBox1->height());
    ScrollBox1->resize(width - 4, ScrollBox1->height());
    const int total = std::max(Panel2->width(), width + 1);
    Panel2->setSizes({width, total - width});
}

void TListViewForm::FitLevelContainer()
{
    const int needed = ControlBreakPanel->TotalHeight();
    Panel4->setMinimumHeight(needed > ScrollBox1->viewport()->height() ? needed : 0);
}

void TListViewForm::ApplyScreenFormat()
{
    if (!OpenList.HasRecords()) return;
    TScreenLayout current;
    current.PanelWidth = PanelWidth;
    for (int c = 0; c < DrawGrid1->ColCount(); ++c) current.ColumnWidths.push_back(DrawGrid1->ColWidth(c));
    for (int level = 0; level < ControlBreakPanel->LevelCount(); ++level) {
        current.LevelHeights.push_back(ControlBreakPanel->PanelHeight(level));
        std::vector<int> widths;
        const TLevelGrid *grid = ControlBreakPanel->Grid(level);
        for (int c = 0; c < grid->ColCount(); ++c) widths.push_back(grid->ColWidth(c));
        current.LevelColumnWidths.push_back(widths);
    }
    const auto stored = TScreenFormat(OpenList.ScreenFormat).Apply(OpenList.ShownDepth, current);
    if (!stored) return;
    // Remembered widths win over automatic ones.
    SetColumnWidthMenu->setChecked(false);
    View.AutomaticWidths = false;
    if (stored->PanelWidth) SetControlBreakPanelWidth(*stored->PanelWidth);
    for (std::size_t c = 0; c < stored->ColumnWidths.size(); ++c)
        if (stored->ColumnWidths[c]) DrawGrid1->SetColWidth(int(c), *stored->ColumnWidths[c]);
    for (std::size_t level = 0; level < stored->LevelHeights.size(); ++level) {
        if (stored->LevelHeights[level]) ControlBreakPanel->SetPanelHeight(int(level), *stored->LevelHeights[level]);
        TLevelGrid *grid = ControlBreakPanel->Grid(int(level));
        const auto &widths = stored->LevelColumnWidths[level];
        for (std::size_t c = 0; c < widths.size(); ++c)
            if (widths[c]) grid->SetColWidth(int(c), *widths[c]);
    }
    FitHeaderSections();
}

void TListViewForm::StoreColumnWidths()
{
    if (!OpenList.HasRecords()) return;
    std::vector<int> widths;
    for (int c = 0; c < DrawGrid1->ColCount(); ++c) widths.push_back(DrawGrid1->ColWidth(c));
    TScreenFormat(OpenList.ScreenFormat).StoreColumnWidths(OpenList.ShownDepth, widths);
}

void TListViewForm::StoreLevelHeights()
{
    std::vector<int> heights;
    for (int level = 0; level < ControlBreakPanel->LevelCount(); ++level)
        heights.push_back(ControlBreakPanel->PanelHeight(level));
    TScreenFormat(OpenList.ScreenFormat).StoreLevelHeights(OpenList.ShownDepth, heights);
}

void TListViewForm::StorePanelWidth()
{
    TScreenFormat(OpenList.ScreenFormat).StorePanelWidth(OpenList.ShownDepth, PanelWidth);
}

void TListViewForm::StoreLevelColumnWidths(int level)
{
    const TLevelGrid *grid = ControlBreakPanel->Grid(level);
    std::vector<int> widths;
    for (int c = 0; c < grid->ColCount(); ++c) widths.push_back(grid->ColWidth(c));
    TScreenFormat(OpenList.ScreenFormat)
        .StoreLevelColumnWidths(OpenList.ShownDepth, level, ControlBreakPanel->PanelHeight(level), widths);
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

void TListViewForm::ViewListInfoMenuClick()
{
    LastErrorText = ShowListInfo(this, Modules, OpenList, QuietMessages);
}

void TListViewForm::ConditionsMenuClick()
{
    LastErrorText = ShowListingConditions(this, Modules, QuietMessages);
}

void TListViewForm::CSVMenuClick()
{
    if (CsvThread || OpenList.FileName.empty()) return;
    editors::TSelectFormatForm select(Modules, OpenList, this);
    select.SetListFolder(std::filesystem::path(OpenList.FileName).parent_path().string());
    select.SetActualSummLevel(OpenList.LevelCount() - OpenList.ShownDepth);
    select.SetFormatKind(1);
    if (!select.Execute()) return;
    const QString target = QFileDialog::getSaveFileName(this, Tr("_CSVFormatFile"), QString(),
                                                        Tr("_CSVFiles") + " (*.CSV *.csv)");
    if (target.isEmpty()) return;
    std::string path = target.toStdString();
    if (platform::ExtractFileExt(path).empty()) path += ".CSV";
    StartCsvOutput(path);
}

void TListViewForm::StartCsvOutput(const std::string &target)
{
    if (CsvThread) return;
    try {
        output::PrepareOutput(Modules, OpenList, OutputValues, OutputPlan);
    } catch (const std::exception &e) {
        LastMessageText = e.what();
        ShowError(LastMessageText);
        return;
    }
    SetOutputMenusEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CsvThread = std::make_unique<output::TCSVThread>(
        target, output::TOutputJob{OpenList, Modules.ListFormat, OutputPlan, OutputValues});
    connect(CsvThread.get(), &QThread::finished, this, &TListViewForm::CsvOutputFinished, Qt::QueuedConnection);
    CsvThread->start();
}

void TListViewForm::CsvOutputFinished()
{
    CsvThread->wait();
    const std::string error = CsvThread->Error();
    const std::string target = CsvThread->TargetFileName();
    CsvThread.reset();
    SetOutputMenusEnabled(true);
    QApplication::restoreOverrideCursor();
    // A failed output says why instead of reporting the usual completion.
    if (error.empty()) {
        LastMessageText = dictionary::Translate("_CSVGenerationTerminated");
        if (!QuietMessages) QMessageBox::information(this, windowTitle(), Q(LastMessageText));
    } else {
        LastMessageText = error;
        model::WriteLogLineQuietly("ListViewUnit: CSV output failed: " + error);
        ShowError(dictionary::Translate("_Error") + ": " + target + "\n\n" + error);
    }
    emit OutputFinished();
}

void TListViewForm::SetOutputMenusEnabled(bool enabled)
{
    WriteOutMenu->setEnabled(enabled);
    WriteOutMenu->menuAction()->setEnabled(enabled);
    PrintingMenu->setEnabled(enabled);
    OpenMenu->setEnabled(enabled);
}

}  // namespace app
