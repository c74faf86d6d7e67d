#pragma once
// One control-break level: a collect record preceded by the range of records
// its group covers (detail records for the innermost level, break records of
// the next inner level otherwise). Levels chain outermost first through Next.
#include "model/CollectRecordUnit.h"

#include <cstdint>

namespace model {

class TControlBreak : public TCollectRecord {
public:
    explicit TControlBreak(const TCounterSources &sources = {}, int slotCount = SlotCount);
    // Closes the pending group of this level and of every inner level.
    void WriteRecord(std::int32_t recordNumber) override;
    void ReadRecord() override;             // First, Last, collect record
    // Absorbs detail record recordNumber (1-based) here and in the inner levels.
    void AddRecord(std::int32_t recordNumber) override;
    // Absorbs the counter block at CounterSource here and in the inner levels.
    void AddCollectRecord(std::int32_t recordNumber);
    int FullLength() const { return Length() + 8; }

    TControlBreak *Next = nullptr;          // borrowed: the owner of the levels keeps them
    std::int32_t First = 1, Last = 0, RecNo = 0;
    std::int64_t Position = 0;              // file offset of this level's first break record
    void *Grid = nullptr;                   // the main window's grid of this level
    std::int64_t RangeStart = 0;
};

}  // namespace model
