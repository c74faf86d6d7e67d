#include "app/DataModulesUnit.h"
#include "app/OpenListUnit.h"
#include "model/CollectRecordUnit.h"
#include "platform/FileUnit.h"
#include "platform/StreamUnit.h"
#include "tests/listfile/ListFixtures.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using app::TOpenList;
using app::TOpenListError;

namespace {

// Every test runs with its own program folder, so that no shipped file is
// loaded and the log lands in the temporary folder.
class OpenList : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetProgramFolderForTesting(Folder.Path());
        dictionary::SetLanguageIndex(0);
        Modules = std::make_unique<app::TDataModules>();
        List = std::make_unique<TOpenList>(*Modules);
    }
    void TearDown() override
    {
        List.reset();
        Modules.reset();
        dictionary::SetLanguageIndex(0);
    }
    std::string Write(const std::string &name, const fixtures::TListOptions &options = {})
    {
        const std::string path = Folder.File(name);
        fixtures::WriteList(path, options);
        return path;
    }
    testsupport::TTempFolder Folder;
    std::unique_ptr<app::TDataModules> Modules;
    std::unique_ptr<TOpenList> List;
};

std::string Log(const testsupport::TTempFolder &folder)
{
    const std::string path = folder.File(platform::ExtractFileName(platform::ChangeFileExt(platform::ProgramPath(), ".LOG")));
    return platform::FileExists(path) ? testsupport::ReadFile(path) : std::string();
}

}  // namespace

TEST_F(OpenList, DetailedListWithTwoLevels)
{
    const std::string path = Write("calls.TarvilexList");
    ASSERT_TRUE(List->OpenListFile(path));
    EXPECT_EQ(List->ListKind, "detailed");
    EXPECT_EQ(List->Header.RecordCount, 4);
    EXPECT_EQ(List->Remark, "Megjegyzés");
    EXPECT_EQ(List->ListTitle, "Calls");            // language 1 of the list
    EXPECT_EQ(dictionary::LanguageIndex(), 1);
    EXPECT_EQ(List->SystemName, "Próba Kft.");
    EXPECT_EQ(List->SlotCount, 3);
    EXPECT_EQ(model::SlotCount, 3);
    // COSTCENTER 21 + EXTENSION 9 + DURATION 4 + COST 8 bytes.
    EXPECT_EQ(List->RecordLength, 42);
    EXPECT_EQ(List->ShownDepth, 2);
    ASSERT_EQ(List->LevelCount(), 2);

    // Header fields at their offsets.
    EXPECT_DOUBLE_EQ(List->Header.PeriodFirst, dictionary::EncodeDate(2013, 3, 1));
    EXPECT_DOUBLE_EQ(List->Header.PeriodLast, dictionary::EncodeDate(2013, 3, 31));

    // Records by position, through both read sets independently.
    List->ReadItemRecord(List->Display, 3);
    List->ReadItemRecord(List->Output, 0);
    EXPECT_EQ(List->Display.DataRecord->FieldValueAsString("COSTCENTER"), "Értékesítés");
    EXPECT_EQ(List->Display.DataRecord->FieldValueAsString("DURATION"), "1:00:00");
    EXPECT_EQ(List->Output.DataRecord->FieldValueAsString("EXTENSION"), "201");
    EXPECT_DOUBLE_EQ(List->Output.DataRecord->FieldValueAsFloat("COST"), 12.5);

    // Level 0: Pénzügy covers extension groups 1..2, Értékesítés 3..3.
    struct TEntry { int Level, Entry; const char *Key, *KeyName; int First, Last, Piece; };
    const TEntry entries[] = {
        {0, 1, "Pénzügy", "COSTCENTER", 1, 2, 3},
        {0, 2, "Értékesítés", "COSTCENTER", 3, 3, 1},
        {1, 1, "201", "EXTENSION", 1, 2, 2},
        {1, 2, "202", "EXTENSION", 3, 3, 1},
        {1, 3, "301", "EXTENSION", 4, 4, 1},
    };
    EXPECT_EQ(List->Display.ControlBreaks[0]->RecNo, 2);
    EXPECT_EQ(List->Display.ControlBreaks[1]->RecNo, 3);
    for (const auto &e : entries) {
        List->ReadBreakRecord(List->Display, e.Level, e.Entry);
        const auto &level = *List->Display.ControlBreaks[std::size_t(e.Level)];
        EXPECT_EQ(level.FieldValueAsString(e.KeyName), e.Key) << e.Level << "/" << e.Entry;
        EXPECT_EQ(level.First, e.First) << e.Level << "/" << e.Entry;
        EXPECT_EQ(level.Last, e.Last) << e.Level << "/" << e.Entry;
        EXPECT_EQ(level.Counters(2).Piece, e.Piece) << e.Level << "/" << e.Entry;
    }

    // Zone totals summed by hand from the four calls.
    const auto zone0 = List->ZoneTotal(0), zone1 = List->ZoneTotal(1), total = List->ZoneTotal(2);
    EXPECT_EQ(zone0.Piece, 2);
    EXPECT_EQ(zone0.Duration, 3665);
    EXPECT_DOUBLE_EQ(zone0.Cost, 113.25);
    EXPECT_EQ(zone1.Piece, 2);
    EXPECT_EQ(zone1.CalcDur, 130);
    EXPECT_DOUBLE_EQ(zone1.ReadInCost, 31.5);
    EXPECT_EQ(total.Piece, 4);
    EXPECT_EQ(total.Duration, 3800);
    EXPECT_EQ(total.Impulse, 14);
    EXPECT_DOUBLE_EQ(total.Cost, 145.5);
    EXPECT_EQ(total.RingTime, 20);

    // The modules now hold the list's documents.
    EXPECT_EQ(Modules->ListType.ListKind(), "detailed");
    EXPECT_EQ(platform::AttributeText(Modules->ListCondition.ListCondition.Root(), "startdate"), "0/-1/1");
    EXPECT_EQ(Modules->TarvilexData.SchemaFieldType("COST"), "money");
    EXPECT_EQ(Modules->ListFields.SummarizedZoneCount(), 2);
}

TEST_F(OpenList, SummaryAndEmptyLists)
{
    fixtures::TListOptions summary;
    summary.Kind = "summary";
    summary.Levels = 1;
    ASSERT_TRUE(List->OpenListFile(Write("summary.TarvilexList", summary)));
    EXPECT_FALSE(List->IsDetailed());
    // Three distinct (cost centre, extension) keys; counter block 3 x 36 + 21 + 9.
    EXPECT_EQ(List->Header.RecordCount, 3);
    EXPECT_EQ(List->RecordLength, 138);
    List->ReadItemRecord(List->Display, 0);
    EXPECT_EQ(List->Display.CollectRecord->FieldValueAsString("EXTENSION"), "201");
    EXPECT_EQ(List->Display.CollectRecord->Counters(2).Piece, 2);
    EXPECT_DOUBLE_EQ(List->Display.CollectRecord->Counters(1).Cost, 2.25);
    ASSERT_EQ(List->LevelCount(), 1);
    List->ReadBreakRecord(List->Display, 0, 1);
    EXPECT_EQ(List->Display.ControlBreaks[0]->First, 1);
    EXPECT_EQ(List->Display.ControlBreaks[0]->Last, 2);

    const std::string empty = Folder.File("empty.TarvilexList");
    fixtures::WriteList(empty, {}, {});
    ASSERT_TRUE(List->OpenListFile(empty));
    EXPECT_FALSE(List->HasRecords());
    EXPECT_FALSE(List->Display.Stream);
    EXPECT_FALSE(List->Output.Stream);
    EXPECT_TRUE(List->ListFormatDirectory.empty());
}

TEST_F(OpenList, SamePathTwiceDoesNothingAnotherSpellingReloads)
{
    const std::string path = Write("a.TarvilexList");
    ASSERT_TRUE(List->OpenListFile(path));
    EXPECT_FALSE(List->OpenListFile(path));
    const std::string other = Folder.Path() + "./a.TarvilexList";
    EXPECT_TRUE(List->OpenListFile(other));
    EXPECT_EQ(List->FileName, other);
}

TEST_F(OpenList, FormatDirectoryAndScreenFormat)
{
    const std::string userDir = Folder.File("user");
    const std::string name40 = "Hivasok_koltseghelyenkent_es_melleken__XY";   // 41 characters
    const std::string folder = userDir + "/Formats.Dir/" + name40.substr(0, 38);
    std::filesystem::create_directories(folder);
    fixtures::TListOptions o;
    o.UserDir = userDir;
    o.ListFileName = name40;
    o.Formats = "<f1><listformat name=\"first\" formattype=\"screen\"/></f1>"
                "<f2><listformat name=\"print\" formattype=\"normal\"/></f2>"
                "<f3><listformat name=\"second\" formattype=\"screen\"/></f3>";
    ASSERT_TRUE(List->OpenListFile(Write("f.TarvilexList", o)));
    EXPECT_EQ(List->ListFormatDirectory, folder);
    // The last carried screen format wins while there is no Screen.XML.
    EXPECT_EQ(platform::AttributeText(List->ScreenFormat.Root(), "name"), "second");

    List->ScreenFormat.Root().append_child("_2").append_attribute("controlbreakwidth").set_value("300");
    List->SaveScreenFormat();
    const std::string saved = testsupport::ReadFile(folder + "/Screen.XML");
    EXPECT_NE(saved.find("controlbreakwidth=\"300\""), std::string::npos) << saved;

    // Now Screen.XML is there and wins over the carried formats.
    ASSERT_TRUE(List->OpenListFile(Write("g.TarvilexList", o)));
    EXPECT_EQ(platform::AttributeText(List->ScreenFormat.Root().child("_2"), "controlbreakwidth"), "300");

    // Without the folder: the default screen document and nothing is written.
    fixtures::TListOptions plain;
    ASSERT_TRUE(List->OpenListFile(Write("h.TarvilexList", plain)));
    EXPECT_TRUE(List->ListFormatDirectory.empty());
    EXPECT_EQ(platform::AttributeText(List->ScreenFormat.Root(), "formattype"), "screen");
    EXPECT_EQ(platform::AttributeText(List->ScreenFormat.Root(), "language"), "1");  // the previous list's
    List->SaveScreenFormat();
    EXPECT_FALSE(platform::FileExists(Folder.File("Screen.XML")));
}

namespace {

std::int32_t Int32At(const std::string &bytes, std::size_t offset)
{
    return platform::ReadLE32(reinterpret_cast<const std::uint8_t *>(bytes.data() + offset));
}

void PutInt32(std::string &bytes, std::size_t offset, std::int32_t value)
{
    platform::WriteLE32(reinterpret_cast<std::uint8_t *>(bytes.data() + offset), value);
}

struct TLayout {
    std::size_t L1, L2, X, P0, Level0, Level1, Totals, Size;
};

// Offsets of the good fixture, from its own length fields.
TLayout LayoutOf(const std::string &bytes)
{
    TLayout l{};
    l.L1 = std::size_t(Int32At(bytes, 73));
    l.L2 = std::size_t(Int32At(bytes, 77 + l.L1));
    l.X = std::size_t(Int32At(bytes, 69));
    l.P0 = 81 + l.L1 + l.L2 + l.X;
    l.Level0 = l.P0 + 4 * 42;
    l.Level1 = l.Level0 + 4 + 2 * (8 + 3 * 36 + 21);
    l.Totals = l.Level1 + 4 + 3 * (8 + 3 * 36 + 9);
    l.Size = bytes.size();
    return l;
}

struct TCorruption {
    const char *Name;
    void (*Apply)(std::string &bytes, const TLayout &l);
    const char *Reason;   // part of the message
};

const TCorruption kCorruptions[] = {
    {"shorter than the header", [](std::string &b, const TLayout &) { b.resize(50); }, "container header"},
    {"cut in the first length", [](std::string &b, const TLayout &) { b.resize(75); }, "first text"},
    {"negative record count", [](std::string &b, const TLayout &) { PutInt32(b, 49, -1); }, "record count is negative"},
    {"negative document length", [](std::string &b, const TLayout &) { PutInt32(b, 69, -5); }, "negative"},
    {"document longer than the file", [](std::string &b, const TLayout &) { PutInt32(b, 69, 0x7fffffff); },
     "generation document does not fit"},
    {"negative first text", [](std::string &b, const TLayout &) { PutInt32(b, 73, -1); }, "first text is negative"},
    {"remark longer than the file", [](std::string &b, const TLayout &l) { PutInt32(b, 77 + l.L1, 1 << 30); },
     "remark does not fit"},
    {"document not XML", [](std::string &b, const TLayout &l) { b[81 + l.L1 + l.L2] = '{'; }, "not valid XML"},
    {"unknown column",
     [](std::string &b, const TLayout &l) {
         const auto at = b.find("<c id=\"EXTENSION\"", 81 + l.L1 + l.L2);
         b.replace(at + 7, 9, "EXTENSIOX");
     },
     "ListFieldsModuleUnit: Invalid field! EXTENSIOX"},
    {"more records than the file holds", [](std::string &b, const TLayout &) { PutInt32(b, 49, 1000); }, "record area"},
    {"cut in the record area", [](std::string &b, const TLayout &l) { b.resize(l.P0 + 100); }, "record area"},
    {"cut before a level count", [](std::string &b, const TLayout &l) { b.resize(l.Level0 + 2); }, "entry count of control-break level 0"},
    {"cut in a level", [](std::string &b, const TLayout &l) { b.resize(l.Level0 + 100); }, "entries of control-break level 0"},
    {"negative level count", [](std::string &b, const TLayout &l) { PutInt32(b, l.Level1, -3); }, "level 1 is negative"},
    {"level count past the end", [](std::string &b, const TLayout &l) { PutInt32(b, l.Level1, 1000000); }, "entries of control-break level 1"},
    {"cut in the zone totals", [](std::string &b, const TLayout &l) { b.resize(l.Size - 10); }, "zone totals"},
};

}  // namespace

TEST_F(OpenList, BrokenFilesAreRefusedAndTheOpenListStays)
{
    const std::string goodPath = Write("good.TarvilexList");
    const std::string good = testsupport::ReadFile(goodPath);
    const TLayout layout = LayoutOf(good);
    ASSERT_EQ(layout.Totals + 3 * 36, layout.Size) << "the fixture's layout is not the one worked out here";

    fixtures::TListOptions summary;
    summary.Kind = "summary";
    summary.Levels = 1;
    summary.Language = 0;
    const std::string openPath = Write("open.TarvilexList", summary);
    ASSERT_TRUE(List->OpenListFile(openPath));

    for (const auto &c : kCorruptions) {
        std::string bytes = good;
        c.Apply(bytes, layout);
        const std::string path = Folder.File(std::string("broken-") + std::to_string(&c - kCorruptions) + ".TarvilexList");
        testsupport::WriteFile(path, bytes);
        try {
            List->OpenListFile(path);
            ADD_FAILURE() << c.Name << ": opened";
        } catch (const TOpenListError &e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(path), std::string::npos) << c.Name << ": " << message;
            EXPECT_NE(message.find(c.Reason), std::string::npos) << c.Name << ": " << message;
        }
        // The summary list is still open and readable, its documents in place.
        EXPECT_EQ(List->FileName, openPath) << c.Name;
        EXPECT_EQ(Modules->ListType.ListKind(), "summary") << c.Name;
        EXPECT_EQ(dictionary::LanguageIndex(), 0) << c.Name;
        EXPECT_EQ(model::SlotCount, 3) << c.Name;
        List->ReadItemRecord(List->Display, 2);
        EXPECT_EQ(List->Display.CollectRecord->FieldValueAsString("EXTENSION"), "301") << c.Name;
    }
    EXPECT_NE(Log(Folder).find("ListFieldsModuleUnit: Invalid field! EXTENSIOX"), std::string::npos);
}

TEST_F(OpenList, MissingFileIsRefused)
{
    EXPECT_THROW(List->OpenListFile(Folder.File("none.TarvilexList")), TOpenListError);
    EXPECT_TRUE(List->FileName.empty());
}

// The bundled samples, as the build wrote them.
TEST_F(OpenList, EverySampleKindOpens)
{
    struct TSample { const char *File, *Kind; bool Records; int Levels; };
    const TSample samples[] = {
        {"Detailed.TarvilexList", "detailed", true, 2},
        {"Summary.TarvilexList", "summary", true, 1},
        {"Statistics.TarvilexList", "statistics", true, 0},
        {"Empty.TarvilexList", "detailed", false, 0},
    };
    for (const auto &s : samples) {
        const std::string path = std::string(TARVILEX_BIN_DIR) + "/samples/" + s.File;
        ASSERT_TRUE(List->OpenListFile(path)) << s.File;
        EXPECT_EQ(List->ListKind, s.Kind) << s.File;
        EXPECT_EQ(List->HasRecords(), s.Records) << s.File;
        if (!s.Records) continue;
        EXPECT_EQ(List->LevelCount(), s.Levels) << s.File;
        EXPECT_FALSE(List->ListTitle.empty()) << s.File;
        // The total slot's call count equals the sum over the zones, and the
        // last record and the last entry of every level can be read.
        int zoneCalls = 0;
        for (int z = 0; z + 1 < List->SlotCount; ++z) zoneCalls += List->ZoneTotal(z).Piece;
        EXPECT_EQ(List->ZoneTotal(List->SlotCount - 1).Piece, zoneCalls) << s.File;
        List->ReadItemRecord(List->Display, List->Header.RecordCount - 1);
        for (int level = 0; level < List->LevelCount(); ++level) {
            const auto &breakLevel = *List->Display.ControlBreaks[std::size_t(level)];
            List->ReadBreakRecord(List->Display, level, breakLevel.RecNo);
            EXPECT_LE(breakLevel.First, breakLevel.Last) << s.File << " level " << level;
        }
    }
}
