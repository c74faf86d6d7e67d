#include "app/TotalsHeaderUnit.h"

#include "app/CounterTextUnit.h"
#include "app/DataModulesUnit.h"
#include "app/OpenListUnit.h"
#include "app/RecordGridUnit.h"

#include <QPainter>

#include <algorithm>

namespace app {

namespace {

constexpr int InitialSectionWidth = 50;

// Durations centred, counts and money right-aligned.
int CounterAlignment(TCounter counter)
{
    const bool duration = counter == TCounter::Duration || counter == TCounter::CalcDur || counter == TCounter::RingTime;
    return duration ? int(Qt::AlignHCenter) : int(Qt::AlignRight);
}

}  // namespace

THeaderControl::THeaderControl(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize THeaderControl::sizeHint() const { return QSize(100, 18); }

void THeaderControl::SetSectionCount(int count)
{
    Widths.assign(std::size_t(std::max(0, count)), InitialSectionWidth);
    update();
}

void THeaderControl::SetSectionWidth(int section, int width)
{
    int &current = Widths.at(std::size_t(section));
    if (current == width) return;
    current = width;
    update();
}

void THeaderControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    int x = 0;
    for (int i = 0; i < SectionCount() && x < width(); ++i) {
        const int w = Widths[std::size_t(i)];
        if (w <= 0) continue;
        const QRect rect(x, 0, w, height());
        painter.save();
        painter.setClipRect(rect);
        DrawSection(painter, i, rect);
        painter.restore();
        x += w;
    }
}

TTotalsHeader::TTotalsHeader(TSource source, TOpenList &list, TDataModules &modules, TViewState &view,
                             const TRecordGrid &grid, QWidget *background, QWidget *parent)
    : THeaderControl(parent), Source(source), List(list), Modules(modules), View(view), Grid(grid),
      Background(background)
{
}

void TTotalsHeader::Rebuild()
{
    const int columns = int(Grid.Columns().size());
    SetSectionCount(columns);
    View.HeaderWidths[Source].assign(std::size_t(columns), InitialSectionWidth);
}

bool TTotalsHeader::FieldCounterSection(int section, std::optional<TCounter> &counter) const
{
    if (!List.IsDetailed() || !Grid.DetailView()) return false;
    const TGridColumn &col = Grid.Columns().at(std::size_t(section));
    counter = DetailFieldCounter(List.Display.DataRecord->FieldName(col.Index));
    return true;
}

int TTotalsHeader::CounterSlot(int section) const
{
    const auto &columns = Grid.Columns();
    if (section < 0 || section >= int(columns.size())) return -1;
    // The control-break total of a statistics list counts its columns by the key-field rule.
    if (Source == ControlBreakTotal && Grid.DetailView() && Modules.ListType.IsStatistics()) {
        const int slot = section - List.Display.CollectRecord->FieldCount();
        return slot >= 0 && slot < List.SlotCount ? slot : -1;
    }
    const TGridColumn &col = columns[std::size_t(section)];
    return col.Kind == TGridColumn::Zone ? col.Slot : -1;
}

bool TTotalsHeader::HasValue(int section) const
{
    if (!List.HasRecords() || section < 0 || section >= int(Grid.Columns().size())) return false;
    std::optional<TCounter> counter;
    if (FieldCounterSection(section, counter)) return counter.has_value();
    return CounterSlot(section) >= 0;
}

model::TCounterSlot TTotalsHeader::Counters(int slot) const
{
    if (Source == ListTotal) return List.ZoneTotal(slot);
    return model::ReadCounterSlot(List.ControlBreakTotal.data() + std::size_t(slot) * model::CounterSlotSize);
}

QString TTotalsHeader::SectionText(int section, int subCell) const
{
    if (!HasValue(section)) return QString();
    std::optional<TCounter> counter;
    if (FieldCounterSection(section, counter)) return QString::fromStdString(CounterText(Counters(List.SlotCount - 1), *counter));
    if (subCell < 0 || subCell >= int(View.SubFields.size())) return QString();
    return QString::fromStdString(
        CounterText(Counters(CounterSlot(section)), SubFieldCounter(View.SubFields[std::size_t(subCell)])));
}

void TTotalsHeader::KeepWidth(int section, int width)
{
    auto &widths = View.HeaderWidths[Source];
    if (section >= int(widths.size())) return;
    widths[std::size_t(section)] = width;
}

void TTotalsHeader::DrawSection(QPainter &painter, int section, const QRect &rect)
{
    if (View.Loading || section >= int(Grid.Columns().size())) return;
    const QFontMetrics metrics = painter.fontMetrics();
    std::optional<TCounter> counter;
    const bool fieldCase = FieldCounterSection(section, counter);
    if (!HasValue(section)) {
        painter.fillRect(rect, Background->palette().color(Background->backgroundRole()));
        if (fieldCase) KeepWidth(section, metrics.horizontalAdvance(QString(8, 'M')));
        return;
    }
    painter.fillRect(rect, Qt::white);
    painter.setPen(palette().color(QPalette::Inactive, QPalette::Mid));
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.setPen(Qt::black);
    if (fieldCase) {
        const QString text = SectionText(section);
        DrawCellText(painter, rect.adjusted(1, 1, -1, -1), text, CounterAlignment(*counter));
        KeepWidth(section, metrics.horizontalAdvance(QString(text + QString(8, ' ')).replace(' ', 'M')));
        return;
    }
    const int n = int(View.SubFields.size());
    int widest = 0;
    for (int i = 0; i < n; ++i) {
        const auto [left, right] = SubCellSpan(rect.left(), rect.right() + 1, i, n);
        const QString text = SectionText(section, i);
        DrawCellText(painter, QRect(left, rect.top(), right - left, rect.height()).adjusted(1, 1, -1, -1), text,
                     Qt::AlignRight);
        painter.setPen(palette().color(QPalette::Inactive, QPalette::Mid));
        painter.drawLine(right - 1, rect.top(), right - 1, rect.bottom());
        painter.setPen(Qt::black);
        widest = std::max(widest, metrics.horizontalAdvance(text + "  "));
    }
    KeepWidth(section, widest * n);
}

}  // namespace app
