#include "model/ListTypeModuleUnit.h"

#include "model/CollectRecordUnit.h"

namespace model {

namespace {

std::string ZoneAttribute(int slot)
{
    return "code" + std::to_string(slot);
}

}  // namespace

pugi::xml_node TListTypeModule::BreakLevel(int level) const
{
    return platform::ElementChild(Root().child("controlbreaks"), level);
}

int TListTypeModule::VisibleBreakFieldCount(int level) const
{
    int count = 0;
    for (pugi::xml_node key = BreakLevel(level).first_child(); key; key = key.next_sibling())
        if (key.type() == pugi::node_element && platform::AttributeAsBoolean(key, "visible")) ++count;
    return count;
}

int TListTypeModule::VisibleBreakFieldIndex(int level, int n) const
{
    int position = 0;
    int visible = 0;
    for (pugi::xml_node key = BreakLevel(level).first_child(); key; key = key.next_sibling()) {
        if (key.type() != pugi::node_element) continue;
        if (platform::AttributeAsBoolean(key, "visible") && visible++ == n) return position;
        ++position;
    }
    return 0;
}

int TListTypeModule::StatisticsZoneColumnCount() const
{
    return StatisticsZoneColumnCount(SlotCount);
}

int TListTypeModule::StatisticsZoneColumnCount(int slotCount) const
{
    if (!IsStatistics()) return 0;
    const pugi::xml_node root = Root();
    int count = platform::AttributeAsBoolean(root, "codeT") ? 1 : 0;
    for (int slot = 0; slot <= slotCount - 2; ++slot)
        if (platform::AttributeAsBoolean(root, ZoneAttribute(slot).c_str())) ++count;
    return count;
}

char TListTypeModule::StatisticsColumnZone(int column) const
{
    return StatisticsColumnZone(column, SlotCount);
}

char TListTypeModule::StatisticsColumnZone(int column, int slotCount) const
{
    if (!IsStatistics()) return 'T';
    const pugi::xml_node root = Root();
    int enabled = 0;
    for (int slot = 0; slot <= slotCount - 2; ++slot)
        if (platform::AttributeAsBoolean(root, ZoneAttribute(slot).c_str()) && ++enabled == column)
            return char('0' + slot);
    return 'T';
}

bool TListTypeModule::ZoneEnabled(std::string_view code) const
{
    if (!IsStatistics()) return true;
    return platform::AttributeAsBoolean(Root(), ("code" + std::string(code)).c_str());
}

std::string TListTypeModule::ListKind() const
{
    return platform::AttributeText(Root(), "type");
}

}  // namespace model
