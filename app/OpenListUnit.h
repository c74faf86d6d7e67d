#pragma once
// The open list: its container header, remark, the two read sets over the
// file (display and output), the control-break levels, the zone totals, the
// list-format directory and the screen format. Plain C++ so that the main
// window, the batch job and the tests share it.
#include "dictionary/DateTimeUnit.h"
#include "model/CollectRecordUnit.h"
#include "model/ControlBreakUnit.h"
#include "model/DataRecordUnit.h"
#include "platform/StreamUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace app {

struct TDataModules;

// A list file that cannot be opened; the text names the file and the fault.
class TOpenListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr int ContainerHeaderSize = 73;

struct TContainerHeader {
    std::array<std::uint8_t, ContainerHeaderSize> Bytes{};
    dictionary::TDateTime GenerationTime = 0;
    std::int32_t RecordCount = 0;          // N
    dictionary::TDateTime PeriodFirst = 0;
    dictionary::TDateTime PeriodLast = 0;
    std::int32_t GenerationLength = 0;     // X
};

// A stream on the list file with the records that decode it. The display set
// serves the windows, the output set the writers, so neither moves the other.
struct TReadSet {
    std::unique_ptr<platform::TFileStream> Stream;
    std::unique_ptr<model::TTarvilexDataRecord> DataRecord;      // "detailed" lists
    std::unique_ptr<model::TCollectRecord> CollectRecord;        // the other kinds
    std::vector<std::unique_ptr<model::TControlBreak>> ControlBreaks;  // outermost first
};

class TOpenList {
public:
    explicit TOpenList(TDataModules &modules);
    TOpenList(TOpenList &&) noexcept;
    TOpenList &operator=(TOpenList &&) noexcept;
    ~TOpenList();

    // Opens the list at path. Returns false, doing nothing, when path is the
    // open list's own (the same text). A file that cannot be read raises
    // TOpenListError and leaves this object and the data modules as they were.
    bool OpenListFile(const std::string &path);

    // Writes the screen format to "Screen.XML" when the list-format directory
    // exists; raises when the file cannot be written.
    void SaveScreenFormat() const;

    // A further read set over the open list, with records like the output
    // set's, for a writer thread of its own.
    std::unique_ptr<TReadSet> NewReadSet() const;

    // Item record i (0-based) into the read set's item record.
    void ReadItemRecord(TReadSet &set, std::int64_t index) const;
    // Summary entry j (1-based) of level k into the read set's break object.
    void ReadBreakRecord(TReadSet &set, int level, std::int64_t entry) const;

    bool IsDetailed() const { return ListKind == "detailed"; }
    bool HasRecords() const { return Header.RecordCount > 0; }
    int LevelCount() const { return int(Display.ControlBreaks.size()); }
    int ItemRecordLength() const { return RecordLength; }
    model::TCounterSlot ZoneTotal(int slot) const;

    std::string FileName;                  // "" before the first open
    TContainerHeader Header;
    std::string Remark;                    // UTF-8
    std::int64_t RecordAreaStart = 0;      // P0
    int RecordLength = 0;                  // R
    int SlotCount = 1;                     // summarized zones + 1
    TReadSet Display;
    TReadSet Output;
    std::vector<std::uint8_t> ZoneTotals;          // SlotCount x 36
    std::vector<std::uint8_t> ControlBreakTotal;   // filled from the selected group
    int ShownDepth = 0;
    std::string ListFormatDirectory;       // "" when the folder does not exist
    platform::TXmlDocument ScreenFormat;
    std::string ListKind;                  // "type" of the list type
    std::string ListTitle;                 // in the list's language
    std::string SystemName;
    int Language = 0;

private:
    void Load(const std::string &path);
    TDataModules *Modules;
};

}  // namespace app
