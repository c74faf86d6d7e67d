#pragma once
// Where the texts of format cells come from: the page context (page number,
// date, firm, period ...) that an output sets before it draws or writes, and
// the four value providers through which the open list answers for the
// current record, group or the whole list. Printing, the writers and the
// previews share these rules.
#include <pugixml.hpp>

#include <functional>
#include <string>
#include <string_view>

namespace formats {

struct TPageContext {
    int PageNumber = 1;
    std::string DateText;       // date of listing, with the format's date separator
    std::string Firm;
    std::string Remark;
    std::string PeriodText;     // with the format's date separator
    std::string PageCount;      // "@" of "pageinfo" texts
    std::string RecordCount;    // "#" of "pageinfo" texts
    std::string ListId;
    std::string ProductName;
};

// Each returns the text of a cell for the row the output has just read.
struct TValueProviders {
    std::function<std::string(const std::string &name)> Item;
    std::function<std::string(int level, const std::string &name)> ControlBreak;
    std::function<std::string(int level, const std::string &name)> Subtotal;
    std::function<std::string(const std::string &name)> Total;
};

// What a data cell shows when no provider is installed (format previews).
inline constexpr const char *MissingValueText = "XXX";

// Which provider answers for a cell, by the cell's name and the names of its
// parent and grandparent; headers, group cells with sub-cells, `subtotalname`
// and `totalname` have none. Writers resolve every cell once, not per row.
struct TCellSource {
    enum class TKind { None, Fixed, Item, ControlBreak, Subtotal, Total };
    TKind Kind = TKind::None;
    int Level = 0;
    std::string Name;   // the fixed text for Fixed
};
TCellSource ResolveCellSource(pugi::xml_node element);
std::string CellValue(const TCellSource &source, const TValueProviders &providers);

// Both steps at once.
std::string GetCellValue(pugi::xml_node element, const TValueProviders &providers);

// Puts value in for the first "%" of fixedText ("%%" stands for a literal
// "%"); a text with a placeholder and an empty value gives an empty text, a
// text without one gives the value, or itself when the value is empty.
std::string FillPlaceholder(std::string_view fixedText, std::string_view value);

// Replaces every occurrence of from by to (to may be empty: then unchanged).
std::string ReplaceSeparator(std::string text, char from, std::string_view to);

}  // namespace formats
