#pragma once
// Texts of the seven counters of a counter slot, as the grid, the totals
// headers and the value providers of the outputs show them.
#include "model/CollectRecordUnit.h"

#include <optional>
#include <string>
#include <string_view>

namespace app {

enum class TCounter { Piece, Impulse, Duration, Cost, ReadInCost, CalcDur, RingTime };

// Counts in decimal, durations as h:mm:ss, costs with the money rules.
std::string CounterText(const model::TCounterSlot &slot, TCounter counter);

// The View menu's sub-fields, codes 1 to 7 in menu order.
constexpr int SubFieldCount = 7;
TCounter SubFieldCounter(int code);
const char *SubFieldShortTitle(int code);        // dictionary key, e.g. "_PieceShort"

// "PIECE", "COST", ...; false for any other name.
bool CounterByName(std::string_view name, TCounter &counter);

// The counter that totals a column of detail records (IMPULSE, DURATION,
// CALCDUR, PRICE, READINPRICE, RINGTIME); empty for any other column.
std::optional<TCounter> DetailFieldCounter(std::string_view field);

// A counter cell name: a counter name, "_" and the slot character ("T" the
// total slot, a digit a zone slot), e.g. "COST_T". Only the character right
// after the first "_" counts.
struct TCounterCell {
    TCounter Counter = TCounter::Piece;
    int Slot = 0;
};
// std::nullopt for a name without "_"; an unknown counter name or a slot the
// list does not have raises "ListViewUnit: Invalid field name: " + the name.
std::optional<TCounterCell> ParseCounterCellName(std::string_view name, int slotCount);

}  // namespace app
