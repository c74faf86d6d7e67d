#pragma once
// An owner-drawn grid that knows only its row count: one fixed header row,
// column widths, whole-row selection, column sizing by dragging a boundary
// in the header row. It paints the visible rows only and asks PrepareRow
// once per painted row before its cells, so a row's record is read once per
// paint whatever the number of columns.
#include <QAbstractScrollArea>

#include <cstdint>
#include <vector>

namespace app {

class TDrawGrid : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TDrawGrid(QWidget *parent = nullptr);

    int RowCount() const { return Rows; }            // header row included
    void SetRowCount(int rows);
    int ColCount() const { return int(ColWidths.size()); }
    void SetColCount(int columns);                   // new columns get the default width
    int ColWidth(int column) const { return ColWidths.at(std::size_t(column)); }
    void SetColWidth(int column, int width);
    int DefaultRowHeight() const { return RowHeight; }
    void SetDefaultRowHeight(int height);
    int DefaultColWidth() const { return DefaultWidth; }
    void SetDefaultColWidth(int width) { DefaultWidth = width; }
    int HeaderRowHeight() const { return HeaderHeight; }
    void SetHeaderRowHeight(int height);

    int Row() const { return CurrentRow; }           // 1 ..; 0 when there is no data row
    void SetRow(int row);                            // scrolls it into view
    int TopRow() const { return Top; }
    void SetTopRow(int row);
    int LeftCol() const { return Left; }
    void SetLeftCol(int column);
    int VisibleRowCount() const;                     // data rows fully or partly shown
    // Pixel rectangle of a cell in the viewport (may lie outside it).
    QRect CellRect(int column, int row) const;

    // Both fill the data rows with the grid's own colours when off.
    bool AlternateColors = false;

signals:
    void TopLeftChanged();
    void RowSelected();          // current row changed by mouse or keys
    void MousePressed();
    void MouseReleased();
    void KeyReleased();
    void ColWidthChanged(int column);

protected:
    // Called once per painted data row (1-based) before its cells are drawn.
    virtual void PrepareRow(int row) { (void)row; }
    // Draws one cell; the background is painted already.
    virtual void DrawCell(QPainter &painter, int column, int row, const QRect &rect, bool selected) = 0;

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void UpdateScrollBars();
    int RowAt(int y) const;
    int BoundaryAt(int x) const;     // column whose right edge is under x, -1 if none

    int Rows = 1;
    std::vector<int> ColWidths;
    int RowHeight = 16;
    int DefaultWidth = 90;
    int HeaderHeight = 16;
    int CurrentRow = 0;
    int Top = 1;
    int Left = 0;
    int SizingColumn = -1;
    int SizingStartX = 0, SizingStartWidth = 0;
    bool Syncing = false;
};

}  // namespace app
