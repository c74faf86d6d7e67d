#include "formats/OutputPlanUnit.h"

#include <stdexcept>

namespace formats {

void TOutputPlan::Clear()
{
    Entries_.clear();
    Position_ = 0;
}

void TOutputPlan::AddItems(std::int32_t first, std::int32_t count, std::int32_t level)
{
    Entries_.push_back({TEntryKind::Items, first, count, level});
}

void TOutputPlan::AddGroupHeader(std::int32_t first, std::int32_t level)
{
    Entries_.push_back({TEntryKind::GroupHeader, first, 1, level});
}

void TOutputPlan::AddSubtotal(std::int32_t first, std::int32_t level)
{
    Entries_.push_back({TEntryKind::Subtotal, first, 1, level});
}

void TOutputPlan::AddEnd()
{
    Entries_.push_back({TEntryKind::End, 0, 0, 0});
}

const TPlanEntry &TOutputPlan::Current() const
{
    if (AtEnd()) throw std::out_of_range("OutputPlanUnit: Read past the end of the output plan!");
    return Entries_[Position_];
}

}  // namespace formats
