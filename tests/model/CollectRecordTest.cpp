// Collect records and control breaks: counter layout, record lengths,
// reading, and the aggregation of sorted input into groups.
#include "model/ControlBreakUnit.h"
#include "model/DataRecordUnit.h"
#include "platform/StreamUnit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace model;

namespace {

std::unique_ptr<TTarvilexField> MakeField(std::uint8_t type, int length = 0)
{
    return std::make_unique<TTarvilexField>(type, length);
}

// An input detail record with two string keys, its counters and the
// sources a collect record needs to absorb it.
struct TInput {
    TTarvilexDataRecord Record;
    TCounterSources Sources;
    std::int32_t Zone = 0, Duration = 0;
    double CostValue = 0.0;

    TInput()
    {
        Record.AddField("X", MakeField(ftString, 4));
        Record.AddField("Y", MakeField(ftString, 4));
        Sources.Duration = &Duration;
        Sources.ZoneIndex = &Zone;
    }
    std::uint8_t *Value(const char *name) { return Record.FindField(name)->Data; }
    void Set(const char *x, const char *y, int duration, double cost)
    {
        Record.SetFieldValue("X", x);
        Record.SetFieldValue("Y", y);
        Duration = duration;
        CostValue = cost;
    }
};

// A level keyed by the input's field `key`, writing to `stream`.
std::unique_ptr<TControlBreak> MakeLevel(TInput &input, const char *key, platform::TStream &stream, int slots)
{
    TCounterSources sources = input.Sources;
    sources.Cost = &input.CostValue;
    auto level = std::make_unique<TControlBreak>(sources, slots);
    level->AddField(key, MakeField(ftString, 4));
    level->FindField(key)->Source = input.Value(key);
    level->F = &stream;
    return level;
}

struct TBreakRow {
    std::string Key;
    std::int32_t First, Last, Piece;
};

// Reads every break record of a level's stream back through a fresh reader.
std::vector<TBreakRow> ReadLevel(platform::TMemoryStream &stream, const char *key, int slots)
{
    TControlBreak reader({}, slots);
    reader.AddField(key, MakeField(ftString, 4));
    reader.F = &stream;
    std::vector<TBreakRow> rows;
    stream.Seek(0);
    while (stream.Position() < stream.Size()) {
        reader.ReadRecord();
        rows.push_back({reader.FieldValueAsString(key), reader.First, reader.Last, reader.Counters(slots - 1).Piece});
    }
    return rows;
}

}  // namespace

TEST(CollectRecord, CounterSlotLayout)
{
    TCounterSlot value;
    value.Piece = 1;
    value.Duration = 0x01020304;
    value.CalcDur = 5;
    value.Impulse = -1;
    value.Cost = 1.5;
    value.ReadInCost = -2.0;
    value.RingTime = 7;
    std::uint8_t slot[CounterSlotSize + 1];
    slot[CounterSlotSize] = 0xAA;
    WriteCounterSlot(slot, value);
    const std::uint8_t expected[CounterSlotSize] = {
        1, 0, 0, 0,   4, 3, 2, 1,   5, 0, 0, 0,   0xFF, 0xFF, 0xFF, 0xFF,
        0, 0, 0, 0, 0, 0, 0xF8, 0x3F,          // 1.5
        0, 0, 0, 0, 0, 0, 0x00, 0xC0,          // -2.0
        7, 0, 0, 0};
    EXPECT_EQ(std::memcmp(slot, expected, CounterSlotSize), 0);
    EXPECT_EQ(slot[CounterSlotSize], 0xAA);

    const TCounterSlot back = ReadCounterSlot(expected);
    EXPECT_EQ(back.Piece, 1);
    EXPECT_EQ(back.Duration, 0x01020304);
    EXPECT_EQ(back.Impulse, -1);
    EXPECT_EQ(back.Cost, 1.5);
    EXPECT_EQ(back.ReadInCost, -2.0);
    EXPECT_EQ(back.RingTime, 7);
}

TEST(CollectRecord, LengthsAndKeyOffsets)
{
    TCollectRecord single({}, 1);
    EXPECT_EQ(single.Length(), 36);   // no zones: the total slot only

    TControlBreak level({}, 3);       // two summarized zones
    level.AddField("NAME", MakeField(ftString, 20));
    level.AddField("NUMBER", MakeField(ftInteger));
    EXPECT_EQ(level.Length(), 133);
    EXPECT_EQ(level.FullLength(), 141);
    EXPECT_EQ(level.FindField("NAME")->Offset, 108);
    EXPECT_EQ(level.FindField("NUMBER")->Offset, 129);
    EXPECT_EQ(level.FindField("NUMBER")->Data, level.Buffer() + 129);
    EXPECT_TRUE(level.Empty);
    EXPECT_EQ(level.First, 1);
    EXPECT_EQ(level.Last, 0);
}

TEST(CollectRecord, KeepsSlotCountOfConstruction)
{
    const int saved = SlotCount;
    SlotCount = 3;
    TCollectRecord record;
    SlotCount = 1;
    EXPECT_EQ(record.Slots(), 3);
    EXPECT_EQ(record.Length(), 108);
    EXPECT_EQ(TCollectRecord().Length(), 36);
    SlotCount = saved;
    EXPECT_THROW(TCollectRecord({}, 0), std::invalid_argument);
}

TEST(CollectRecord, SingleLevelGroups)
{
    TInput input;
    platform::TMemoryStream stream;
    auto level = MakeLevel(input, "X", stream, 2);
    const struct { const char *x; int duration; double cost; } records[] = {{"A", 10, 1.25}, {"A", 20, 2.5}, {"B", 30, 4.0}};
    for (int n = 1; n <= 3; ++n) {
        input.Set(records[n - 1].x, "", records[n - 1].duration, records[n - 1].cost);
        level->AddRecord(n);
    }
    level->WriteRecord(4);
    EXPECT_EQ(level->Count, 2);
    EXPECT_TRUE(level->Empty);
    ASSERT_EQ(stream.Size(), 2 * level->FullLength());

    // First precedes Last on disk.
    EXPECT_EQ(platform::ReadLE32(stream.Data().data()), 1);
    EXPECT_EQ(platform::ReadLE32(stream.Data().data() + 4), 2);

    const auto rows = ReadLevel(stream, "X", 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Key, "A");
    EXPECT_EQ(rows[0].First, 1);
    EXPECT_EQ(rows[0].Last, 2);
    EXPECT_EQ(rows[0].Piece, 2);
    EXPECT_EQ(rows[1].Key, "B");
    EXPECT_EQ(rows[1].First, 3);
    EXPECT_EQ(rows[1].Last, 3);
    EXPECT_EQ(rows[1].Piece, 1);

    // The counters of group A in its zone slot and the total.
    TControlBreak reader({}, 2);
    reader.AddField("X", MakeField(ftString, 4));
    reader.F = &stream;
    stream.Seek(0);
    reader.ReadRecord();
    for (int slot : {0, 1}) {
        const TCounterSlot a = reader.Counters(slot);
        EXPECT_EQ(a.Piece, 2) << slot;
        EXPECT_EQ(a.Duration, 30) << slot;
        EXPECT_EQ(a.Cost, 3.75) << slot;
        EXPECT_EQ(a.CalcDur, 0) << slot;   // no source
    }
}

TEST(CollectRecord, TwoLevelsChainRanges)
{
    TInput input;
    platform::TMemoryStream outerStream, innerStream;
    auto outer = MakeLevel(input, "X", outerStream, 1);
    auto inner = MakeLevel(input, "Y", innerStream, 1);
    outer->Next = inner.get();
    const struct { const char *x, *y; } records[] = {{"X1", "Y1"}, {"X1", "Y2"}, {"X2", "Y2"}};
    for (int n = 1; n <= 3; ++n) {
        input.Set(records[n - 1].x, records[n - 1].y, 1, 0.0);
        outer->AddRecord(n);
    }
    outer->WriteRecord(4);

    const auto innerRows = ReadLevel(innerStream, "Y", 1);
    ASSERT_EQ(innerRows.size(), 3u);
    const TBreakRow innerExpected[] = {{"Y1", 1, 1, 0}, {"Y2", 2, 2, 0}, {"Y2", 3, 3, 0}};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(innerRows[i].Key, innerExpected[i].Key) << i;
        EXPECT_EQ(innerRows[i].First, innerExpected[i].First) << i;
        EXPECT_EQ(innerRows[i].Last, innerExpected[i].Last) << i;
    }
    const auto outerRows = ReadLevel(outerStream, "X", 1);
    ASSERT_EQ(outerRows.size(), 2u);
    EXPECT_EQ(outerRows[0].Key, "X1");
    EXPECT_EQ(outerRows[0].First, 1);
    EXPECT_EQ(outerRows[0].Last, 2);
    EXPECT_EQ(outerRows[1].Key, "X2");
    EXPECT_EQ(outerRows[1].First, 3);
    EXPECT_EQ(outerRows[1].Last, 3);
    // One slot: the zone index 0 is the total's, so every record counts twice.
    EXPECT_EQ(outerRows[0].Piece, 4);
    EXPECT_EQ(innerRows[2].Piece, 2);
    EXPECT_EQ(outer->Count, 2);
    EXPECT_EQ(inner->Count, 3);
}

TEST(CollectRecord, WriteOnEmptyLevelWritesNothing)
{
    platform::TMemoryStream stream;
    TControlBreak level({}, 1);
    level.F = &stream;
    level.WriteRecord(5);
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(level.Count, 0);
    EXPECT_EQ(level.First, 1);
    EXPECT_EQ(level.Last, 0);
}

TEST(CollectRecord, NullSourcesLeaveTheirCounters)
{
    std::int32_t zone = 1, duration = 100, ring = 7;
    double readIn = 0.5;
    TCounterSources sources;
    sources.ZoneIndex = &zone;
    sources.Duration = &duration;
    sources.ReadInCost = &readIn;
    sources.RingTime = &ring;
    TCollectRecord record(sources, 3);
    record.AddRecord(0);
    record.AddRecord(0);
    EXPECT_TRUE(record.Empty);   // AddRecord counts only
    for (int slot : {1, 2}) {
        const TCounterSlot c = record.Counters(slot);
        EXPECT_EQ(c.Piece, 2) << slot;
        EXPECT_EQ(c.Duration, 200) << slot;
        EXPECT_EQ(c.CalcDur, 0) << slot;
        EXPECT_EQ(c.Impulse, 0) << slot;
        EXPECT_EQ(c.Cost, 0.0) << slot;
        EXPECT_EQ(c.ReadInCost, 1.0) << slot;
        EXPECT_EQ(c.RingTime, 14) << slot;
    }
    EXPECT_EQ(record.Counters(0).Piece, 0);
    EXPECT_THROW(record.Counters(3), std::out_of_range);

    record.ClearRecord();
    EXPECT_EQ(record.Counters(2).Piece, 0);
}

TEST(CollectRecord, BadZoneIndexIsRefused)
{
    std::int32_t zone = 0;
    TCounterSources sources;
    sources.ZoneIndex = &zone;
    TCollectRecord record(sources, 2);
    for (std::int32_t bad : {2, -1, 1000000}) {
        zone = bad;
        EXPECT_THROW(record.AddRecord(0), std::out_of_range) << bad;
    }
    EXPECT_EQ(record.Counters(1).Piece, 0);   // nothing half-added

    TCollectRecord noZone({}, 2);
    EXPECT_THROW(noZone.AddRecord(0), std::logic_error);
}

TEST(CollectRecord, FlatStreamOneRecordPerKey)
{
    TInput input;
    platform::TMemoryStream stream;
    TCollectRecord record(input.Sources, 1);
    record.AddField("X", MakeField(ftString, 4));
    record.FindField("X")->Source = input.Value("X");
    record.F = &stream;
    const char *keys[] = {"A", "A", "B"};
    for (const char *key : keys) {
        input.Set(key, "", 5, 0.0);
        record.AddInputRecord();
        EXPECT_FALSE(record.Empty);
    }
    record.WriteRecord(0);
    EXPECT_EQ(record.Count, 2);
    ASSERT_EQ(stream.Size(), 2 * 41);

    TCollectRecord reader({}, 1);
    reader.AddField("X", MakeField(ftString, 4));
    reader.F = &stream;
    stream.Seek(0);
    reader.ReadRecord();
    EXPECT_EQ(reader.FieldValueAsString("X"), "A");
    EXPECT_EQ(reader.Counters(0).Piece, 4);      // zone 0 is the total: twice per record
    EXPECT_EQ(reader.Counters(0).Duration, 20);
    reader.ReadRecord();
    EXPECT_EQ(reader.FieldValueAsString("X"), "B");
    EXPECT_EQ(reader.Counters(0).Piece, 2);
}

TEST(CollectRecord, CollectRecordsAddAllCounters)
{
    // Input: a summary record whose block is summed into two levels.
    TCollectRecord input({}, 2);
    input.AddField("K", MakeField(ftInteger));
    platform::TMemoryStream outerStream, innerStream;
    TControlBreak outer({}, 2), inner({}, 2);
    for (TControlBreak *level : {&outer, &inner}) {
        level->AddField("K", MakeField(ftInteger));
        level->FindField("K")->Source = input.FindField("K")->Data;
        level->CounterSource = input.Buffer();
    }
    outer.F = &outerStream;
    inner.F = &innerStream;
    outer.Next = &inner;

    const TCounterSlot zone{1, 10, 11, 12, 1.5, 2.25, 13};
    const TCounterSlot total{2, 20, 22, 24, 3.0, 4.5, 26};
    WriteCounterSlot(input.CounterSlot(0), zone);
    WriteCounterSlot(input.CounterSlot(1), total);
    input.SetFieldValue("K", "7");
    outer.AddCollectRecord(1);
    outer.AddCollectRecord(2);
    input.SetFieldValue("K", "8");
    outer.AddCollectRecord(3);
    EXPECT_EQ(outer.Count, 1);
    EXPECT_EQ(outer.FieldValueAsInteger("K"), 8);

    outerStream.Seek(0);
    outer.ReadRecord();
    EXPECT_EQ(outer.First, 1);
    EXPECT_EQ(outer.Last, 1);
    EXPECT_EQ(outer.FieldValueAsInteger("K"), 7);
    for (TCollectRecord *level : {static_cast<TCollectRecord *>(&outer), static_cast<TCollectRecord *>(&inner)}) {
        if (level == &inner) {
            innerStream.Seek(0);
            inner.ReadRecord();
        }
        const TCounterSlot z = level->Counters(0), t = level->Counters(1);
        EXPECT_EQ(z.Piece, 2);
        EXPECT_EQ(z.Duration, 20);
        EXPECT_EQ(z.CalcDur, 22);
        EXPECT_EQ(z.Impulse, 24);
        EXPECT_EQ(z.Cost, 3.0);
        EXPECT_EQ(z.ReadInCost, 4.5);
        EXPECT_EQ(z.RingTime, 26);
        EXPECT_EQ(t.Piece, 4);
        EXPECT_EQ(t.RingTime, 52);
    }
    EXPECT_EQ(inner.First, 1);
    EXPECT_EQ(inner.Last, 2);
}

TEST(CollectRecord, KeyDisplayAndMissingStream)
{
    TCollectRecord record({}, 1);
    record.AddField("RATE", MakeField(ftFloat));
    record.AddField("DURATION", MakeField(ftInteger));
    record.SetFieldValue("RATE", "0.5");
    record.SetFieldValue("DURATION", "3725");
    EXPECT_EQ(record.FieldValueAsString("RATE"), "0.5");
    EXPECT_EQ(record.FieldValueAsString("DURATION"), "1:02:05");
    EXPECT_THROW(record.ReadRecord(), std::logic_error);

    platform::TMemoryStream shortStream(std::vector<std::uint8_t>(20));
    record.F = &shortStream;
    EXPECT_THROW(record.ReadRecord(), platform::TStreamError);
}
