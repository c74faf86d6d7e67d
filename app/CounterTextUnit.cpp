#include "app/CounterTextUnit.h"

#include "dictionary/LanguageUnit.h"

#include <stdexcept>

namespace app {

namespace {

struct TSubField {
    TCounter Counter;
    const char *ShortTitle;
};
const TSubField SubFields[SubFieldCount] = {
    {TCounter::Piece, "_PieceShort"},       {TCounter::Impulse, "_ImpulseShort"},
    {TCounter::Duration, "_DurationShort"}, {TCounter::Cost, "_CostShort"},
    {TCounter::ReadInCost, "_ReadInCostShort"}, {TCounter::CalcDur, "_CalcDurShort"},
    {TCounter::RingTime, "_RingTimeShort"},
};

const TSubField &SubField(int code)
{
    if (code < 1 || code > SubFieldCount)
        throw std::out_of_range("CounterTextUnit: Invalid sub-field code " + std::to_string(code));
    return SubFields[code - 1];
}

}  // namespace

std::string CounterText(const model::TCounterSlot &slot, TCounter counter)
{
    switch (counter) {
    case TCounter::Piece: return std::to_string(slot.Piece);
    case TCounter::Impulse: return std::to_string(slot.Impulse);
    case TCounter::Duration: return dictionary::FormatDuration(slot.Duration);
    case TCounter::Cost: return dictionary::FormatMoney(slot.Cost);
    case TCounter::ReadInCost: return dictionary::FormatMoney(slot.ReadInCost);
    case TCounter::CalcDur: return dictionary::FormatDuration(slot.CalcDur);
    case TCounter::RingTime: return dictionary::FormatDuration(slot.RingTime);
    }
    return std::string();
}

TCounter SubFieldCounter(int code) { return SubField(code).Counter; }

std::optional<TCounter> DetailFieldCounter(std::string_view field)
{
    struct TName { const char *Field; TCounter Counter; };
    static const TName fields[] = {
        {"IMPULSE", TCounter::Impulse}, {"DURATION", TCounter::Duration},     {"CALCDUR", TCounter::CalcDur},
        {"PRICE", TCounter::Cost},      {"READINPRICE", TCounter::ReadInCost}, {"RINGTIME", TCounter::RingTime},
    };
    for (const auto &f : fields)
        if (field == f.Field) return f.Counter;
    return std::nullopt;
}
const char *SubFieldShortTitle(int code) { return SubField(code).ShortTitle; }

bool CounterByName(std::string_view name, TCounter &counter)
{
    struct TName { const char *Name; TCounter Counter; };
    static const TName names[] = {
        {"PIECE", TCounter::Piece},       {"IMPULSE", TCounter::Impulse}, {"DURATION", TCounter::Duration},
        {"COST", TCounter::Cost},         {"READINCOST", TCounter::ReadInCost}, {"CALCDUR", TCounter::CalcDur},
        {"RINGTIME", TCounter::RingTime},
    };
    for (const auto &n : names)
        if (name == n.Name) {
            counter = n.Counter;
            return true;
        }
    return false;
}

std::optional<TCounterCell> ParseCounterCellName(std::string_view name, int slotCount)
{
    const auto underscore = name.find('_');
    if (underscore == std::string_view::npos) return std::nullopt;
    const std::string_view counterName = name.substr(0, underscore);
    TCounterCell cell;
    const char slot = underscore + 1 < name.size() ? name[underscore + 1] : '\0';
    if (slot == 'T')
        cell.Slot = slotCount - 1;
    else if (slot >= '0' && slot <= '9')
        cell.Slot = slot - '0';
    else
        cell.Slot = -1;
    // A zone the list does not have would read past the counter block.
    if (!CounterByName(counterName, cell.Counter) || cell.Slot < 0 || cell.Slot >= slotCount)
        throw std::runtime_error("ListViewUnit: Invalid field name: " + std::string(counterName));
    return cell;
}

}  // namespace app
