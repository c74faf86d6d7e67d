#pragma once
// The grid picture of a CSV or Excel format: one row per band of `page` after
// a fixed first row, one column per cell position after a fixed first column
// naming the band. Each cell shows the text the writers would put there for
// placeholder values; in an Excel format it also carries its own formatting.
#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QStyledItemDelegate>

#include <pugixml.hpp>

#include <array>
#include <string>
#include <vector>

namespace editors {

// The page context of a preview: what a real output would take from the list.
struct TPreviewContext {
    std::string Firm;
    std::string DateText;
    std::string PeriodText;
    std::string Remark = "XXX";
    std::string ListId;
};

struct TPreviewBorder {
    bool Visible = false;
    QColor Color;
    int Width = 0;          // Excel weight code: 0 thin ... 3 double
};

struct TPreviewCell {
    QString Text;
    bool Bold = false;      // band names in the first column
    bool Formatted = false; // the Excel attributes below apply
    QFont Font;
    QColor TextColor;
    QColor Background;
    Qt::Alignment Alignment = Qt::AlignLeft | Qt::AlignVCenter;
    std::array<TPreviewBorder, 4> Borders;   // left, top, right, bottom
};

class TFormatGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // Qt::UserRole + 1 answers whether a cell carries Excel formatting.
    static constexpr int FormattedRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    // Takes a snapshot of the format, so that later loads into the same
    // document do not change what is shown.
    void SetFormat(pugi::xml_node root, bool excel, const TPreviewContext &context);
    void Clear();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const TPreviewCell &Cell(int row, int column) const { return Cells[std::size_t(row)][std::size_t(column)]; }
    // The element name of the band shown in row (empty for row 0).
    const std::string &BandName(int row) const { return BandNames[std::size_t(row)]; }

private:
    std::vector<std::vector<TPreviewCell>> Cells;   // [row][column]
    std::vector<std::string> BandNames;
    int Columns = 0;
};

// Paints a cell's Excel background and borders under its text.
class TFormatGridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
};

// The text of a band's cell as the CSV and Excel writers produce it: fixed
// text in the current language, filled with the page-context value or the
// cell value; a group column shows its visible sub-cells joined by " | ".
// An invisible cell gives an empty text.
std::string PreviewCellText(pugi::xml_node band, pugi::xml_node cell, const TPreviewContext &context);

// The first-column label of a band: its name through the dictionary, break
// and subtotal bands led by their level number counted from 1.
std::string PreviewBandLabel(pugi::xml_node band);

// A format colour (red in the low byte) as a Qt colour.
QColor FormatColor(int value);

}  // namespace editors
