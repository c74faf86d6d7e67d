#include "app/RecordGridUnit.h"

#include "app/CounterTextUnit.h"
#include "app/DataModulesUnit.h"
#include "app/OpenListUnit.h"
#include "dictionary/LanguageUnit.h"
#include "model/TarvilexDataModuleUnit.h"

#include <QPainter>

#include <algorithm>

namespace app {

namespace {

constexpr int GridRowHeight = 16;

QString Q(const std::string &text) { return QString::fromStdString(text); }

Qt::Alignment Horizontal(int alignment)
{
    switch (alignment & 3) {
    case model::dtRight: return Qt::AlignRight;
    case model::dtCenter: return Qt::AlignHCenter;
    default: return Qt::AlignLeft;
    }
}

const model::TFieldList &KeyRecord(const TOpenList &list, int depth)
{
    if (depth < list.LevelCount()) return *list.Display.ControlBreaks[std::size_t(depth)];
    if (list.IsDetailed()) return *list.Display.DataRecord;
    return *list.Display.CollectRecord;
}

// Sub-cell i of n within [left, right): widths (right - left) div n, the last
// one up to the right edge.
}  // namespace

std::pair<int, int> SubCellSpan(int left, int right, int i, int n)
{
    const int step = (right - left) / n;
    const int start = left + i * step;
    return {start, i == n - 1 ? right : start + step};
}

QString CaptionText(const std::string &title)
{
    return Q(dictionary::SelectLanguagePart(dictionary::Translate(title)));
}

std::vector<TGridColumn> GridColumns(const TOpenList &list, const TDataModules &modules, int depth)
{
    std::vector<TGridColumn> columns;
    if (!list.HasRecords()) return columns;
    const model::TFieldList &record = KeyRecord(list, depth);
    const bool detail = depth >= list.LevelCount();
    if (detail && list.IsDetailed()) {
        for (int i = 0; i < record.FieldCount(); ++i) columns.push_back({TGridColumn::Field, i, 0});
    } else if (detail && modules.ListType.IsStatistics()) {
        columns.push_back({TGridColumn::Class, 0, 0});
        const int zones = modules.ListType.StatisticsZoneColumnCount(list.SlotCount);
        for (int k = 1; k <= zones; ++k) {
            const char zone = modules.ListType.StatisticsColumnZone(k, list.SlotCount);
            columns.push_back({TGridColumn::Zone, 0, zone == 'T' ? list.SlotCount - 1 : zone - '0'});
        }
    } else {
        for (int i = 0; i < record.FieldCount(); ++i) columns.push_back({TGridColumn::Key, i, 0});
        for (int s = 0; s < list.SlotCount; ++s) columns.push_back({TGridColumn::Zone, 0, s});
    }
    return columns;
}

void DrawCellText(QPainter &painter, const QRect &rect, const QString &text, int horizontalAlignment, int textWidth)
{
    const QRect inner = rect.adjusted(2, 0, -2, 0);
    const bool fits = textWidth >= 0 && textWidth <= inner.width();
    const QString shown = fits ? text : painter.fontMetrics().elidedText(text, Qt::ElideRight, std::max(0, inner.width()));
    painter.drawText(inner, int(Qt::AlignVCenter) | horizontalAlignment | int(Qt::TextSingleLine), shown);
}

int TTextWidths::Width(const QFontMetrics &metrics, const QString &text)
{
    if (Known.size() > 20000) Known.clear();
    const auto known = Known.constFind(text);
    if (known != Known.constEnd()) return *known;
    const int width = metrics.horizontalAdvance(text);
    Known.insert(text, width);
    return width;
}

TRecordGrid::TRecordGrid(TOpenList &list, TDataModules &modules, TViewState &view, QWidget *parent)
    : TDrawGrid(parent), List(list), Modules(modules), View(view)
{
    SetDefaultRowHeight(GridRowHeight);
    SetDefaultColWidth(90);
    SetHeaderRowHeight(2 * GridRowHeight);
}

bool TRecordGrid::DetailView() const { return List.ShownDepth >= List.LevelCount(); }

void TRecordGrid::BuildColumns()
{
    GridCols = GridColumns(List, Modules, List.ShownDepth);
    SetColCount(0);
    SetColCount(int(GridCols.size()));
    SetHeaderRowHeight((List.IsDetailed() && DetailView() ? 2 : 3) * GridRowHeight);
    LoadedRow = -1;
}

void TRecordGrid::SetRange(std::int64_t first, std::int64_t last)
{
    First = first;
    Last = last;
    LoadedRow = -1;
    SetRowCount(int(std::max<std::int64_t>(0, last - first + 1) + 1));
    SetRow(1);
    SetTopRow(1);
    viewport()->update();
}

void TRecordGrid::ReadRow(int row)
{
    const std::int64_t entry = First + row - 1;
    RowReadable = false;
    if (DetailView())
        List.ReadItemRecord(List.Display, entry);
    else
        List.ReadBreakRecord(List.Display, List.ShownDepth, entry + 1);
    LoadedRow = entry;
    RowReadable = true;
}

void TRecordGrid::PrepareRow(int row)
{
    try {
        ReadRow(row);
    } catch (const std::exception &e) {
        // A row beyond the file stays blank; the reason goes to the log once per row.
        if (LoadedRow != -2) model::WriteLogLineQuietly(std::string("ListViewUnit: ") + e.what());
        LoadedRow = -2;
    }
}

const model::TCollectRecord *TRecordGrid::CounterRecord() const
{
    if (!DetailView()) return List.Display.ControlBreaks[std::size_t(List.ShownDepth)].get();
    return List.Display.CollectRecord.get();
}

QString TRecordGrid::HeaderText(int column, int subCell) const
{
    const TGridColumn &col = GridCols.at(std::size_t(column));
    const std::string &kind = List.ListKind;
    switch (col.Kind) {
    case TGridColumn::Field:
    case TGridColumn::Key:
        return CaptionText(Modules.ListFields.FieldTitle(KeyRecord(List, List.ShownDepth).FieldName(col.Index), kind));
    case TGridColumn::Class:
        return Q(dictionary::SelectLanguagePart(
            platform::AttributeText(Modules.ListType.ListType.Root().child("classes"), "title")));
    case TGridColumn::Zone:
        if (subCell < 0) {
            if (col.Slot == List.SlotCount - 1) return CaptionText("_Total");
            const pugi::xml_node zones = Modules.ListFields.ListFields.Root().child("summarizedzones");
            if (col.Slot >= platform::ElementChildCount(zones)) return QString();
            return CaptionText(platform::AttributeText(platform::ElementChild(zones, col.Slot), "title"));
        }
        if (subCell >= int(View.SubFields.size())) return QString();
        return CaptionText(SubFieldShortTitle(View.SubFields[std::size_t(subCell)]));
    }
    return QString();
}

QString TRecordGrid::DataText(int column, int subCell) const
{
    if (!RowReadable) return QString();
    const TGridColumn &col = GridCols.at(std::size_t(column));
    switch (col.Kind) {
    case TGridColumn::Field:
        return Q(List.Display.DataRecord->FieldValueAsString(List.Display.DataRecord->FieldName(col.Index)));
    case TGridColumn::Key: {
        const auto &record = *CounterRecord();
        return Q(record.FieldValueAsString(record.FieldName(col.Index)));
    }
    case TGridColumn::Class: {
        const pugi::xml_node classes = Modules.ListType.ListType.Root().child("classes");
        if (LoadedRow < 0 || LoadedRow >= platform::ElementChildCount(classes)) return QString();
        return CaptionText(platform::AttributeText(platform::ElementChild(classes, int(LoadedRow)), "name"));
    }
    case TGridColumn::Zone:
        if (subCell < 0 || subCell >= int(View.SubFields.size())) return QString();
        return Q(CounterText(CounterRecord()->Counters(col.Slot), SubFieldCounter(View.SubFields[std::size_t(subCell)])));
    }
    return QString();
}

int TRecordGrid::RowAlignment(int column) const
{
    const TGridColumn &col = GridCols.at(std::size_t(column));
    if (col.Kind == TGridColumn::Field)
        return int(Horizontal(Modules.ListFields.FieldAlignment(
            List.Display.DataRecord->FieldName(col.Index), List.ListKind)));
    if (col.Kind == TGridColumn::Zone) return Qt::AlignRight;
    return Qt::AlignHCenter;
}

QString TRecordGrid::CellText(int column, int row, int subCell)
{
    if (row == 0) return HeaderText(column, subCell);
    ReadRow(row);
    return DataText(column, subCell);
}

int TRecordGrid::PaddedWidth(const QFontMetrics &metrics, bool bold, const QString &text) const
{
    TTextWidths &widths = Widths[bold];
    return widths.Width(metrics, text) + widths.Width(metrics, QStringLiteral("  "));
}

void TRecordGrid::DrawText(QPainter &painter, const QRect &rect, const QString &text, int horizontalAlignment) const
{
    const QFontMetrics metrics = painter.fontMetrics();
    DrawCellText(painter, rect, text, horizontalAlignment, Widths[painter.font().bold()].Width(metrics, text));
}

int TRecordGrid::Measure(const QFontMetrics &metrics, int column, int row) const
{
    const auto width = [&](const QString &text) { return PaddedWidth(metrics, row == 0, text); };
    const TGridColumn &col = GridCols.at(std::size_t(column));
    if (col.Kind != TGridColumn::Zone) return width(row == 0 ? HeaderText(column, 0) : DataText(column, 0));
    const int n = int(View.SubFields.size());
    int widest = 0;
    for (int i = 0; i < n; ++i) widest = std::max(widest, width(row == 0 ? HeaderText(column, i) : DataText(column, i)));
    int measured = widest * n;
    if (row == 0) measured = std::max(measured, width(HeaderText(column, -1)));
    return measured;
}

int TRecordGrid::MeasuredWidth(int column, int row)
{
    QFont font = this->font();
    font.setBold(row == 0);
    if (row > 0) ReadRow(row);
    return Measure(QFontMetrics(font), column, row);
}

void TRecordGrid::DrawCell(QPainter &painter, int column, int row, const QRect &rect, bool)
{
    if (column >= int(GridCols.size())) return;
    QFont font = painter.font();
    font.setBold(row == 0);
    painter.setFont(font);
    const TGridColumn &col = GridCols[std::size_t(column)];
    const int n = int(View.SubFields.size());
    if (col.Kind != TGridColumn::Zone) {
        DrawText(painter, rect, row == 0 ? HeaderText(column, 0) : DataText(column, 0),
                     row == 0 ? int(Qt::AlignHCenter) : RowAlignment(column));
    } else if (row == 0) {
        const QRect top(rect.left(), rect.top(), rect.width(), rect.height() / 2);
        DrawText(painter, top, HeaderText(column, -1), Qt::AlignHCenter);
        for (int i = 0; i < n; ++i) {
            const auto [left, right] = SubCellSpan(rect.left(), rect.right() + 1, i, n);
            DrawText(painter, QRect(left, top.bottom() + 1, right - left, rect.bottom() - top.bottom()),
                         HeaderText(column, i), Qt::AlignHCenter);
        }
    } else {
        for (int i = 0; i < n; ++i) {
            const auto [left, right] = SubCellSpan(rect.left(), rect.right() + 1, i, n);
            DrawText(painter, QRect(left, rect.top(), right - left, rect.height()), DataText(column, i),
                         Qt::AlignRight);
            if (i > 0) painter.drawLine(left, rect.top(), left, rect.bottom());
        }
    }
    if (View.AutomaticWidths && (row == 0 || RowReadable)) {
        int needed = Measure(painter.fontMetrics(), column, row);
        for (const auto &widths : View.HeaderWidths)
            if (column < int(widths.size())) needed = std::max(needed, widths[std::size_t(column)]);
        // Drawing only ever widens a column.
        if (ColWidth(column) < needed) SetColWidth(column, needed);
    }
}

}  // namespace app
