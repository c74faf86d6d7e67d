#pragma once
// Counter block of one group: calls, durations, impulses and costs per
// summarized zone, the last slot the total, followed by the group's key
// fields. Read in one block; decoded only when asked. The aggregation side
// turns a key-sorted stream of input records into such records.
#include "model/FieldListUnit.h"
#include "platform/StreamUnit.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace model {

// Summarized zones + 1; set by the list opener before records are built.
extern int SlotCount;
constexpr int CounterSlotSize = 36;

struct TCounterSlot {   // decoded view of one 36-byte slot
    std::int32_t Piece = 0, Duration = 0, CalcDur = 0, Impulse = 0;
    double Cost = 0.0, ReadInCost = 0.0;
    std::int32_t RingTime = 0;
};
TCounterSlot ReadCounterSlot(const std::uint8_t *slot);
void WriteCounterSlot(std::uint8_t *slot, const TCounterSlot &value);

// Where the counters of the current input record are; each may be absent.
struct TCounterSources {
    const std::int32_t *Duration = nullptr, *CalcDur = nullptr, *Impulse = nullptr;
    const double *Cost = nullptr, *ReadInCost = nullptr;
    const std::int32_t *RingTime = nullptr, *ZoneIndex = nullptr;
};

class TCollectRecord : public TFieldList {
public:
    // The record keeps the slot count in force at construction, so a later
    // change of SlotCount never corrupts an existing record.
    explicit TCollectRecord(const TCounterSources &sources = {}, int slotCount = SlotCount);
    virtual ~TCollectRecord();

    // Key slots follow the counter block; the counters are cleared.
    void AddField(const std::string &name, std::unique_ptr<TTarvilexField> field);
    virtual int Length() const;              // Slots() * 36 + key slot widths
    virtual void WriteRecord(std::int32_t recordNumber);   // buffer to F, Count + 1, cleared
    virtual void ReadRecord();               // Length() bytes from F's position
    virtual void AddRecord(std::int32_t recordNumber);     // counters only
    // One record of a flat collect stream (one record per distinct key).
    void AddInputRecord();
    void ClearRecord();                      // counters to zero, Empty; keys stay

    int Slots() const { return SlotTotal; }
    TCounterSlot Counters(int slot) const;   // slot Slots()-1 is the total
    std::uint8_t *Buffer() { return Bytes.data(); }
    const std::uint8_t *Buffer() const { return Bytes.data(); }
    std::uint8_t *CounterSlot(int slot);     // raw slot inside Buffer()

    // Display text of a key field; floats in the general form with ".".
    std::string FieldValueAsString(std::string_view name) const;

    bool Empty = true;
    std::int32_t Count = 0;
    TCounterSources Sources;                 // the seven input pointers
    const std::uint8_t *CounterSource = nullptr;   // block AddCollectRecord adds in
    platform::TStream *F = nullptr;          // borrowed

protected:
    // Compares the key fields with their sources; at the first difference a
    // pending group is written (virtual WriteRecord with recordNumber) while
    // it still holds its complete key; then the new key values are taken.
    void TakeKeys(std::int32_t recordNumber);
    // PIECE + 1 and the set sources into the total slot and the zone's slot.
    void AbsorbCounters();
    // Adds every counter of every slot of the block at CounterSource.
    void AbsorbCounterBlock();
    platform::TStream &Stream() const;       // F, or an error when there is none

private:
    int SlotTotal;
    std::vector<std::uint8_t> Bytes;
};

}  // namespace model
