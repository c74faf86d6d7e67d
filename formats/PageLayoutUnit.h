#pragma once
// Page breaking of a print format: turns an output plan into the page layout
// (plan entries plus column headers and page ends) and the page index (where
// each page's entries begin) that the renderer replays page by page.
#include "formats/OutputPlanUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <pugixml.hpp>

#include <cstddef>
#include <span>
#include <vector>

namespace formats {

using TPageLayout = std::vector<TPlanEntry>;   // every page closes with a PageEnd entry
using TPageIndex = std::vector<std::size_t>;   // per page, its first position in the layout

struct TPagination {
    TPageIndex PageIndex;
    TPageLayout PageLayout;
    int PageCount() const { return int(PageIndex.size()); }
    // The entries of page n (1-based) without its closing PageEnd.
    std::span<const TPlanEntry> Page(int n) const;
};

// Band readers over the `listformat` root. A missing band or height reads as
// 0 and a negative height as 0; missing flags take the documented defaults
// (newpage and firstpageonly "False", repeatonnewpage "True").
int BandHeight(pugi::xml_node format, const char *band);
int ControlBreakHeight(pugi::xml_node format, int level);
int SubtotalHeight(pugi::xml_node format, int level);
bool NewPageOf(pugi::xml_node format, int level);
bool RepeatOnNewPageOf(pugi::xml_node format, int level);
bool FirstPageOnly(pugi::xml_node format);      // of `pageheader1`

// Height left for the flowing bands on page n (1-based).
int AvailableHeight(pugi::xml_node format, int page);
int AvailableHeight(const platform::TXmlDocument &format, int page);

// Always terminates: content taller than an empty page is placed on a page of
// its own, which then exceeds the page's room.
TPagination Paginate(const TOutputPlan &plan, pugi::xml_node format);
TPagination Paginate(const TOutputPlan &plan, const platform::TXmlDocument &format);

}  // namespace formats
