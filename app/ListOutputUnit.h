#pragma once
// What every output (printing, PDF, CSV, Excel, batch jobs) reads of the open
// list: the output plan for a format, the page context and the four value
// providers, all over the output read set so that the grid is not disturbed.
#include "formats/CellValueUnit.h"
#include "formats/OutputPlanUnit.h"

#include <cstdint>
#include <string>

namespace formats {
class TListFormatModule;
}

namespace app {

class TOpenList;
struct TDataModules;
struct TReadSet;

// The `level` attribute of the current format: how many of the innermost
// control-break levels it hides (0 when missing).
int FormatLevel(const formats::TListFormatModule &format);

// Group headers, item runs and subtotals of the whole list, expanded down to
// the level the format shows. A format level beyond the list's levels shows
// level 0 only, so the plan never reaches for a level the list lacks.
void BuildOutputPlan(TOpenList &list, int formatLevel, formats::TOutputPlan &plan);

// Page 1 context of the open list for an output: date of listing, firm,
// remark, period, record count and list ID.
void FillPageContext(formats::TListFormatModule &format, const TOpenList &list, const TDataModules &modules);

// The values of the row the output has just read through the output read
// set. Writers of non-detailed lists set CurrentRecordNumber (1-based) before
// each detail row, for the class names of statistics lists.
class TListValues {
public:
    // Over the list's output read set, or over another set of the same list
    // (a second writer thread reads through its own).
    TListValues(TOpenList &list, const TDataModules &modules);
    TListValues(TOpenList &list, const TDataModules &modules, TReadSet &set);
    // The same values, with the format level already taken, over set.
    TListValues ForReadSet(TReadSet &set) const;
    TReadSet &ReadSet() const { return *Set; }

    std::string ItemValue(const std::string &name) const;
    std::string ControlBreakValue(int level, const std::string &name) const;
    std::string SubtotalValue(int level, const std::string &name) const;
    std::string TotalValue(const std::string &name) const;

    // Bound to this object, which must outlive the module's use of them. The
    // format's level is taken now: an output keeps its format while it runs.
    formats::TValueProviders Providers();

    std::int64_t CurrentRecordNumber = 0;

private:
    int ItemLevel() const;
    TOpenList &List;
    const TDataModules &Modules;
    TReadSet *Set;
    int ProvidedLevel = -1;   // the level taken by Providers(), -1 before
};

}  // namespace app
