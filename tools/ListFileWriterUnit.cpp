#include "tools/ListFileWriterUnit.h"

#include "dictionary/LanguageUnit.h"
#include "platform/CodePageUnit.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace tools {

namespace {

constexpr const char *UnitName = "ListFileWriterUnit: ";

// Container header: reserved block, generation time, N, period, X.
constexpr int ReservedSize = 41;
constexpr std::int64_t RecordCountOffset = 49;

// Copying a level stream into the list file goes in blocks of this size.
constexpr std::size_t CopyBlockSize = 1 << 20;

pugi::xml_node RequiredChild(pugi::xml_node parent, const char *path)
{
    pugi::xml_node node = parent.first_element_by_path(path);
    if (!node)
        throw TListWriterError(std::string(UnitName) + "The generation document has no " + path + " element!");
    return node;
}

void WriteText(platform::TStream &out, const std::string &utf8)
{
    const std::string bytes = platform::SystemCodePage().Encode(utf8);
    out.WriteInt32(std::int32_t(bytes.size()));
    out.WriteBuffer(bytes.data(), bytes.size());
}

std::string GenerationDocumentBytes(pugi::xml_node generation)
{
    platform::TXmlDocument document;
    pugi::xml_node declaration = document.Document().append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "ISO-8859-2";
    declaration.append_attribute("standalone") = "yes";
    document.Document().append_copy(generation);
    return document.SaveToText();
}

}  // namespace

TListFileWriter::TListFileWriter(const std::string &fileName, const TListHeader &header, pugi::xml_node generation)
    : FileName(fileName)
{
    if (std::string_view(generation.name()) != "listgeneration")
        throw TListWriterError(std::string(UnitName) + "The generation document must be a listgeneration element!");
    BuildLayouts(generation);
    const std::string document = GenerationDocumentBytes(generation);

    try {
        OpenStreams(header, document);
    } catch (...) {
        // No destructor runs for a half-built writer: clean up here.
        RemoveFiles();
        throw;
    }
}

void TListFileWriter::OpenStreams(const TListHeader &header, const std::string &document)
{
    Out = std::make_unique<platform::TFileStream>(FileName, platform::TFileStream::TMode::Create);
    const std::uint8_t reserved[ReservedSize] = {};
    Out->WriteBuffer(reserved, sizeof reserved);
    Out->WriteDouble(header.GenerationTime);
    Out->WriteInt32(0);   // the record count is known at Finish
    Out->WriteDouble(header.FirstDay);
    Out->WriteDouble(header.LastDay);
    Out->WriteInt32(std::int32_t(document.size()));
    WriteText(*Out, header.FirstText);
    WriteText(*Out, header.Remark);
    Out->WriteBuffer(document.data(), document.size());
    RecordStart = Out->Position();

    if (Item) Item->F = Out.get();
    // Each level collects its break records in a stream of its own; the list
    // file holds the levels one after the other, so they are appended at the end.
    for (std::size_t k = 0; k < Levels.size(); ++k) {
        LevelFileNames.push_back(FileName + ".level" + std::to_string(k) + ".tmp");
        LevelStreams.push_back(
            std::make_unique<platform::TFileStream>(LevelFileNames.back(), platform::TFileStream::TMode::Create));
        Levels[k]->F = LevelStreams.back().get();
    }
}

TListFileWriter::~TListFileWriter()
{
    if (!Finished) RemoveFiles();
}

void TListFileWriter::RemoveFiles()
{
    // A file that could not be created is someone else's: it stays.
    const bool created = Out != nullptr;
    Out.reset();
    LevelStreams.clear();
    for (const std::string &name : LevelFileNames) std::remove(name.c_str());
    if (created) std::remove(FileName.c_str());
}

void TListFileWriter::BuildLayouts(pugi::xml_node generation)
{
    pugi::xml_node listType = RequiredChild(generation, "listtype/listtype");
    Kind = listType.attribute("type").value();

    Schema.TarvilexData.LoadFromText(platform::ElementXml(RequiredChild(generation, "datamodule/tarvilexdata")));
    ListFields = std::make_unique<model::TListFieldsModule>(Schema, "");
    ListFields->ListFields.LoadFromText(platform::ElementXml(RequiredChild(generation, "listfields/fields")));
    SlotTotal = ListFields->SummarizedZoneCount() + 1;

    for (pugi::xml_node column : listType.child("columns").children())
        if (column.type() == pugi::node_element) ColumnIds.push_back(column.attribute("id").value());
    if (ColumnIds.empty()) throw TListWriterError(std::string(UnitName) + "The list type has no columns!");

    Sources.ZoneIndex = &Current.ZoneIndex;
    Sources.Duration = &Current.Duration;
    Sources.CalcDur = &Current.CalcDur;
    Sources.Impulse = &Current.Impulse;
    Sources.Cost = &Current.Cost;
    Sources.ReadInCost = &Current.ReadInCost;
    Sources.RingTime = &Current.RingTime;

    model::TFieldList *keySource = nullptr;
    if (Kind == "detailed") {
        for (const std::string &id : ColumnIds) Record.AddField(id, model::MakeListField(*ListFields, id));
        keySource = &Record;
    } else {
        Item = std::make_unique<model::TCollectRecord>(Sources, SlotTotal);
        for (const std::string &id : ColumnIds) {
            Input.AddField(id, model::MakeListField(*ListFields, id));
            Item->AddField(id, model::MakeListField(*ListFields, id));
        }
        // Only now are the slots of both records where they stay.
        for (int i = 0; i < Item->FieldCount(); ++i) Item->Field(i).Source = Input.Field(i).Data;
        keySource = Item.get();
    }

    for (pugi::xml_node level : listType.child("controlbreaks").children()) {
        if (level.type() != pugi::node_element) continue;
        auto breakLevel = std::make_unique<model::TControlBreak>(Sources, SlotTotal);
        for (pugi::xml_node key : level.children()) {
            if (key.type() != pugi::node_element) continue;
            const std::string id = key.attribute("id").value();
            breakLevel->AddField(id, model::MakeListField(*ListFields, id));
        }
        // A break key is compared with the column of the same name: the
        // detail record's, or the item record's while it still holds the
        // group that is being closed.
        for (int i = 0; i < breakLevel->FieldCount(); ++i) {
            const model::TTarvilexField *column = keySource->FindField(breakLevel->FieldName(i));
            if (!column)
                throw TListWriterError(std::string(UnitName) + "The break key " + breakLevel->FieldName(i) +
                                       " is no column of the list!");
            breakLevel->Field(i).Source = column->Data;
        }
        if (Item) breakLevel->CounterSource = Item->Buffer();
        if (!Levels.empty()) Levels.back()->Next = breakLevel.get();
        Levels.push_back(std::move(breakLevel));
    }

    Totals = std::make_unique<model::TCollectRecord>(Sources, SlotTotal);
}

int TListFileWriter::RecordLength() const
{
    return Item ? Item->Length() : Record.Length();
}

void TListFileWriter::SetColumnValues(model::TFieldList &record, const std::vector<std::string> &values)
{
    const char separator = dictionary::StartupDecimalSeparator();
    for (int i = 0; i < record.FieldCount(); ++i) {
        const std::string &id = ColumnIds[std::size_t(i)];
        std::string text = values[std::size_t(i)];
        const std::uint8_t type = record.Field(i).FieldType;
        if (type == model::ftFloat || type == model::ftMoney) std::replace(text.begin(), text.end(), '.', separator);
        try {
            record.SetFieldValue(id, text);
        } catch (const std::exception &e) {
            throw TListWriterError(std::string(UnitName) + "Invalid value of " + id + ": \"" + values[std::size_t(i)] +
                                   "\" (" + e.what() + ")");
        }
    }
}

void TListFileWriter::AddCall(const std::vector<std::string> &values, const TCallCounters &counters)
{
    if (Finished) throw TListWriterError(std::string(UnitName) + "The list is already finished!");
    if (SparseArea) throw TListWriterError(std::string(UnitName) + "No calls can follow sparse records!");
    if (values.size() != ColumnIds.size())
        throw TListWriterError(std::string(UnitName) + "A call needs " + std::to_string(ColumnIds.size()) +
                               " column values, not " + std::to_string(values.size()) + "!");
    if (counters.ZoneIndex < 0 || counters.ZoneIndex >= SlotTotal)
        throw TListWriterError(std::string(UnitName) + "Invalid zone index " + std::to_string(counters.ZoneIndex) +
                               " (the list has " + std::to_string(SlotTotal - 1) + " summarized zones)!");
    if (ItemCount == INT32_MAX) throw TListWriterError(std::string(UnitName) + "Too many records!");
    Current = counters;
    if (Item) {
        SetColumnValues(Input, values);
        AddCollectedCall();
    } else {
        SetColumnValues(Record, values);
        AddDetailedCall();
    }
    Totals->AddRecord(0);
}

void TListFileWriter::AddDetailedCall()
{
    const std::int32_t number = ItemCount + 1;
    if (!Levels.empty()) Levels.front()->AddRecord(number);
    Out->WriteBuffer(Record.Buffer(), std::size_t(Record.Length()));
    ItemCount = number;
}

void TListFileWriter::AddCollectedCall()
{
    if (!Item->Empty) {
        bool sameGroup = true;
        for (int i = 0; i < Item->FieldCount() && sameGroup; ++i) sameGroup = model::FieldValuesEqual(Item->Field(i));
        if (!sameGroup) CloseItemGroup();
    }
    Item->AddInputRecord();
}

void TListFileWriter::CloseItemGroup()
{
    // The break levels take the finished item record while it still holds its
    // key and counters; writing it clears the counters.
    if (!Levels.empty()) Levels.front()->AddCollectRecord(Item->Count + 1);
    Item->WriteRecord(0);
    ItemCount = Item->Count;
}

void TListFileWriter::AddSparseRecords(std::int32_t count)
{
    if (Kind != "detailed" || !Levels.empty())
        throw TListWriterError(std::string(UnitName) + "Sparse records need a detailed list without control breaks!");
    if (Finished || SparseArea || ItemCount != 0)
        throw TListWriterError(std::string(UnitName) + "Sparse records must be the only records of the list!");
    if (count < 0) throw TListWriterError(std::string(UnitName) + "Invalid record count " + std::to_string(count) + "!");
    SparseArea = true;
    ItemCount = count;
    // An all-zero record is a call of zone 0 without duration or cost, so
    // only the call counts of zone 0 and of the total grow (twice in the
    // total when there are no zones and zone 0 is the total).
    for (const int slot : {SlotTotal - 1, 0}) {
        model::TCounterSlot value = Totals->Counters(slot);
        value.Piece += count;
        model::WriteCounterSlot(Totals->CounterSlot(slot), value);
    }
}

void TListFileWriter::Finish()
{
    if (Finished) throw TListWriterError(std::string(UnitName) + "The list is already finished!");
    if (Item) {
        if (!Item->Empty) CloseItemGroup();
        if (!Levels.empty()) Levels.front()->WriteRecord(Item->Count + 1);
    } else if (!Levels.empty()) {
        Levels.front()->WriteRecord(ItemCount + 1);
    }
    // Writing past the end leaves the skipped record area as a hole.
    if (SparseArea) Out->Seek(RecordStart + std::int64_t(ItemCount) * RecordLength());
    AppendLevelAreas();
    Out->WriteBuffer(Totals->Buffer(), std::size_t(SlotTotal) * model::CounterSlotSize);
    Out->Seek(RecordCountOffset);
    Out->WriteInt32(ItemCount);
    Out->Flush();
    Out.reset();
    Finished = true;
}

void TListFileWriter::AppendLevelAreas()
{
    std::vector<std::uint8_t> block(CopyBlockSize);
    for (std::size_t k = 0; k < Levels.size(); ++k) {
        const model::TControlBreak &level = *Levels[k];
        LevelStreams[k]->Flush();
        LevelStreams[k].reset();
        platform::TFileStream in(LevelFileNames[k], platform::TFileStream::TMode::Read);
        const std::int64_t expected = std::int64_t(level.Count) * level.FullLength();
        if (in.Size() != expected)
            throw TListWriterError(std::string(UnitName) + "Level " + std::to_string(k) + " holds " +
                                   std::to_string(in.Size()) + " bytes instead of " + std::to_string(expected) + "!");
        Out->WriteInt32(level.Count);
        for (std::int64_t done = 0; done < expected;) {
            const auto n = std::size_t(std::min<std::int64_t>(std::int64_t(block.size()), expected - done));
            in.ReadBuffer(block.data(), n);
            Out->WriteBuffer(block.data(), n);
            done += std::int64_t(n);
        }
    }
    LevelStreams.clear();
    for (const std::string &name : LevelFileNames) std::remove(name.c_str());
    LevelFileNames.clear();
}

dictionary::TDateTime ParseIsoDateTime(std::string_view text)
{
    const auto fail = [&]() -> dictionary::TDateTime {
        throw TListWriterError(std::string(UnitName) + "Invalid date and time: \"" + std::string(text) +
                               "\" (YYYY-MM-DD or YYYY-MM-DD hh:mm:ss)");
    };
    const auto number = [&](std::size_t at, std::size_t width) {
        int value = 0;
        if (at + width > text.size()) fail();
        const char *first = text.data() + at;
        const auto [end, error] = std::from_chars(first, first + width, value);
        if (error != std::errc() || end != first + width) fail();
        return value;
    };
    if (text.size() != 10 && text.size() != 19) fail();
    if (text[4] != '-' || text[7] != '-') fail();
    const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
    int hour = 0, minute = 0, second = 0;
    if (text.size() == 19) {
        if ((text[10] != ' ' && text[10] != 'T') || text[13] != ':' || text[16] != ':') fail();
        hour = number(11, 2);
        minute = number(14, 2);
        second = number(17, 2);
    }
    try {
        return dictionary::EncodeDateTime(year, month, day, hour, minute, second);
    } catch (const std::exception &) {
        return fail();
    }
}

}  // namespace tools
