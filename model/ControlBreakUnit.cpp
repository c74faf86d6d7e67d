#include "model/ControlBreakUnit.h"

namespace model {

TControlBreak::TControlBreak(const TCounterSources &sources, int slotCount) : TCollectRecord(sources, slotCount) {}

void TControlBreak::WriteRecord(std::int32_t recordNumber)
{
    if (Empty) return;
    // The inner level's pending group is about to get the number Count + 1.
    Last = Next ? Next->Count + 1 : recordNumber - 1;
    std::uint8_t range[8];
    platform::WriteLE32(range, First);
    platform::WriteLE32(range + 4, Last);
    Stream().WriteBuffer(range, sizeof range);
    TCollectRecord::WriteRecord(recordNumber);
    if (Next) {
        Next->WriteRecord(recordNumber);
        First = Next->Count + 1;
    } else {
        First = recordNumber;
    }
}

void TControlBreak::ReadRecord()
{
    std::uint8_t range[8];
    Stream().ReadBuffer(range, sizeof range);
    TCollectRecord::ReadRecord();
    First = platform::ReadLE32(range);
    Last = platform::ReadLE32(range + 4);
}

void TControlBreak::AddRecord(std::int32_t recordNumber)
{
    TakeKeys(recordNumber);
    AbsorbCounters();
    Empty = false;
    if (Next) Next->AddRecord(recordNumber);
}

void TControlBreak::AddCollectRecord(std::int32_t recordNumber)
{
    TakeKeys(recordNumber);
    AbsorbCounterBlock();
    Empty = false;
    if (Next) Next->AddCollectRecord(recordNumber);
}

}  // namespace model
