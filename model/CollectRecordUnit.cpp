#include "model/CollectRecordUnit.h"

#include <cstring>
#include <stdexcept>

namespace model {

int SlotCount = 1;

namespace {

// Byte offsets inside one counter slot.
enum : int { oPiece = 0, oDuration = 4, oCalcDur = 8, oImpulse = 12, oCost = 16, oReadInCost = 24, oRingTime = 32 };

void AddInt32(std::uint8_t *p, std::int32_t value)
{
    // Counters wrap like the producing system's 32-bit integers, without
    // signed overflow.
    const auto sum = static_cast<std::uint32_t>(platform::ReadLE32(p)) + static_cast<std::uint32_t>(value);
    platform::WriteLE32(p, static_cast<std::int32_t>(sum));
}

void AddDouble(std::uint8_t *p, double value)
{
    platform::WriteLEDouble(p, platform::ReadLEDouble(p) + value);
}

}  // namespace

TCounterSlot ReadCounterSlot(const std::uint8_t *slot)
{
    TCounterSlot value;
    value.Piece = platform::ReadLE32(slot + oPiece);
    value.Duration = platform::ReadLE32(slot + oDuration);
    value.CalcDur = platform::ReadLE32(slot + oCalcDur);
    value.Impulse = platform::ReadLE32(slot + oImpulse);
    value.Cost = platform::ReadLEDouble(slot + oCost);
    value.ReadInCost = platform::ReadLEDouble(slot + oReadInCost);
    value.RingTime = platform::ReadLE32(slot + oRingTime);
    return value;
}

void WriteCounterSlot(std::uint8_t *slot, const TCounterSlot &value)
{
    platform::WriteLE32(slot + oPiece, value.Piece);
    platform::WriteLE32(slot + oDuration, value.Duration);
    platform::WriteLE32(slot + oCalcDur, value.CalcDur);
    platform::WriteLE32(slot + oImpulse, value.Impulse);
    platform::WriteLEDouble(slot + oCost, value.Cost);
    platform::WriteLEDouble(slot + oReadInCost, value.ReadInCost);
    platform::WriteLE32(slot + oRingTime, value.RingTime);
}

TCollectRecord::TCollectRecord(const TCounterSources &sources, int slotCount) : Sources(sources), SlotTotal(slotCount)
{
    if (slotCount < 1)
        throw std::invalid_argument("CollectRecordUnit: Invalid slot count! " + std::to_string(slotCount));
    Bytes.assign(std::size_t(slotCount) * CounterSlotSize, 0);
    ClearRecord();
}

TCollectRecord::~TCollectRecord() = default;

void TCollectRecord::AddField(const std::string &name, std::unique_ptr<TTarvilexField> field)
{
    const int offset = Length();
    AppendField(name, std::move(field)).Offset = offset;
    Bytes.assign(std::size_t(SlotTotal) * CounterSlotSize + std::size_t(FieldsLength()), 0);
    PlaceFields(Bytes.data() + std::size_t(SlotTotal) * CounterSlotSize);
    ClearRecord();
}

int TCollectRecord::Length() const
{
    return int(Bytes.size());
}

platform::TStream &TCollectRecord::Stream() const
{
    if (!F) throw std::logic_error("CollectRecordUnit: No stream for the record!");
    return *F;
}

void TCollectRecord::WriteRecord(std::int32_t)
{
    Stream().WriteBuffer(Bytes.data(), Bytes.size());
    ++Count;
    ClearRecord();
}

void TCollectRecord::ReadRecord()
{
    Stream().ReadBuffer(Bytes.data(), Bytes.size());
}

void TCollectRecord::AddRecord(std::int32_t)
{
    AbsorbCounters();
}

void TCollectRecord::AddInputRecord()
{
    TakeKeys(0);
    AbsorbCounters();
    Empty = false;
}

void TCollectRecord::ClearRecord()
{
    std::memset(Bytes.data(), 0, std::size_t(SlotTotal) * CounterSlotSize);
    Empty = true;
}

TCounterSlot TCollectRecord::Counters(int slot) const
{
    if (slot < 0 || slot >= SlotTotal)
        throw std::out_of_range("CollectRecordUnit: Invalid slot! " + std::to_string(slot));
    return ReadCounterSlot(Bytes.data() + std::size_t(slot) * CounterSlotSize);
}

std::uint8_t *TCollectRecord::CounterSlot(int slot)
{
    if (slot < 0 || slot >= SlotTotal)
        throw std::out_of_range("CollectRecordUnit: Invalid slot! " + std::to_string(slot));
    return Bytes.data() + std::size_t(slot) * CounterSlotSize;
}

std::string TCollectRecord::FieldValueAsString(std::string_view name) const
{
    return DisplayText(name, false);
}

void TCollectRecord::TakeKeys(std::int32_t recordNumber)
{
    bool written = false;
    for (int i = 0; i < FieldCount(); ++i) {
        TTarvilexField &field = Field(i);
        if (!field.Source) throw std::logic_error("CollectRecordUnit: Key field without source! " + FieldName(i));
        if (FieldValuesEqual(field)) continue;
        if (!written) {
            written = true;
            if (!Empty) WriteRecord(recordNumber);
        }
        std::memcpy(field.Data, field.Source, std::size_t(FieldSize(field)));
    }
}

void TCollectRecord::AbsorbCounters()
{
    if (!Sources.ZoneIndex) throw std::logic_error("CollectRecordUnit: Zone index source not set!");
    const std::int32_t zone = *Sources.ZoneIndex;
    // Checked before anything is added, so a bad record leaves no trace.
    if (zone < 0 || zone >= SlotTotal)
        throw std::out_of_range("CollectRecordUnit: Invalid zone index! " + std::to_string(zone));
    for (const int slot : {SlotTotal - 1, int(zone)}) {
        std::uint8_t *p = Bytes.data() + std::size_t(slot) * CounterSlotSize;
        AddInt32(p + oPiece, 1);
        if (Sources.Duration) AddInt32(p + oDuration, *Sources.Duration);
        if (Sources.CalcDur) AddInt32(p + oCalcDur, *Sources.CalcDur);
        if (Sources.Impulse) AddInt32(p + oImpulse, *Sources.Impulse);
        if (Sources.Cost) AddDouble(p + oCost, *Sources.Cost);
        if (Sources.ReadInCost) AddDouble(p + oReadInCost, *Sources.ReadInCost);
        if (Sources.RingTime) AddInt32(p + oRingTime, *Sources.RingTime);
    }
}

void TCollectRecord::AbsorbCounterBlock()
{
    if (!CounterSource) throw std::logic_error("CollectRecordUnit: Counter source not set!");
    for (int slot = 0; slot < SlotTotal; ++slot) {
        std::uint8_t *p = Bytes.data() + std::size_t(slot) * CounterSlotSize;
        const std::uint8_t *q = CounterSource + std::size_t(slot) * CounterSlotSize;
        for (const int o : {oPiece, oDuration, oCalcDur, oImpulse, oRingTime}) AddInt32(p + o, platform::ReadLE32(q + o));
        for (const int o : {oCost, oReadInCost}) AddDouble(p + o, platform::ReadLEDouble(q + o));
    }
}

}  // namespace model
