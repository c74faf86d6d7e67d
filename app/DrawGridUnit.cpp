#include "app/DrawGridUnit.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace app {

namespace {

constexpr int LineWidth = 1;
constexpr int SizingMargin = 3;      // pixels either side of a boundary that start sizing
constexpr int MinColWidth = 1;

}  // namespace

TDrawGrid::TDrawGrid(QWidget *parent) : QAbstractScrollArea(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    HeaderHeight = RowHeight;
}

void TDrawGrid::SetRowCount(int rows)
{
    Rows = std::max(1, rows);
    if (CurrentRow >= Rows) CurrentRow = Rows - 1;
    if (CurrentRow < 1 && Rows > 1) CurrentRow = 1;
    if (Rows == 1) CurrentRow = 0;
    Top = std::clamp(Top, 1, std::max(1, Rows - 1));
    UpdateScrollBars();
    viewport()->update();
}

void TDrawGrid::SetColCount(int columns)
{
    ColWidths.resize(std::size_t(std::max(0, columns)), DefaultWidth);
    Left = std::clamp(Left, 0, std::max(0, ColCount() - 1));
    UpdateScrollBars();
    viewport()->update();
}

void TDrawGrid::SetColWidth(int column, int width)
{
    width = std::max(MinColWidth, width);
    int &current = ColWidths.at(std::size_t(column));
    if (current == width) return;
    current = width;
    UpdateScrollBars();
    viewport()->update();
    emit ColWidthChanged(column);
}

void TDrawGrid::SetDefaultRowHeight(int height)
{
    RowHeight = height;
    UpdateScrollBars();
    viewport()->update();
}

void TDrawGrid::SetHeaderRowHeight(int height)
{
    HeaderHeight = height;
    UpdateScrollBars();
    viewport()->update();
}

void TDrawGrid::SetRow(int row)
{
    if (Rows <= 1) return;
    CurrentRow = std::clamp(row, 1, Rows - 1);
    const int visible = std::max(1, VisibleRowCount() - 1);
    if (CurrentRow < Top)
        SetTopRow(CurrentRow);
    else if (CurrentRow >= Top + visible)
        SetTopRow(CurrentRow - visible + 1);
    viewport()->update();
}

void TDrawGrid::SetTopRow(int row)
{
    const int top = std::clamp(row, 1, std::max(1, verticalScrollBar()->maximum() + 1));
    if (top == Top) return;
    Top = top;
    Syncing = true;
    verticalScrollBar()->setValue(Top - 1);
    Syncing = false;
    viewport()->update();
    emit TopLeftChanged();
}

void TDrawGrid::SetLeftCol(int column)
{
    const int left = std::clamp(column, 0, std::max(0, horizontalScrollBar()->maximum()));
    if (left == Left) return;
    Left = left;
    Syncing = true;
    horizontalScrollBar()->setValue(Left);
    Syncing = false;
    viewport()->update();
    emit TopLeftChanged();
}

int TDrawGrid::VisibleRowCount() const
{
    const int space = viewport()->height() - HeaderHeight - LineWidth;
    if (space <= 0) return 0;
    return (space + RowHeight) / (RowHeight + LineWidth);
}

QRect TDrawGrid::CellRect(int column, int row) const
{
    if (column < Left || column >= ColCount()) return QRect();
    int x = 0;
    for (int c = Left; c < column; ++c) x += ColWidths[std::size_t(c)] + LineWidth;
    if (row == 0) return QRect(x, 0, ColWidths[std::size_t(column)], HeaderHeight);
    const int y = HeaderHeight + LineWidth + (row - Top) * (RowHeight + LineWidth);
    return QRect(x, y, ColWidths[std::size_t(column)], RowHeight);
}

void TDrawGrid::UpdateScrollBars()
{
    Syncing = true;
    const int dataRows = Rows - 1;
    const int space = viewport()->height() - HeaderHeight - LineWidth;
    const int fullRows = std::max(1, space / (RowHeight + LineWidth));
    verticalScrollBar()->setRange(0, std::max(0, dataRows - fullRows));
    verticalScrollBar()->setPageStep(fullRows);
    // Scrolling stops once the last column is wholly in view.
    int maxLeft = ColCount() - 1, used = 0;
    while (maxLeft >= 0 && used + ColWidths[std::size_t(maxLeft)] <= viewport()->width()) {
        used += ColWidths[std::size_t(maxLeft)] + LineWidth;
        --maxLeft;
    }
    horizontalScrollBar()->setRange(0, std::max(0, maxLeft + 1));
    horizontalScrollBar()->setPageStep(1);
    Top = std::clamp(Top, 1, verticalScrollBar()->maximum() + 1);
    Left = std::clamp(Left, 0, horizontalScrollBar()->maximum());
    verticalScrollBar()->setValue(Top - 1);
    horizontalScrollBar()->setValue(Left);
    Syncing = false;
}

void TDrawGrid::scrollContentsBy(int, int)
{
    if (Syncing) return;
    const int top = verticalScrollBar()->value() + 1, left = horizontalScrollBar()->value();
    if (top == Top && left == Left) return;
    Top = top;
    Left = left;
    viewport()->update();
    emit TopLeftChanged();
}

void TDrawGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void TDrawGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    const QPalette &pal = palette();
    const int width = viewport()->width(), height = viewport()->height();
    const int lastRow = std::min(Rows - 1, Top + VisibleRowCount() - 1);
    int right = 0;
    for (int c = Left; c < ColCount() && right < width; ++c) right += ColWidths[std::size_t(c)] + LineWidth;

    // Header row.
    for (int c = Left; c < ColCount(); ++c) {
        const QRect rect = CellRect(c, 0);
        if (rect.left() >= width) break;
        painter.fillRect(rect, pal.button());
        painter.save();
        painter.setClipRect(rect);
        painter.setPen(pal.color(QPalette::ButtonText));
        DrawCell(painter, c, 0, rect, false);
        painter.restore();
    }
    // Data rows: the visible ones only.
    for (int r = Top; r <= lastRow; ++r) {
        PrepareRow(r);
        const bool selected = r == CurrentRow;
        for (int c = Left; c < ColCount(); ++c) {
            const QRect rect = CellRect(c, r);
            if (rect.left() >= width) break;
            QColor text = pal.color(QPalette::Text);
            if (AlternateColors) {
                // The row colours replace the selection colour.
                painter.fillRect(rect, r % 2 == 0 ? QColor(0xFF, 0xFF, 0xFF) : QColor(0xE0, 0xE0, 0xE0));
                text = Qt::black;
            } else if (selected) {
                painter.fillRect(rect, pal.highlight());
                text = pal.color(QPalette::HighlightedText);
            } else {
                painter.fillRect(rect, pal.base());
            }
            painter.save();
            painter.setClipRect(rect);
            painter.setPen(text);
            DrawCell(painter, c, r, rect, selected && !AlternateColors);
            painter.restore();
        }
    }
    // Grid lines in both directions, fixed and normal.
    painter.setPen(pal.color(QPalette::Mid));
    const int bottom = lastRow >= Top ? CellRect(Left, lastRow).bottom() + 1 : HeaderHeight;
    int x = 0;
    for (int c = Left; c < ColCount() && x < width; ++c) {
        x += ColWidths[std::size_t(c)];
        painter.drawLine(x, 0, x, std::min(bottom, height));
        x += LineWidth;
    }
    painter.drawLine(0, HeaderHeight, std::min(right, width), HeaderHeight);
    for (int r = Top; r <= lastRow; ++r) {
        const int y = CellRect(Left, r).bottom() + 1;
        painter.drawLine(0, y, std::min(right, width), y);
    }
}

int TDrawGrid::RowAt(int y) const
{
    if (y < HeaderHeight) return 0;
    const int row = Top + (y - HeaderHeight - LineWidth) / (RowHeight + LineWidth);
    return row < Rows ? row : -1;
}

int TDrawGrid::BoundaryAt(int x) const
{
    int edge = 0;
    for (int c = Left; c < ColCount(); ++c) {
        edge += ColWidths[std::size_t(c)];
        if (std::abs(x - edge) <= SizingMargin) return c;
        edge += LineWidth;
        if (edge > x + SizingMargin) break;
    }
    return -1;
}

void TDrawGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (event->button() == Qt::LeftButton) {
        const int row = RowAt(p.y());
        if (row == 0) {
            SizingColumn = BoundaryAt(p.x());
            if (SizingColumn >= 0) {
                SizingStartX = p.x();
                SizingStartWidth = ColWidth(SizingColumn);
            }
        } else if (row > 0) {
            SetRow(row);
            emit RowSelected();
        }
    }
    emit MousePressed();
}

void TDrawGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint p = event->position().toPoint();
    if (SizingColumn >= 0) {
        SetColWidth(SizingColumn, SizingStartWidth + p.x() - SizingStartX);
        return;
    }
    const bool onBoundary = RowAt(p.y()) == 0 && BoundaryAt(p.x()) >= 0;
    viewport()->setCursor(onBoundary ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TDrawGrid::mouseReleaseEvent(QMouseEvent *)
{
    SizingColumn = -1;
    emit MouseReleased();
}

void TDrawGrid::keyPressEvent(QKeyEvent *event)
{
    const int page = std::max(1, VisibleRowCount() - 1);
    int row = CurrentRow;
    switch (event->key()) {
    case Qt::Key_Up: row -= 1; break;
    case Qt::Key_Down: row += 1; break;
    case Qt::Key_PageUp: row -= page; break;
    case Qt::Key_PageDown: row += page; break;
    case Qt::Key_Home: row = 1; break;
    case Qt::Key_End: row = Rows - 1; break;
    case Qt::Key_Left: SetLeftCol(Left - 1); return;
    case Qt::Key_Right: SetLeftCol(Left + 1); return;
    default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    if (Rows <= 1) return;
    row = std::clamp(row, 1, Rows - 1);
    if (row == CurrentRow) return;
    SetRow(row);
    emit RowSelected();
}

void TDrawGrid::keyReleaseEvent(QKeyEvent *event)
{
    QAbstractScrollArea::keyReleaseEvent(event);
    emit KeyReleased();
}

}  // namespace app
