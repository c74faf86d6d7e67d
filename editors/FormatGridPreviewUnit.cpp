#include "editors/FormatGridPreviewUnit.h"

#include "dictionary/LanguageUnit.h"
#include "formats/CellValueUnit.h"
#include "formats/FormatGeometryUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <string_view>

namespace editors {

namespace {

QString Q(const std::string &text) { return QString::fromStdString(text); }

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string Text(pugi::xml_node node, const char *name) { return platform::AttributeText(node, name); }

bool IsTrue(pugi::xml_node node, const char *name) { return Text(node, name) == "True"; }

// A preview shows what it can: a malformed number counts as missing.
int Integer(pugi::xml_node node, const char *name, int missing)
{
    try {
        return formats::IntegerAttribute(node, name, missing);
    } catch (const platform::TConversionError &) {
        return missing;
    }
}

// Groups of sub-cells exist in the column bands only, as the writers read them.
bool IsGroupColumn(std::string_view band, pugi::xml_node cell)
{
    const bool columnBand = band == "header" || band == "item" || band == "total" || StartsWith(band, "subtotal_");
    return columnBand && formats::IsGroupColumn(cell);
}

std::string Joined(const std::vector<std::string> &parts)
{
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? " | " : "") + parts[i];
    return out;
}

void ApplyExcelFormatting(pugi::xml_node cell, TPreviewCell &shown)
{
    shown.Formatted = true;
    if (!Text(cell, "fontname").empty()) {
        shown.Font = QFont(Q(Text(cell, "fontname")));
        shown.Font.setPointSize(std::max(1, Integer(cell, "fontsize", 11)));
        shown.Font.setBold(IsTrue(cell, "fontbold"));
        shown.Font.setItalic(IsTrue(cell, "fontitalic"));
        shown.Font.setUnderline(IsTrue(cell, "fontunderline"));
    }
    shown.TextColor = FormatColor(Integer(cell, "fontcolor", 0));
    shown.Background = FormatColor(Integer(cell, "backgroundcolor", 16777215));
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    shown.Alignment = horizontal[std::clamp(Integer(cell, "horizontalalignment", 0), 0, 2)] |
                      vertical[std::clamp(Integer(cell, "verticalalignment", 1), 0, 2)];
    static const char *sides[] = {"left", "top", "right", "bottom"};
    for (int i = 0; i < 4; ++i) {
        const std::string side = sides[i];
        TPreviewBorder &border = shown.Borders[std::size_t(i)];
        border.Visible = IsTrue(cell, (side + "visible").c_str());
        border.Color = FormatColor(Integer(cell, (side + "color").c_str(), 0));
        border.Width = std::clamp(Integer(cell, (side + "width").c_str(), 0), 0, 3);
    }
}

}  // namespace

QColor FormatColor(int value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

std::string PreviewBandLabel(pugi::xml_node band)
{
    const std::string_view name = band.name();
    std::string label = dictionary::Translate(Text(band, "name"));
    for (std::string_view prefix : {std::string_view("controlbreak_"), std::string_view("subtotal_")}) {
        if (!StartsWith(name, prefix)) continue;
        try {
            label = std::to_string(platform::TextToInteger(name.substr(prefix.size())) + 1) + ". " + label;
        } catch (const platform::TConversionError &) {
            // A band name without a level number keeps its plain label.
        }
    }
    return label;
}

std::string PreviewCellText(pugi::xml_node band, pugi::xml_node cell, const TPreviewContext &context)
{
    if (!formats::IsVisible(cell)) return "";
    const std::string_view bandName = band.name();
    const std::string_view name = cell.name();
    const formats::TValueProviders none;
    const auto filled = [&](pugi::xml_node c) { return formats::FillPlaceholder(formats::TranslatedFixText(c), formats::GetCellValue(c, none)); };

    if (bandName == "pageheader" || bandName == "pageheader1" || bandName == "pageheader2") {
        if (name == "firm") return formats::FillPlaceholder(formats::TranslatedFixText(cell), context.Firm);
        if (name == "period") return formats::FillPlaceholder(formats::TranslatedFixText(cell), context.PeriodText);
        if (name == "date") return formats::FillPlaceholder(formats::TranslatedFixText(cell), context.DateText);
        if (name == "remark") return formats::FillPlaceholder(formats::TranslatedFixText(cell), context.Remark);
        return formats::TranslatedFixText(cell);
    }
    if (bandName == "pagefooter") return name == "listid" ? context.ListId : std::string();
    if (StartsWith(bandName, "controlbreak_")) return filled(cell);

    if (bandName == "header") {
        if (!IsGroupColumn(bandName, cell)) return formats::TranslatedFixText(cell);
        // The second header line carries the titles of the sub-cells.
        std::vector<std::string> titles;
        for (pugi::xml_node sub : platform::ElementChildren(cell))
            if (formats::IsVisible(sub)) titles.push_back(formats::TranslatedFixText(sub));
        return titles.empty() ? formats::TranslatedFixText(cell) : formats::TranslatedFixText(cell) + "\n" + Joined(titles);
    }
    if (!IsGroupColumn(bandName, cell)) return filled(cell);
    std::vector<std::string> values;
    for (pugi::xml_node sub : platform::ElementChildren(cell))
        if (formats::IsVisible(sub)) values.push_back(filled(sub));
    return Joined(values);
}

void TFormatGridModel::SetFormat(pugi::xml_node root, bool excel, const TPreviewContext &context)
{
    beginResetModel();
    Cells.clear();
    BandNames.clear();
    const std::vector<pugi::xml_node> bands = platform::ElementChildren(formats::PageOf(root));
    Columns = 1;
    for (pugi::xml_node band : bands) Columns = std::max(Columns, int(platform::ElementChildren(band).size()) + 1);

    Cells.assign(bands.size() + 1, std::vector<TPreviewCell>(std::size_t(Columns)));
    BandNames.assign(bands.size() + 1, std::string());
    for (std::size_t b = 0; b < bands.size(); ++b) {
        std::vector<TPreviewCell> &row = Cells[b + 1];
        BandNames[b + 1] = bands[b].name();
        row[0].Text = Q(PreviewBandLabel(bands[b]));
        row[0].Bold = true;
        const std::vector<pugi::xml_node> cells = platform::ElementChildren(bands[b]);
        for (std::size_t c = 0; c < cells.size(); ++c) {
            TPreviewCell &shown = row[c + 1];
            shown.Text = Q(PreviewCellText(bands[b], cells[c], context));
            if (excel) ApplyExcelFormatting(cells[c], shown);
        }
    }
    endResetModel();
}

void TFormatGridModel::Clear()
{
    beginResetModel();
    Cells.clear();
    BandNames.clear();
    Columns = 0;
    endResetModel();
}

int TFormatGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(Cells.size());
}

int TFormatGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

QVariant TFormatGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= Columns) return {};
    const TPreviewCell &cell = Cell(index.row(), index.column());
    const bool fixed = index.row() == 0 || index.column() == 0;
    switch (role) {
    case Qt::DisplayRole:
        return cell.Text;
    case Qt::FontRole:
        if (cell.Bold) {
            QFont font = QApplication::font();
            font.setBold(true);
            return font;
        }
        return cell.Formatted && !cell.Font.family().isEmpty() ? QVariant(cell.Font) : QVariant();
    case Qt::ForegroundRole:
        return cell.Formatted ? QVariant(cell.TextColor) : QVariant();
    case Qt::BackgroundRole:
        if (fixed) return QApplication::palette().color(QPalette::Button);
        return cell.Formatted ? QVariant(cell.Background) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(cell.Alignment);
    case FormattedRole:
        return cell.Formatted;
    default:
        return {};
    }
}

void TFormatGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto *model = qobject_cast<const TFormatGridModel *>(index.model());
    QStyledItemDelegate::paint(painter, option, index);
    if (!model || index.row() == 0 || index.column() == 0) return;
    const TPreviewCell &cell = model->Cell(index.row(), index.column());
    if (!cell.Formatted) return;
    const QRect r = option.rect.adjusted(0, 0, -1, -1);
    const QLine lines[] = {{r.topLeft(), r.bottomLeft()}, {r.topLeft(), r.topRight()},
                           {r.topRight(), r.bottomRight()}, {r.bottomLeft(), r.bottomRight()}};
    // Inward offsets per side, so that a double line stays inside the cell.
    const QPoint inward[] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};
    painter->save();
    for (int i = 0; i < 4; ++i) {
        const TPreviewBorder &border = cell.Borders[std::size_t(i)];
        if (!border.Visible) continue;
        const QLine line = lines[i];
        if (border.Width == 3) {
            painter->setPen(QPen(border.Color, 1));
            painter->drawLine(line);
            painter->drawLine(line.translated(inward[i] * 3));
        } else {
            for (int w = 0; w <= border.Width; ++w) {
                painter->setPen(QPen(border.Color, 1));
                painter->drawLine(line.translated(inward[i] * w));
            }
        }
    }
    painter->restore();
}

}  // namespace editors
