// The schema, list-fields and list-type documents and the log.
#include "dictionary/LanguageUnit.h"
#include "model/CollectRecordUnit.h"
#include "model/ListFieldsModuleUnit.h"
#include "model/ListTypeModuleUnit.h"
#include "model/TarvilexDataModuleUnit.h"
#include "platform/FileUnit.h"
#include "platform/StreamUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

using namespace model;

namespace {

const char *const SchemaXml =
    "<tarvilexdata><fields>"
    "<f name=\"DURATION\" type=\"integer\"/>"
    "<f name=\"CALLER\" type=\"string\" length=\"20\"/>"
    "<f name=\"CALLERSHORT\" type=\"string\" length=\"8\"/>"
    "<f name=\"COST\" type=\"money\" length=\"8\"/>"
    "<f name=\"BADLENGTH\" type=\"string\" length=\"x\"/>"
    "<f name=\"NOLENGTH\" type=\"string\"/>"
    "</fields><collected encrypted=\"false\"><c name=\"DURATION\"/></collected></tarvilexdata>";

const char *const ListFieldsXml =
    "<fields>"
    "<detailed>"
    "<c id=\"CALLER\" title=\"_Caller\" alignment=\"left\" summable=\"false\" tablefield=\"CALLER\"/>"
    "<c id=\"DURATION\" title=\"_Duration\" alignment=\"right bottom\" summable=\"true\" tablefield=\"DURATION\"/>"
    "<c id=\"C1\" alignment=\"center\"/><c id=\"C2\" alignment=\"Right\"/><c id=\"C3\" alignment=\"\"/>"
    "<c id=\"C4\"/><c id=\"C5\" alignment=\"left top\"/><c id=\"C6\" alignment=\"bottom\" summable=\"maybe\"/>"
    "<c id=\"COST\" title=\"_Cost\" tablefield=\"COST\"/>"
    "<c id=\"NOFIELD\" tablefield=\"NOTINSCHEMA\"/>"
    "</detailed>"
    "<summary>"
    "<c id=\"CALLER\" title=\"_CallerSum\" tablefield=\"CALLERSHORT\"/>"
    "<c id=\"ONLYSUM\" tablefield=\"DURATION\" summable=\"1\"/>"
    "</summary>"
    "<invoice><c id=\"INV\" tablefield=\"CALLER\"/></invoice>"
    "<statistics><c id=\"STATONLY\" title=\"_Class\" tablefield=\"CALLER\"/></statistics>"
    "<summarizedzones><z code=\"0\" title=\"_Local\"/><z code=\"1\" title=\"_Long\"/></summarizedzones>"
    "</fields>";

// A temporary program folder, so the log and the start-up files land there.
class ProgramFolder : public ::testing::Test {
protected:
    void SetUp() override { platform::SetProgramFolderForTesting(Folder.Path()); }
    void TearDown() override
    {
        platform::SetProgramFolderForTesting("");
        dictionary::SetStartupSeparatorsForTesting('/', '.', ':');
    }
    std::vector<std::string> LogLines() const
    {
        const std::string text = testsupport::ReadFile(Folder.File("tests_model.LOG"));
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        EXPECT_EQ(start, text.size()) << "text after the last CR LF";
        return lines;
    }
    testsupport::TTempFolder Folder;
};

using SchemaModule = ProgramFolder;
using LogFile = ProgramFolder;
using ListFieldsModule = ProgramFolder;

std::string Stamp(std::time_t when, char date, char time)
{
    std::tm local{};
    ::localtime_r(&when, &local);
    const std::string pattern = std::string("%Y") + date + "%m" + date + "%d %H" + time + "%M" + time + "%S ";
    char buffer[32];
    std::strftime(buffer, sizeof buffer, pattern.c_str(), &local);
    return buffer;
}

}  // namespace

TEST_F(SchemaModule, LooksUpFieldsByExactName)
{
    testsupport::WriteFile(Folder.File("TarvilexData.XML"), SchemaXml);
    TTarvilexDataModule schema;   // the default file beside the program
    struct SchemaCase { const char *name, *type; int length; };
    const SchemaCase cases[] = {
        {"DURATION", "integer", 0}, {"CALLER", "string", 20}, {"COST", "money", 0},
        {"duration", "", 0},        {"NOPE", "", 0},          {"", "", 0},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(schema.SchemaFieldType(c.name), c.type) << c.name;
        EXPECT_EQ(schema.SchemaFieldLength(c.name), c.length) << c.name;
    }
    EXPECT_THROW(schema.SchemaFieldLength("BADLENGTH"), platform::TConversionError);
    EXPECT_THROW(schema.SchemaFieldLength("NOLENGTH"), platform::TConversionError);
    EXPECT_STREQ(schema.FindSchemaField("CALLER").attribute("length").value(), "20");
    EXPECT_FALSE(schema.FindSchemaField("collected"));
}

TEST_F(SchemaModule, MissingEmptyAndMalformedDocuments)
{
    TTarvilexDataModule none;   // no file beside the program
    EXPECT_TRUE(none.TarvilexData.IsEmpty());
    EXPECT_EQ(none.SchemaFieldType("DURATION"), "");

    TTarvilexDataModule empty("");
    empty.TarvilexData.LoadFromText("<tarvilexdata><fields/></tarvilexdata>");
    EXPECT_EQ(empty.SchemaFieldType("DURATION"), "");
    EXPECT_EQ(empty.SchemaFieldLength("CALLER"), 0);

    testsupport::WriteFile(Folder.File("bad.XML"), "<tarvilexdata><fields>");
    EXPECT_THROW(TTarvilexDataModule(Folder.File("bad.XML")), platform::TXmlError);
}

TEST_F(LogFile, LinesAreStampedAppendedAndInOrder)
{
    EXPECT_EQ(LogFileName(), Folder.File("tests_model.LOG"));
    testsupport::WriteFile(Folder.File("tests_model.LOG"), "old line\r\n");
    dictionary::SetStartupSeparatorsForTesting('-', '.', '.');

    // Two lines written within one second carry the same stamp; try again
    // when a second boundary fell between them.
    for (int attempt = 0; attempt < 5; ++attempt) {
        testsupport::WriteFile(Folder.File("tests_model.LOG"), "old line\r\n");
        const std::time_t before = std::time(nullptr);
        WriteLogLine("first");
        WriteLogLine("második ő");
        const std::time_t after = std::time(nullptr);
        if (before != after) continue;

        const auto lines = LogLines();
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], "old line");
        const std::string stamp = Stamp(before, '-', '.');
        EXPECT_EQ(lines[1], stamp + "first");
        if (!std::getenv("TARVILEX_CODEPAGE")) {
            // Windows-1250 bytes of "második ő".
            EXPECT_EQ(lines[2], stamp + "m\xE1sodik \xF5");
        }
        return;
    }
    FAIL() << "no two lines within one second";
}

TEST_F(LogFile, UnwritableLogRaises)
{
    platform::SetProgramFolderForTesting(Folder.File("missing-folder"));
    EXPECT_THROW(WriteLogLine("lost"), platform::TStreamError);
}

TEST_F(ListFieldsModule, TitlesAlignmentAndSummable)
{
    TTarvilexDataModule schema("");
    TListFieldsModule fields(schema, "");
    fields.ListFields.LoadFromText(ListFieldsXml);

    struct TitleCase { const char *id, *list, *title; };
    const TitleCase titles[] = {
        {"MARK", "detailed", "_Mark"},      {"COST_T", "detailed", "_Total"},
        {"PIECE_1", "statistics", "_Long"}, {"PIECE_0", "whatever", "_Local"},
        {"PIECE_9", "detailed", ""},        {"CALLER", "detailed", "_Caller"},
        {"CALLER", "summary", "_CallerSum"}, {"STATONLY", "statistics", "_Class"},
        {"STATONLY", "detailed", ""},        {"NOTHERE", "detailed", ""},
        {"CALLER", "nolist", ""},
    };
    for (const auto &c : titles) EXPECT_EQ(fields.FieldTitle(c.id, c.list), c.title) << c.id << " " << c.list;

    struct AlignCase { const char *id; int flags; };
    const AlignCase alignments[] = {
        {"DURATION", 10},   // right bottom
        {"CALLER", 4},      // left, centred vertically
        {"C1", 5}, {"C2", 5}, {"C3", 5}, {"C4", 5},   // "center", "Right", empty, missing
        {"C5", 0},          // left top
        {"C6", 9},          // centred horizontally, bottom
        {"NOTHERE", 5}, {"MARK", 5}, {"COST_T", 2}, {"PIECE_1", 2},
    };
    for (const auto &c : alignments) EXPECT_EQ(fields.FieldAlignment(c.id, "detailed"), c.flags) << c.id;

    struct SummableCase { const char *id, *list; bool summable; };
    const SummableCase summables[] = {
        {"DURATION", "detailed", true}, {"CALLER", "detailed", false}, {"C4", "detailed", false},
        {"C6", "detailed", false},      {"COST_T", "detailed", false}, {"ONLYSUM", "summary", true},
        {"ONLYSUM", "detailed", false}, {"NOTHERE", "detailed", false},
    };
    for (const auto &c : summables) EXPECT_EQ(fields.FieldSummable(c.id, c.list), c.summable) << c.id << " " << c.list;

    EXPECT_EQ(fields.SummarizedZoneCount(), 2);
    TListFieldsModule empty(schema, "");
    EXPECT_EQ(empty.SummarizedZoneCount(), 0);
}

TEST_F(ListFieldsModule, TypesAndLengthsComeFromTheFirstList)
{
    testsupport::WriteFile(Folder.File("ListFields.XML"), ListFieldsXml);
    TTarvilexDataModule schema("");
    schema.TarvilexData.LoadFromText(SchemaXml);
    TListFieldsModule fields(schema);   // the default file beside the program

    struct TypeCase { const char *id, *type; int length; std::uint8_t code; };
    const TypeCase cases[] = {
        {"CALLER", "string", 20, ftString},      // "detailed" wins over "summary" (CALLERSHORT, 8)
        {"ONLYSUM", "integer", 0, ftInteger},    // found in "summary"
        {"INV", "string", 20, ftString},         // found in "invoice"
        {"COST", "money", 0, ftMoney},
        {"MARK", "boolean", 0, ftBoolean},
        {"NOFIELD", "", 0, ftInteger},           // no schema field: an integer
    };
    for (const auto &c : cases) {
        EXPECT_EQ(fields.FieldTypeName(c.id), c.type) << c.id;
        EXPECT_EQ(fields.FieldLength(c.id), c.length) << c.id;
        const auto field = MakeListField(fields, c.id);
        EXPECT_EQ(field->FieldType, c.code) << c.id;
        EXPECT_EQ(field->DeclaredLength, c.length) << c.id;
    }
}

TEST_F(ListFieldsModule, InvalidFieldIsLoggedAndRaised)
{
    TTarvilexDataModule schema("");
    TListFieldsModule fields(schema, "");
    fields.ListFields.LoadFromText(ListFieldsXml);

    // Only the "statistics" list has it: no record layout can use it.
    for (int call = 0; call < 2; ++call) {
        try {
            if (call == 0)
                fields.FieldTypeName("STATONLY");
            else
                MakeListField(fields, "STATONLY");
            ADD_FAILURE() << "no error for STATONLY";
        } catch (const std::runtime_error &e) {
            EXPECT_STREQ(e.what(), "ListFieldsModuleUnit: Invalid field! STATONLY");
        }
    }
    EXPECT_THROW(fields.FieldLength("NOTHERE"), std::runtime_error);

    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), 3u);
    const std::string suffixes[] = {" ListFieldsModuleUnit: Invalid field! STATONLY",
                                    " ListFieldsModuleUnit: Invalid field! STATONLY",
                                    " ListFieldsModuleUnit: Invalid field! NOTHERE"};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_GT(lines[i].size(), suffixes[i].size());
        EXPECT_EQ(lines[i].substr(lines[i].size() - suffixes[i].size()), suffixes[i]) << lines[i];
        EXPECT_EQ(lines[i].size(), 19 + suffixes[i].size()) << "stamp of 19 characters and a blank";
    }
}

namespace {

const char *const StatisticsXml =
    "<listtype type=\"statistics\" title=\"Stat\" codeT=\"true\" code0=\"true\" code1=\"false\" code2=\"TRUE\">"
    "<columns><c id=\"CLASS\"/></columns>"
    "<controlbreaks>"
    "<level><k id=\"A\" visible=\"false\"/><k id=\"B\" visible=\"true\"/><k id=\"C\" visible=\"1\"/></level>"
    "<level><k id=\"D\" visible=\"0\"/></level>"
    "<level><k id=\"E\"/></level>"
    "</controlbreaks>"
    "<classes title=\"_Class\"><c name=\"Local\"/></classes>"
    "</listtype>";

}  // namespace

TEST(ListTypeModule, StatisticsZoneColumns)
{
    TListTypeModule type;
    type.ListType.LoadFromText(StatisticsXml);
    EXPECT_EQ(type.ListKind(), "statistics");

    // Three summarized zones: slot count 4, zones 0 and 2 enabled, and the total.
    EXPECT_EQ(type.StatisticsZoneColumnCount(4), 3);
    const char zones[] = {'0', '2', 'T', 'T'};
    for (int column = 1; column <= 4; ++column) EXPECT_EQ(type.StatisticsColumnZone(column, 4), zones[column - 1]) << column;

    const int saved = SlotCount;
    SlotCount = 4;
    EXPECT_EQ(type.StatisticsZoneColumnCount(), 3);
    EXPECT_EQ(type.StatisticsColumnZone(2), '2');
    SlotCount = saved;

    EXPECT_TRUE(type.ZoneEnabled("T"));
    EXPECT_TRUE(type.ZoneEnabled("0"));
    EXPECT_FALSE(type.ZoneEnabled("1"));
    EXPECT_THROW(type.ZoneEnabled("5"), platform::TConversionError);   // no such attribute

    type.ListType.Root().attribute("codeT").set_value("false");
    EXPECT_EQ(type.StatisticsZoneColumnCount(4), 2);
    EXPECT_EQ(type.StatisticsColumnZone(3, 4), 'T');
    // Without zones every column is the total.
    EXPECT_EQ(type.StatisticsZoneColumnCount(1), 0);
    EXPECT_EQ(type.StatisticsColumnZone(1, 1), 'T');
}

TEST(ListTypeModule, OtherKindsHaveNoZoneColumns)
{
    TListTypeModule type;
    type.ListType.LoadFromText("<listtype type=\"detailed\" title=\"List\"><columns/></listtype>");
    EXPECT_EQ(type.ListKind(), "detailed");
    EXPECT_EQ(type.StatisticsZoneColumnCount(4), 0);
    for (int column = 1; column <= 3; ++column) EXPECT_EQ(type.StatisticsColumnZone(column, 4), 'T');
    for (const char *code : {"T", "0", "9", "x"}) EXPECT_TRUE(type.ZoneEnabled(code)) << code;
}

TEST(ListTypeModule, VisibleBreakFields)
{
    TListTypeModule type;
    type.ListType.LoadFromText(StatisticsXml);
    EXPECT_EQ(type.VisibleBreakFieldCount(0), 2);
    EXPECT_EQ(type.VisibleBreakFieldIndex(0, 0), 1);
    EXPECT_EQ(type.VisibleBreakFieldIndex(0, 1), 2);
    EXPECT_EQ(type.VisibleBreakFieldIndex(0, 2), 0);
    EXPECT_EQ(type.VisibleBreakFieldCount(1), 0);
    EXPECT_EQ(type.VisibleBreakFieldIndex(1, 0), 0);
    EXPECT_THROW(type.VisibleBreakFieldCount(2), platform::TConversionError);   // "visible" missing
    EXPECT_THROW(type.VisibleBreakFieldCount(3), std::out_of_range);
    EXPECT_THROW(type.VisibleBreakFieldIndex(-1, 0), std::out_of_range);
}
