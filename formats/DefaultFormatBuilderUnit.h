#pragma once
// Builds the default list format of the open list's list type into the
// module's document: for print ("normal"), CSV and Excel, at any summarizing
// level, so that every list can be written out without a stored format.
#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace formats {

class TListFormatModule;

class TDefaultFormatBuilder {
public:
    explicit TDefaultFormatBuilder(TListFormatModule &module);
    // Replaces the module's document (NewFormat first). The caller has set
    // the formattype and the list-type identifier.
    void Build(int level);

private:
    struct TZone {
        std::string Code;    // "T" for the total over all zones
        std::string Title;   // dictionary key or text of the heading
    };
    struct TCell;

    pugi::xml_node AddCell(pugi::xml_node parent, const char *element, const TCell &cell);
    pugi::xml_node AddInserted(pugi::xml_node parent);
    pugi::xml_node AddBand(pugi::xml_node page, const std::string &element, TCell band);

    void BuildPageFrame();
    void BuildCsvHeaderBands();
    void BuildControlBreaks();
    void BuildHeaderAndItem();
    void AddColumnPair(pugi::xml_node header, pugi::xml_node item, const std::string &id);
    void AddZoneGroups(pugi::xml_node header, pugi::xml_node item);
    void AddSummaryZoneGroups(pugi::xml_node band);
    void BuildSubtotals();
    void BuildTotal();
    void AddSummaryCells(pugi::xml_node band, TCell lead);
    TCell SummaryLeadCell(int height, const std::string &nameField, const std::string &fixText) const;
    void BuildPageFooter();

    std::string TitleKey(std::string_view id) const;
    pugi::xml_node ListTypeRoot() const;
    pugi::xml_node BreakLevel(int level) const;
    std::vector<std::string> VisibleBreakIds(int level) const;
    std::string FirstBreakId(int level) const;
    std::vector<TZone> IncludedZones() const;

    TListFormatModule &Module;
    pugi::xml_node Root;
    pugi::xml_node Page;
    std::string Kind;          // list type: "detailed", "summary" or "statistics"
    bool Print = true;
    bool Excel = false;
    int Level = 0;
    int BreakCount = 0;        // control breaks of the list type
    int KeptBreaks = 0;        // levels that get bands
    int PageWidth = 0;
    int HeaderHeight = 0;
    int ItemHeight = 50;
    bool DetailedAtZero = false;
};

}  // namespace formats
