#include "app/ControlBreakPanelUnit.h"

#include "app/DataModulesUnit.h"
#include "app/OpenListUnit.h"
#include "app/RecordGridUnit.h"
#include "model/TarvilexDataModuleUnit.h"

#include <QLabel>
#include <QPainter>
#include <QSplitter>
#include <QVBoxLayout>

#include <algorithm>

namespace app {

namespace {

constexpr int LevelRowHeight = 20;
constexpr int LevelColWidth = 100;
constexpr int InitialPanelHeight = 100;
constexpr int SplitterHeight = 3;

}  // namespace

TLevelGrid::TLevelGrid(int level, TOpenList &list, TDataModules &modules, TViewState &view, QWidget *parent)
    : TDrawGrid(parent), LevelIndex(level), List(list), Modules(modules), View(view)
{
    SetDefaultRowHeight(LevelRowHeight);
    SetDefaultColWidth(LevelColWidth);
    SetHeaderRowHeight(LevelRowHeight);
    SetColCount(Modules.ListType.VisibleBreakFieldCount(level));
}

void TLevelGrid::SetRange(std::int64_t start, int rows)
{
    List.Display.ControlBreaks.at(std::size_t(LevelIndex))->RangeStart = start;
    SetRowCount(rows);
    viewport()->update();
}

void TLevelGrid::PrepareRow(int row)
{
    auto &controlBreak = *List.Display.ControlBreaks.at(std::size_t(LevelIndex));
    RowReadable = false;
    try {
        List.Display.Stream->Seek(controlBreak.RangeStart + std::int64_t(row - 1) * controlBreak.FullLength());
        controlBreak.ReadRecord();
        RowReadable = true;
    } catch (const std::exception &e) {
        model::WriteLogLineQuietly(std::string("ListViewUnit: ") + e.what());
    }
}

QString TLevelGrid::Text(int column, int row) const
{
    const auto &controlBreak = *List.Display.ControlBreaks.at(std::size_t(LevelIndex));
    const int field = Modules.ListType.VisibleBreakFieldIndex(LevelIndex, column);
    if (field >= controlBreak.FieldCount()) return QString();
    const std::string &name = controlBreak.FieldName(field);
    if (row == 0) return CaptionText(Modules.ListFields.FieldTitle(name, List.ListKind));
    if (!RowReadable) return QString();
    return QString::fromStdString(controlBreak.FieldValueAsString(name));
}

QString TLevelGrid::CellText(int column, int row)
{
    if (row > 0) PrepareRow(row);
    return Text(column, row);
}

void TLevelGrid::DrawCell(QPainter &painter, int column, int row, const QRect &rect, bool)
{
    QFont font = painter.font();
    font.setBold(row == 0);
    painter.setFont(font);
    const QString text = Text(column, row);
    DrawCellText(painter, rect, text, row == 0 ? int(Qt::AlignHCenter) : int(Qt::AlignLeft));
    if (View.AutomaticWidths) {
        const int needed = painter.fontMetrics().horizontalAdvance(text + "  ");
        if (ColWidth(column) < needed) SetColWidth(column, needed);
    }
}

void TControlBreakPanel::Build(TOpenList &list, TDataModules &modules, TViewState &view)
{
    for (QObject *child : Container->children())
        if (child->isWidgetType()) delete child;
    delete Container->layout();
    Blocks.clear();

    QWidget *parent = Container;
    for (int level = 0; level < list.LevelCount(); ++level) {
        auto *layout = new QVBoxLayout(parent);
        layout->setContentsMargins(0, 0, 0, 0);
        TBlock block;
        block.Splitter = new QSplitter(Qt::Vertical, parent);
        block.Splitter->setHandleWidth(SplitterHeight);
        block.Splitter->setChildrenCollapsible(false);
        block.Splitter->setStyleSheet("QSplitter::handle { background: palette(mid); }");
        layout->addWidget(block.Splitter);

        block.Panel = new QWidget(block.Splitter);
        block.Panel->setObjectName(QString("LevelPanel%1").arg(level));
        auto *panelLayout = new QVBoxLayout(block.Panel);
        panelLayout->setContentsMargins(0, 0, 0, 0);
        block.Caption = new QLabel("_SummarizedControlBreak", block.Panel);
        block.Caption->setText(CaptionText("_SummarizedControlBreak"));
        QFont bold = block.Caption->font();
        bold.setBold(true);
        block.Caption->setFont(bold);
        block.Caption->setAlignment(Qt::AlignCenter);
        panelLayout->addWidget(block.Caption);
        block.Grid = new TLevelGrid(level, list, modules, view, block.Panel);
        block.Grid->setObjectName(QString("LevelGrid%1").arg(level));
        panelLayout->addWidget(block.Grid);
        block.Caption->setVisible(false);
        list.Display.ControlBreaks[std::size_t(level)]->Grid = block.Grid;

        auto *next = new QWidget(block.Splitter);
        block.Splitter->addWidget(block.Panel);
        block.Splitter->addWidget(next);
        block.Splitter->setStretchFactor(1, 1);
        block.Height = InitialPanelHeight;
        block.Splitter->setSizes({InitialPanelHeight, std::max(1, parent->height() - InitialPanelHeight)});
        const int index = level;
        connect(block.Splitter, &QSplitter::splitterMoved, this, [this, index](int position) {
            Blocks[std::size_t(index)].Height = position;
            emit LevelSplitterMoved();
        });
        Blocks.push_back(block);
        parent = next;
    }
    auto &first = *list.Display.ControlBreaks.front();
    Blocks.front().Grid->SetRange(first.Position, first.RecNo + 1);
}

void TControlBreakPanel::SetPanelHeight(int level, int height)
{
    TBlock &block = Blocks.at(std::size_t(level));
    block.Height = height;
    const int total = std::max(block.Splitter->height(), height + 1);
    block.Splitter->setSizes({height, total - height});
}

void TControlBreakPanel::ShowGrids(int depth)
{
    for (int level = 0; level < LevelCount(); ++level) {
        const bool shown = level < depth;
        Blocks[std::size_t(level)].Grid->setVisible(shown);
        Blocks[std::size_t(level)].Caption->setVisible(!shown);
    }
}

int TControlBreakPanel::TotalHeight() const
{
    int total = 0;
    for (const TBlock &block : Blocks) total += block.Height + SplitterHeight;
    return total;
}

}  // namespace app
