#pragma once
// Small print formats of given band heights and shorthands for plan and
// layout entries, shared by the page-breaking tests.
#include "formats/OutputPlanUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

namespace formats {

inline void PrintTo(const TPlanEntry &e, std::ostream *os)
{
    switch (e.Kind) {
    case TEntryKind::PageEnd: *os << "PageEnd"; return;
    case TEntryKind::ColumnHeader: *os << "Head"; return;
    case TEntryKind::Items: *os << "Rows(" << e.First << "," << e.Count << "," << e.Level << ")"; return;
    case TEntryKind::End: *os << "Total"; return;
    case TEntryKind::GroupHeader: *os << "Group(" << e.First << "," << e.Level << ")"; return;
    case TEntryKind::Subtotal: *os << "Sub(" << e.First << "," << e.Level << ")"; return;
    }
    *os << "Kind" << int(e.Kind);
}

}  // namespace formats

namespace pagingtest {

using formats::TEntryKind;
using formats::TPlanEntry;

inline TPlanEntry Rows(int first, int count, int level) { return {TEntryKind::Items, first, count, level}; }
inline TPlanEntry Group(int first, int level) { return {TEntryKind::GroupHeader, first, 1, level}; }
inline TPlanEntry Sub(int first, int level) { return {TEntryKind::Subtotal, first, 1, level}; }
inline TPlanEntry Total() { return {TEntryKind::End, 0, 0, 0}; }
inline TPlanEntry Head() { return {TEntryKind::ColumnHeader}; }
inline TPlanEntry PageEnd() { return {TEntryKind::PageEnd}; }

struct TLevelBands {
    int Header = 0, Subtotal = 0;   // controlbreak_k and subtotal_k
    bool NewPage = false, Repeat = true;
};

struct TBands {
    int Page = 0, PageHeader = 0, PageHeader1 = 0, PageFooter = 0;
    bool FirstPageOnly = false;
    int Header = 0, Item = 0, Total = 0;
    std::vector<TLevelBands> Levels;
};

inline std::string Flag(bool on) { return on ? "True" : "False"; }

inline std::string Band(const std::string &name, int height, const std::string &extra = "")
{
    return "<" + name + " height=\"" + std::to_string(height) + "\" visible=\"True\"" + extra + " />";
}

inline platform::TXmlDocument MakeFormat(const TBands &b)
{
    std::string text = "<listformat formattype=\"normal\" controlbreaks=\"" + std::to_string(b.Levels.size()) +
                       "\" level=\"0\"><page left=\"100\" top=\"100\" width=\"1902\" height=\"" +
                       std::to_string(b.Page) + "\">";
    text += Band("pageheader", b.PageHeader);
    text += Band("pageheader1", b.PageHeader1, " firstpageonly=\"" + Flag(b.FirstPageOnly) + "\"");
    for (std::size_t k = 0; k < b.Levels.size(); ++k)
        text += Band("controlbreak_" + std::to_string(k), b.Levels[k].Header,
                     " newpage=\"" + Flag(b.Levels[k].NewPage) + "\" repeatonnewpage=\"" +
                         Flag(b.Levels[k].Repeat) + "\"");
    text += Band("header", b.Header) + Band("item", b.Item);
    for (std::size_t k = 0; k < b.Levels.size(); ++k)
        text += Band("subtotal_" + std::to_string(k), b.Levels[k].Subtotal);
    text += Band("total", b.Total) + Band("pagefooter", b.PageFooter);
    text += "</page></listformat>";
    platform::TXmlDocument doc;
    doc.LoadFromText(text);
    return doc;
}

inline formats::TOutputPlan MakePlan(const std::vector<TPlanEntry> &entries)
{
    formats::TOutputPlan plan;
    for (const TPlanEntry &e : entries) plan.Add(e);
    return plan;
}

}  // namespace pagingtest
