#pragma once
// The control-break panel's contents: one block per level, stacked from the
// top of Panel4, each a captioned level panel with the level's grid and a
// splitter below it; the next level's block fills the rest. A level grid
// lists the groups of its level that belong to the group selected one level
// higher, reading each painted entry from the list file.
#include "app/DrawGridUnit.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

class QLabel;
class QSplitter;

namespace app {

class TOpenList;
struct TDataModules;
struct TViewState;

class TLevelGrid : public TDrawGrid {
    Q_OBJECT
public:
    TLevelGrid(int level, TOpenList &list, TDataModules &modules, TViewState &view, QWidget *parent = nullptr);
    int Level() const { return LevelIndex; }
    // Shows the entries from file position start; rows = entries + 1.
    void SetRange(std::int64_t start, int rows);
    QString CellText(int column, int row);

protected:
    void PrepareRow(int row) override;
    void DrawCell(QPainter &painter, int column, int row, const QRect &rect, bool selected) override;

private:
    QString Text(int column, int row) const;
    int LevelIndex;
    TOpenList &List;
    TDataModules &Modules;
    TViewState &View;
    bool RowReadable = false;
};

class TControlBreakPanel : public QObject {
    Q_OBJECT
public:
    explicit TControlBreakPanel(QWidget *container, QObject *parent = nullptr) : QObject(parent), Container(container) {}
    // Destroys the previous blocks and builds one per level.
    void Build(TOpenList &list, TDataModules &modules, TViewState &view);
    int LevelCount() const { return int(Blocks.size()); }
    TLevelGrid *Grid(int level) const { return Blocks.at(std::size_t(level)).Grid; }
    int PanelHeight(int level) const { return Blocks.at(std::size_t(level)).Height; }
    void SetPanelHeight(int level, int height);
    // Grids of the levels above depth are shown; the others leave their caption.
    void ShowGrids(int depth);
    int TotalHeight() const;            // sum over the levels of panel height + splitter

signals:
    void LevelSplitterMoved();

private:
    struct TBlock {
        QWidget *Panel = nullptr;
        QLabel *Caption = nullptr;
        TLevelGrid *Grid = nullptr;
        QSplitter *Splitter = nullptr;  // the level panel above, the next container below
        int Height = 100;
    };
    QWidget *Container;
    std::vector<TBlock> Blocks;
};

}  // namespace app
