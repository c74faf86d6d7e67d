#pragma once
// Geometry of print formats over the `listformat` element tree: keeping the
// item, total and subtotal cells in the header's columns, sharing widths out,
// turning the sheet, moving and sorting columns, and where an element lies on
// the sheet. TListFormatModule offers these on its current document; the
// free functions serve every element tree of the same schema.
#include "dictionary/LanguageUnit.h"
#include "formats/TextMeasureUnit.h"

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace formats {

// ---- attribute access shared by the format code ---------------------------
// Sets the attribute, appending it at the end when the element lacks it.
void SetAttribute(pugi::xml_node node, const char *name, std::string_view value);
// Without it a C string would take the bool overload.
void SetAttribute(pugi::xml_node node, const char *name, const char *value);
void SetAttribute(pugi::xml_node node, const char *name, int value);
void SetAttribute(pugi::xml_node node, const char *name, bool value);   // "True"/"False"
std::string IntegerText(int value);
// A missing attribute reads as the fallback; malformed text raises the
// conversion error.
int IntegerAttribute(pugi::xml_node node, const char *name, int fallback = 0);
// `visible`; a missing attribute counts as the schema default "True".
bool IsVisible(pugi::xml_node node);
// A cell of a column band (header, item, subtotal, total) that groups
// sub-cells: named "T" or with a "_" in its name, and with children; a group
// name without sub-cells is a plain column.
bool IsGroupColumn(pugi::xml_node cell);
// The cell's `fixtext` in the current language.
std::string TranslatedFixText(pugi::xml_node cell);
pugi::xml_node PageOf(pugi::xml_node format);     // `page` of a `listformat` element
int ControlBreakCount(pugi::xml_node format);     // root `controlbreaks`, 0 when missing
std::string SubtotalBandName(int level);
std::string ControlBreakBandName(int level);

// Rounds numerator / denominator (denominator > 0) to the nearest integer,
// ties to even.
long long RoundHalfEven(long long numerator, long long denominator);

// ---- operations ------------------------------------------------------------
// Copies left, width and visible of each header column (and of its same-named
// sub-cells) to the same-named cell of the band and numbers it by position.
void AlignColumns(pugi::xml_node format, const char *band);
void AlignItemColumns(pugi::xml_node format);
void AlignTotalColumns(pugi::xml_node format);
void AlignSubtotalColumns(pugi::xml_node format, int level);
void AlignAllColumns(pugi::xml_node format);

// Shares the element's width out among its visible children in proportion to
// their text widths plus two characters, then the children's own visible
// children the same way within them (one level).
void DistributeByText(pugi::xml_node element, const TTextMeasure &measure);
void DistributeHeaderByText(pugi::xml_node format, const TTextMeasure &measure);
// Rescales the visible children to the element's width, recursively.
void FitSubcells(pugi::xml_node element);
void FitHeaderColumns(pugi::xml_node format);

// Between portrait and landscape: the sheet, its margins and the page turn,
// every band is rescaled horizontally.
void RotatePage(pugi::xml_node format);

// Swap with the previous (next) sibling; a header column takes its item,
// total and subtotal cells along. Without such a sibling nothing changes.
void MoveColumnLeft(pugi::xml_node cell);
void MoveColumnRight(pugi::xml_node cell);
// Reorders the children by `index` (missing: -1), then `left`, recursively.
void SortCellsByIndex(pugi::xml_node element);

// The element's rectangle on the sheet (page units).
dictionary::TRect GetAbsoluteRect(pugi::xml_node element);

}  // namespace formats
