#include "app/ListOutputUnit.h"

#include "app/CounterTextUnit.h"
#include "app/DataModulesUnit.h"
#include "app/OpenListUnit.h"
#include "formats/ListFormatModuleUnit.h"

#include <algorithm>

namespace app {

namespace {

// A counter cell name; "counter" is the number of calls.
std::optional<TCounterCell> CounterCell(const std::string &name, int slotCount)
{
    return ParseCounterCellName(name == "counter" ? std::string_view("PIECE_T") : std::string_view(name), slotCount);
}

// A counter cell of a collect record, or else the record's key field.
std::string CollectValue(const model::TCollectRecord &record, const std::string &name, int slotCount)
{
    if (const auto cell = CounterCell(name, slotCount))
        return CounterText(record.Counters(cell->Slot), cell->Counter);
    return record.FieldValueAsString(name);
}

void ExpandLevel(TOpenList &list, int level, std::int32_t first, std::int32_t count, int stopLevel,
                 formats::TOutputPlan &plan)
{
    if (level == stopLevel) {
        plan.AddItems(first, count, level);
        return;
    }
    const model::TControlBreak &group = *list.Output.ControlBreaks[std::size_t(level)];
    for (std::int32_t j = 0; j < count; ++j) {
        list.ReadBreakRecord(list.Output, level, first + j);
        // The inner expansion reads this level's object again: keep the range.
        const std::int32_t innerFirst = group.First, innerCount = group.Last - group.First + 1;
        plan.AddGroupHeader(first + j, level);
        ExpandLevel(list, level + 1, innerFirst, innerCount, stopLevel, plan);
        plan.AddSubtotal(first + j, level);
    }
}

}  // namespace

int FormatLevel(const formats::TListFormatModule &format)
{
    return formats::IntegerAttribute(format.Root(), "level", 0);
}

void BuildOutputPlan(TOpenList &list, int formatLevel, formats::TOutputPlan &plan)
{
    plan.Clear();
    const int levels = list.LevelCount();
    if (levels == 0) {
        plan.AddItems(1, list.Header.RecordCount, 0);
    } else {
        const int stopLevel = std::clamp(levels - formatLevel, 0, levels);
        ExpandLevel(list, 0, 1, list.Output.ControlBreaks[0]->RecNo, stopLevel, plan);
    }
    plan.AddEnd();
    plan.Rewind();
}

void FillPageContext(formats::TListFormatModule &format, const TOpenList &list, const TDataModules &modules)
{
    const pugi::xml_node generation = modules.ListGeneration.ListGeneration.Document().child("listgeneration");
    format.SetPageNumber(1);
    format.SetDateText(dictionary::FormatDateAndTime(list.Header.GenerationTime));
    format.SetFirm(list.SystemName);
    format.SetRemark(list.Remark);
    format.SetPeriodText(dictionary::FormatDate(list.Header.PeriodFirst), dictionary::FormatDate(list.Header.PeriodLast));
    format.SetPageCount("1");
    format.SetRecordCount(std::to_string(list.Header.RecordCount));
    format.SetListId(platform::AttributeText(generation, "listID"));
}

TListValues::TListValues(TOpenList &list, const TDataModules &modules) : TListValues(list, modules, list.Output) {}

TListValues::TListValues(TOpenList &list, const TDataModules &modules, TReadSet &set)
    : List(list), Modules(modules), Set(&set)
{
}

TListValues TListValues::ForReadSet(TReadSet &set) const
{
    TListValues values(List, Modules, set);
    values.ProvidedLevel = ProvidedLevel;
    return values;
}

std::string TListValues::ItemValue(const std::string &name) const
{
    const int formatLevel = ItemLevel();
    // A format that hides levels of a list without any shows its records.
    if (formatLevel != 0 && List.LevelCount() > 0) {
        const int level = std::clamp(List.LevelCount() - formatLevel, 0, List.LevelCount() - 1);
        return CollectValue(*Set->ControlBreaks[std::size_t(level)], name, List.SlotCount);
    }
    if (List.IsDetailed()) return Set->DataRecord->FieldValueAsString(name);
    if (name == "CLASS") {
        const pugi::xml_node classes =
            Modules.ListType.ListType.Document().child("listtype").child("classes");
        const int index = int(CurrentRecordNumber - 1);
        return index >= 0 && index < platform::ElementChildCount(classes)
                   ? platform::AttributeText(platform::ElementChild(classes, index), "name")
                   : std::string();
    }
    return CollectValue(*Set->CollectRecord, name, List.SlotCount);
}

std::string TListValues::ControlBreakValue(int level, const std::string &name) const
{
    return Set->ControlBreaks.at(std::size_t(level))->FieldValueAsString(name);
}

// Subtotal and total cells named like a detail column give that column's total.
std::string TListValues::SubtotalValue(int level, const std::string &name) const
{
    const model::TControlBreak &group = *Set->ControlBreaks.at(std::size_t(level));
    if (const auto counter = DetailFieldCounter(name)) return CounterText(group.Counters(List.SlotCount - 1), *counter);
    return CollectValue(group, name, List.SlotCount);
}

std::string TListValues::TotalValue(const std::string &name) const
{
    const int total = List.SlotCount - 1;
    if (const auto counter = name == "COST" ? TCounter::Cost : DetailFieldCounter(name))
        return CounterText(List.ZoneTotal(total), *counter);
    const auto cell = CounterCell(name, List.SlotCount);
    return cell ? CounterText(List.ZoneTotal(cell->Slot), cell->Counter) : std::string();
}

int TListValues::ItemLevel() const
{
    return ProvidedLevel >= 0 ? ProvidedLevel : FormatLevel(Modules.ListFormat);
}

formats::TValueProviders TListValues::Providers()
{
    ProvidedLevel = FormatLevel(Modules.ListFormat);
    return {
        [this](const std::string &name) { return ItemValue(name); },
        [this](int level, const std::string &name) { return ControlBreakValue(level, name); },
        [this](int level, const std::string &name) { return SubtotalValue(level, name); },
        [this](const std::string &name) { return TotalValue(name); },
    };
}

}  // namespace app
