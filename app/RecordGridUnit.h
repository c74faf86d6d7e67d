#pragma once
// DrawGrid1: the record grid of the main window. It shows a range of item
// records (detail view) or of the summary entries of one control-break level
// (level view), reading each painted row from the list file through the
// display read set. Counter columns are split into one sub-cell per ticked
// sub-field of the View menu.
#include "app/DrawGridUnit.h"

#include <QHash>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace model {
class TCollectRecord;
}

namespace app {

class TOpenList;
struct TDataModules;

// View choices and state that the grid, the totals headers and the level
// grids share; the main window owns it.
struct TViewState {
    std::vector<int> SubFields{1, 4};   // ticked sub-field codes, in menu order
    bool AutomaticWidths = true;
    bool Loading = false;               // headers draw nothing while set
    std::vector<int> HeaderWidths[2];   // per grid column: widths the two totals headers need
};

// What a grid column shows, by the list kind and the view.
struct TGridColumn {
    enum TKind { Field, Key, Class, Zone };
    TKind Kind = Field;
    int Index = 0;   // field of the row's record (Field, Key)
    int Slot = 0;    // counter slot (Zone); SlotCount - 1 is the total
};
std::vector<TGridColumn> GridColumns(const TOpenList &list, const TDataModules &modules, int depth);

// A title of the list's documents as shown: translated, in the list's language.
QString CaptionText(const std::string &title);

// Widths of texts, shaped once each: a screen repeats names, zones and words,
// and drawing and automatic widths both ask for them.
class TTextWidths {
public:
    int Width(const QFontMetrics &metrics, const QString &text);

private:
    QHash<QString, int> Known;   // for one font
};

class TRecordGrid : public TDrawGrid {
    Q_OBJECT
public:
    TRecordGrid(TOpenList &list, TDataModules &modules, TViewState &view, QWidget *parent = nullptr);

    // Columns and header height for the shown depth of the list.
    void BuildColumns();
    const std::vector<TGridColumn> &Columns() const { return GridCols; }
    bool DetailView() const;
    // Shows entries first..last (0-based) of the current view.
    void SetRange(std::int64_t first, std::int64_t last);
    std::int64_t RangeFirst() const { return First; }
    std::int64_t RangeLast() const { return Last; }

    // Text of a cell; row 0 is the header. For a counter column subCell picks
    // the sub-field (0-based); in the header -1 is the zone title.
    QString CellText(int column, int row, int subCell = 0);
    // Widths a cell's texts need, as automatic widths use them.
    int MeasuredWidth(int column, int row);

protected:
    void PrepareRow(int row) override;
    void DrawCell(QPainter &painter, int column, int row, const QRect &rect, bool selected) override;

private:
    void ReadRow(int row);
    const model::TCollectRecord *CounterRecord() const;
    QString HeaderText(int column, int subCell) const;
    QString DataText(int column, int subCell) const;
    int RowAlignment(int column) const;
    int Measure(const QFontMetrics &metrics, int column, int row) const;
    // Width of the text followed by two blanks, as automatic widths count it.
    int PaddedWidth(const QFontMetrics &metrics, bool bold, const QString &text) const;
    void DrawText(QPainter &painter, const QRect &rect, const QString &text, int horizontalAlignment) const;

    TOpenList &List;
    TDataModules &Modules;
    TViewState &View;
    std::vector<TGridColumn> GridCols;
    std::int64_t First = 0, Last = -1;
    std::int64_t LoadedRow = -1;        // entry whose record the read set holds
    bool RowReadable = false;
    mutable TTextWidths Widths[2];      // regular and bold
};

// Sub-cell i of n in the span left..right: each as wide as the span div n,
// the last one up to right.
std::pair<int, int> SubCellSpan(int left, int right, int i, int n);

// Draws one line in rect: vertically centred, cut with an ellipsis at the end.
// textWidth, when known, spares measuring the text again.
void DrawCellText(QPainter &painter, const QRect &rect, const QString &text, int horizontalAlignment,
                  int textWidth = -1);

}  // namespace app
