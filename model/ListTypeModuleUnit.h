#pragma once
// The list type document ("listtype") of the open list: its kind, columns,
// control-break levels with their key fields and, for statistics lists, the
// enabled zone columns. Loaded only from an opened list file.
#include "platform/XmlDocumentUnit.h"

#include <string>
#include <string_view>

namespace model {

class TListTypeModule {
public:
    // Key fields of break level `level` (0-based, outermost first) whose
    // "visible" is true; a level beyond the document raises the index error.
    int VisibleBreakFieldCount(int level) const;
    // Position among all key fields of the n-th visible one; 0 when fewer.
    int VisibleBreakFieldIndex(int level, int n) const;
    // Zone columns of a statistics list (0 for any other kind); the slot
    // count is SlotCount unless given.
    int StatisticsZoneColumnCount() const;
    int StatisticsZoneColumnCount(int slotCount) const;
    // '0'..'9' for the zone slot of zone column `column` (1-based), 'T' for
    // the total and whenever fewer zones are enabled.
    char StatisticsColumnZone(int column) const;
    char StatisticsColumnZone(int column, int slotCount) const;
    bool ZoneEnabled(std::string_view code) const;   // "code" + code; true unless statistics
    std::string ListKind() const;                    // the "type" attribute
    bool IsStatistics() const { return ListKind() == "statistics"; }

    platform::TXmlDocument ListType;

private:
    pugi::xml_node Root() const { return ListType.Document().child("listtype"); }
    pugi::xml_node BreakLevel(int level) const;
};

}  // namespace model
