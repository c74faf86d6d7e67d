#pragma once
// HeaderControl1 and HeaderControl2: the list total and the control-break
// total under the record grid, one owner-drawn section per grid column whose
// widths follow the grid. Each header keeps, per column, the width its texts
// need, which the grid's automatic widths respect.
#include "app/CounterTextUnit.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

namespace model {
struct TCounterSlot;
}

namespace app {

class TOpenList;
class TRecordGrid;
struct TDataModules;
struct TViewState;

class THeaderControl : public QWidget {
    Q_OBJECT
public:
    explicit THeaderControl(QWidget *parent = nullptr);
    int SectionCount() const { return int(Widths.size()); }
    void SetSectionCount(int count);                // new sections are 50 wide
    int SectionWidth(int section) const { return Widths.at(std::size_t(section)); }
    void SetSectionWidth(int section, int width);
    QSize sizeHint() const override;

protected:
    virtual void DrawSection(QPainter &painter, int section, const QRect &rect) = 0;
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<int> Widths;
};

class TTotalsHeader : public THeaderControl {
    Q_OBJECT
public:
    enum TSource { ListTotal = 0, ControlBreakTotal = 1 };
    TTotalsHeader(TSource source, TOpenList &list, TDataModules &modules, TViewState &view, const TRecordGrid &grid,
                  QWidget *background, QWidget *parent = nullptr);

    // One section per grid column, width lists reset to 50.
    void Rebuild();
    bool HasValue(int section) const;
    // Text of a section's sub-cell (0-based; 0 for a single-text section).
    QString SectionText(int section, int subCell = 0) const;

protected:
    void DrawSection(QPainter &painter, int section, const QRect &rect) override;

private:
    int CounterSlot(int section) const;     // -1 when the section shows no counter
    // Detail view of a detailed list: whether the section belongs to a column
    // whose total the list carries (counter set) or to another one.
    bool FieldCounterSection(int section, std::optional<TCounter> &counter) const;
    model::TCounterSlot Counters(int slot) const;
    void KeepWidth(int section, int width);

    TSource Source;
    TOpenList &List;
    TDataModules &Modules;
    TViewState &View;
    const TRecordGrid &Grid;
    QWidget *Background;
};

}  // namespace app
