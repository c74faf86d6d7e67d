#pragma once
// Writes a list file the way the producing system does: the header, the two
// texts, the generation document, the item records, one area per control-break
// level and the zone totals. Calls are streamed one at a time, so the size of
// a list is bounded by the disk, not by memory.
#include "dictionary/DateTimeUnit.h"
#include "model/CollectRecordUnit.h"
#include "model/ControlBreakUnit.h"
#include "model/DataRecordUnit.h"
#include "model/ListFieldsModuleUnit.h"
#include "model/TarvilexDataModuleUnit.h"
#include "platform/StreamUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

// Raised for a description the writer cannot turn into a list file.
class TListWriterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The values of the container header and the two texts before the document.
struct TListHeader {
    dictionary::TDateTime GenerationTime = 0;
    dictionary::TDateTime FirstDay = 0;    // listing period
    dictionary::TDateTime LastDay = 0;
    std::string FirstText;                 // UTF-8, stored in the system code page
    std::string Remark;
};

// The counter inputs of one call; ZoneIndex is the summarized-zone slot.
struct TCallCounters {
    std::int32_t ZoneIndex = 0;
    std::int32_t Duration = 0;
    std::int32_t CalcDur = 0;
    std::int32_t Impulse = 0;
    double Cost = 0.0;
    double ReadInCost = 0.0;
    std::int32_t RingTime = 0;
};

class TListFileWriter {
public:
    // generation is the "listgeneration" element; the record layouts come from
    // its own list-fields, schema and list-type documents. The header, the
    // texts and the document are written at once; records follow by AddCall.
    TListFileWriter(const std::string &fileName, const TListHeader &header, pugi::xml_node generation);
    // Without Finish the incomplete file and the level streams are removed.
    ~TListFileWriter();
    TListFileWriter(const TListFileWriter &) = delete;
    TListFileWriter &operator=(const TListFileWriter &) = delete;

    // One call: the texts of the list's columns in column order (numbers with
    // "." or the start-up decimal separator) and the counter inputs. Calls
    // must arrive sorted by the break keys, outermost first; summary and
    // statistics lists also by their columns, one group after the other.
    void AddCall(const std::vector<std::string> &values, const TCallCounters &counters);
    // Benchmark lists: count all-zero detail records left as a hole in the
    // file (nothing is written for them). Only for a detailed list without
    // control breaks, before any call.
    void AddSparseRecords(std::int32_t count);
    // Closes the pending groups, appends the level areas and the totals and
    // puts the record count into the header.
    void Finish();

    const std::vector<std::string> &Columns() const { return ColumnIds; }
    const std::string &ListKind() const { return Kind; }
    int LevelCount() const { return int(Levels.size()); }
    int Slots() const { return SlotTotal; }
    int RecordLength() const;
    std::int64_t RecordAreaStart() const { return RecordStart; }
    std::int32_t RecordCount() const { return ItemCount; }

private:
    void BuildLayouts(pugi::xml_node generation);
    void OpenStreams(const TListHeader &header, const std::string &document);
    void RemoveFiles();
    void SetColumnValues(model::TFieldList &record, const std::vector<std::string> &values);
    void AddDetailedCall();
    void AddCollectedCall();
    void CloseItemGroup();
    void AppendLevelAreas();

    std::string FileName;
    std::string Kind;
    std::vector<std::string> ColumnIds;
    int SlotTotal = 1;
    std::unique_ptr<platform::TFileStream> Out;
    std::int64_t RecordStart = 0;
    std::int32_t ItemCount = 0;
    bool SparseArea = false;
    bool Finished = false;

    // Field types and lengths come from the list's own documents.
    model::TTarvilexDataModule Schema{""};
    std::unique_ptr<model::TListFieldsModule> ListFields;

    // Where the break levels and the totals read the current call's counters.
    TCallCounters Current;
    model::TCounterSources Sources;

    // Detailed lists: the record written per call. Summary and statistics
    // lists: the call's column values (Input) folded into item records.
    model::TTarvilexDataRecord Record;
    model::TTarvilexDataRecord Input;
    std::unique_ptr<model::TCollectRecord> Item;

    std::vector<std::unique_ptr<model::TControlBreak>> Levels;   // outermost first
    std::vector<std::string> LevelFileNames;
    std::vector<std::unique_ptr<platform::TFileStream>> LevelStreams;
    std::unique_ptr<model::TCollectRecord> Totals;
};

// "YYYY-MM-DD", "YYYY-MM-DD hh:mm:ss" or "YYYY-MM-DDThh:mm:ss" as a date-time;
// raises TListWriterError naming the text.
dictionary::TDateTime ParseIsoDateTime(std::string_view text);

}  // namespace tools
