// The writer's output against the container layout worked out by hand: every
// offset, length and counter below is computed in the comments, not taken
// from the writer or the model.
#include "tools/ListDescriptionUnit.h"
#include "tools/ListFileWriterUnit.h"
#include "tools/SampleListUnit.h"

#include "platform/FileUnit.h"
#include "platform/StreamUnit.h"
#include "platform/XmlDocumentUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// Expected bytes, appended in file order.
struct TExpected {
    Bytes B;
    TExpected &Raw(std::initializer_list<int> bytes)
    {
        for (int b : bytes) B.push_back(std::uint8_t(b));
        return *this;
    }
    TExpected &I32(std::int32_t v)
    {
        std::uint8_t p[4];
        platform::WriteLE32(p, v);
        B.insert(B.end(), p, p + 4);
        return *this;
    }
    TExpected &F64(double v)
    {
        std::uint8_t p[8];
        platform::WriteLEDouble(p, v);
        B.insert(B.end(), p, p + 8);
        return *this;
    }
    // One counter slot: PIECE, DURATION, CALCDUR, IMPULSE, COST, READINCOST, RINGTIME.
    TExpected &Slot(int piece, int duration, int calcDur, int impulse, double cost, double readIn, int ring)
    {
        return I32(piece).I32(duration).I32(calcDur).I32(impulse).F64(cost).F64(readIn).I32(ring);
    }
};

Bytes Slice(const std::string &file, std::size_t at, std::size_t count)
{
    if (at + count > file.size()) return Bytes(file.begin() + std::ptrdiff_t(std::min(at, file.size())), file.end());
    return Bytes(file.begin() + std::ptrdiff_t(at), file.begin() + std::ptrdiff_t(at + count));
}

std::int32_t Int32At(const std::string &file, std::size_t at)
{
    return platform::ReadLE32(reinterpret_cast<const std::uint8_t *>(file.data()) + at);
}

double DoubleAt(const std::string &file, std::size_t at)
{
    return platform::ReadLEDouble(reinterpret_cast<const std::uint8_t *>(file.data()) + at);
}

platform::TXmlDocument Generation(const std::string &text)
{
    platform::TXmlDocument document;
    document.LoadFromText(text);
    return document;
}

tools::TListHeader Header()
{
    tools::TListHeader header;
    header.GenerationTime = 41365.25;   // 2013-04-01 06:00: 41365 days after 1899-12-30
    header.FirstDay = 41334.0;          // 2013-03-01
    header.LastDay = 41364.0;           // 2013-03-31
    header.FirstText = "AB";
    header.Remark = "Próba";            // 5 bytes in Windows-1250 (ó = F3)
    return header;
}

// Detailed list: EXTENSION string(3) -> 4 bytes, DURATION integer -> 4,
// COST money -> 8: R = 16. One zone, so a counter block is 2 slots.
const char *const GoldenGeneration =
    "<listgeneration userdir=\"C:\\X\" systemname=\"Kovács Kft.\" language=\"0\">"
    "<listtype listfilename=\"Próba\"><listtype type=\"detailed\" title=\"T\">"
    "<columns><c id=\"EXTENSION\"/><c id=\"DURATION\"/><c id=\"COST\"/></columns>"
    "<controlbreaks><l><k id=\"EXTENSION\" visible=\"True\"/></l></controlbreaks>"
    "</listtype></listtype>"
    "<conditions><listcondition name=\"N\" startdate=\"0/-1/1\" enddate=\"0/-1/31\"/></conditions>"
    "<listfields><fields><detailed>"
    "<f id=\"EXTENSION\" tablefield=\"EXT\"/><f id=\"DURATION\" tablefield=\"DUR\"/><f id=\"COST\" tablefield=\"PRICE\"/>"
    "</detailed><summarizedzones><z code=\"0\" title=\"Helyi|Local\"/></summarizedzones></fields></listfields>"
    "<datamodule><tarvilexdata><fields>"
    "<f name=\"EXT\" type=\"string\" length=\"3\"/><f name=\"DUR\" type=\"integer\"/><f name=\"PRICE\" type=\"money\"/>"
    "</fields></tarvilexdata></datamodule></listgeneration>";

TEST(ListFileWriter, DetailedListWithOneBreakLevelMatchesTheLayoutByteForByte)
{
    testsupport::TTempFolder folder;
    const std::string path = folder.File("Golden.TarvilexList");
    const platform::TXmlDocument generation = Generation(GoldenGeneration);
    {
        tools::TListFileWriter writer(path, Header(), generation.Root());
        writer.AddCall({"201", "60", "1.5"}, {0, 60, 60, 2, 1.5, 1.25, 5});
        writer.AddCall({"201", "30", "0.5"}, {0, 30, 60, 1, 0.5, 0.75, 10});
        writer.AddCall({"202", "90", "2.25"}, {0, 90, 120, 3, 2.25, 2.5, 0});
        writer.Finish();
    }
    const std::string file = testsupport::ReadFile(path);

    // Header: 41 reserved zero bytes, then the dates, N and X.
    EXPECT_EQ(Slice(file, 0, 41), Bytes(41, 0));
    EXPECT_EQ(DoubleAt(file, 41), 41365.25);
    EXPECT_EQ(Int32At(file, 49), 3);
    EXPECT_EQ(DoubleAt(file, 53), 41334.0);
    EXPECT_EQ(DoubleAt(file, 61), 41364.0);
    const std::int32_t x = Int32At(file, 69);

    // The two texts: L1 = 2 at 73, "AB" at 77, L2 = 5 at 79, remark at 83.
    EXPECT_EQ(Slice(file, 73, 15), (TExpected().I32(2).Raw({'A', 'B'}).I32(5).Raw({'P', 'r', 0xF3, 'b', 'a'}).B));

    // The generation document from 88, X bytes, in ISO-8859-2 (á = E1).
    const std::string document = file.substr(88, std::size_t(x));
    EXPECT_EQ(document.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" standalone=\"yes\"?>", 0), 0u);
    EXPECT_NE(document.find("Kov\xE1" "cs Kft."), std::string::npos);
    platform::TXmlDocument parsed;
    parsed.LoadFromText(document);
    EXPECT_STREQ(parsed.Root().name(), "listgeneration");
    EXPECT_STREQ(parsed.Root().attribute("systemname").value(), "Kovács Kft.");
    EXPECT_STREQ(parsed.Root().first_element_by_path("listtype/listtype").attribute("type").value(), "detailed");
    EXPECT_STREQ(parsed.Root().first_element_by_path("datamodule/tarvilexdata/fields").first_child().attribute("name").value(), "EXT");

    // Records from P0 = 88 + X: length byte, "201", 60 = 3C, 1.5 = 3FF8 0000 0000 0000, ...
    const std::size_t p0 = 88 + std::size_t(x);
    const Bytes records = {
        0x03, '2', '0', '1', 0x3C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xF8, 0x3F,   // 201, 60, 1.5
        0x03, '2', '0', '1', 0x1E, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xE0, 0x3F,   // 201, 30, 0.5
        0x03, '2', '0', '2', 0x5A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x02, 0x40,   // 202, 90, 2.25
    };
    EXPECT_EQ(Slice(file, p0, 48), records);

    // Level 0 after 3 x 16 bytes: M0 = 2, entries of 8 + 2 x 36 + 4 = 84 bytes.
    TExpected level;
    level.I32(2);
    level.I32(1).I32(2).Slot(2, 90, 120, 3, 2.0, 2.0, 15).Slot(2, 90, 120, 3, 2.0, 2.0, 15).Raw({3, '2', '0', '1'});
    level.I32(3).I32(3).Slot(1, 90, 120, 3, 2.25, 2.5, 0).Slot(1, 90, 120, 3, 2.25, 2.5, 0).Raw({3, '2', '0', '2'});
    EXPECT_EQ(Slice(file, p0 + 48, 4 + 2 * 84), level.B);

    // Zone totals: zone 0 and the total both count all three calls.
    TExpected totals;
    totals.Slot(3, 180, 240, 6, 4.25, 4.5, 15).Slot(3, 180, 240, 6, 4.25, 4.5, 15);
    EXPECT_EQ(Slice(file, p0 + 48 + 172, 72), totals.B);
    EXPECT_EQ(file.size(), p0 + 48 + 172 + 72);
}

// Two levels and no summarized zone (one 36-byte slot): OUTER and INNER are
// strings of length 2, so R = 6 and a break entry is 8 + 36 + 3 = 47 bytes.
TEST(ListFileWriter, TwoLevelsChainTheirRangesAndFollowEachOther)
{
    testsupport::TTempFolder folder;
    const std::string path = folder.File("Levels.TarvilexList");
    const platform::TXmlDocument generation = Generation(
        "<listgeneration><listtype><listtype type=\"detailed\">"
        "<columns><c id=\"OUTER\"/><c id=\"INNER\"/></columns>"
        "<controlbreaks><l><k id=\"OUTER\"/></l><l><k id=\"INNER\"/></l></controlbreaks></listtype></listtype>"
        "<listfields><fields><detailed><f id=\"OUTER\" tablefield=\"O\"/><f id=\"INNER\" tablefield=\"I\"/></detailed>"
        "<summarizedzones/></fields></listfields>"
        "<datamodule><tarvilexdata><fields><f name=\"O\" type=\"string\" length=\"2\"/>"
        "<f name=\"I\" type=\"string\" length=\"2\"/></fields></tarvilexdata></datamodule></listgeneration>");
    {
        tools::TListFileWriter writer(path, Header(), generation.Root());
        EXPECT_EQ(writer.RecordLength(), 6);
        writer.AddCall({"X1", "Y1"}, {0, 10, 0, 0, 0, 0, 0});
        writer.AddCall({"X1", "Y2"}, {0, 20, 0, 0, 0, 0, 0});
        writer.AddCall({"X2", "Y2"}, {0, 40, 0, 0, 0, 0, 0});
        writer.Finish();
    }
    const std::string file = testsupport::ReadFile(path);
    const std::size_t p0 = 88 + std::size_t(Int32At(file, 69));
    // With no zone the zone index 0 is the total slot, counted twice.
    const auto entry = [](int first, int last, int piece, int duration, const char *key) {
        return TExpected().I32(first).I32(last).Slot(piece, duration, 0, 0, 0, 0, 0).Raw({2, key[0], key[1]}).B;
    };
    std::size_t at = p0 + 3 * 6;
    ASSERT_EQ(Int32At(file, at), 2);
    EXPECT_EQ(Slice(file, at + 4, 47), entry(1, 2, 4, 60, "X1"));        // inner 1..2
    EXPECT_EQ(Slice(file, at + 4 + 47, 47), entry(3, 3, 2, 80, "X2"));   // inner 3..3
    at += 4 + 2 * 47;
    ASSERT_EQ(Int32At(file, at), 3);
    EXPECT_EQ(Slice(file, at + 4, 47), entry(1, 1, 2, 20, "Y1"));
    EXPECT_EQ(Slice(file, at + 4 + 47, 47), entry(2, 2, 2, 40, "Y2"));
    EXPECT_EQ(Slice(file, at + 4 + 94, 47), entry(3, 3, 2, 80, "Y2"));   // a new group under X2
    at += 4 + 3 * 47;
    EXPECT_EQ(Slice(file, at, 36), TExpected().Slot(6, 140, 0, 0, 0, 0, 0).B);
    EXPECT_EQ(file.size(), at + 36);
}

// Summary list: COSTCENTER string(5) -> 6 bytes, EXTENSION string(3) -> 4;
// two zones, so R = 3 x 36 + 10 = 118 and a level entry 8 + 108 + 6 = 122.
TEST(ListFileWriter, SummaryListFoldsEqualKeysIntoOneRecordAndBreaksOverThem)
{
    testsupport::TTempFolder folder;
    const std::string path = folder.File("Summary.TarvilexList");
    const platform::TXmlDocument generation = Generation(
        "<listgeneration><listtype><listtype type=\"summary\">"
        "<columns><c id=\"COSTCENTER\"/><c id=\"EXTENSION\"/></columns>"
        "<controlbreaks><l><k id=\"COSTCENTER\"/></l></controlbreaks></listtype></listtype>"
        "<listfields><fields><summary><f id=\"COSTCENTER\" tablefield=\"CC\"/><f id=\"EXTENSION\" tablefield=\"EXT\"/>"
        "</summary><summarizedzones><z code=\"0\"/><z code=\"1\"/></summarizedzones></fields></listfields>"
        "<datamodule><tarvilexdata><fields><f name=\"CC\" type=\"string\" length=\"5\"/>"
        "<f name=\"EXT\" type=\"string\" length=\"3\"/></fields></tarvilexdata></datamodule></listgeneration>");
    {
        tools::TListFileWriter writer(path, Header(), generation.Root());
        const struct {
            const char *CostCentre, *Extension;
            int Zone, Duration;
            double Cost;
        } calls[] = {
            {"Sales", "201", 0, 10, 1.0}, {"Sales", "201", 1, 20, 2.0}, {"Sales", "202", 0, 30, 3.0},
            {"Pénz", "301", 1, 40, 4.0},  {"Pénz", "301", 1, 50, 5.0},  {"Pénz", "302", 0, 60, 6.0},
        };
        for (const auto &c : calls) {
            tools::TCallCounters counters;
            counters.ZoneIndex = c.Zone;
            counters.Duration = c.Duration;
            counters.Cost = c.Cost;
            writer.AddCall({c.CostCentre, c.Extension}, counters);
        }
        writer.Finish();
        EXPECT_EQ(writer.RecordCount(), 4);
    }
    const std::string file = testsupport::ReadFile(path);
    EXPECT_EQ(Int32At(file, 49), 4);
    const std::size_t p0 = 88 + std::size_t(Int32At(file, 69));
    const auto slot = [](int piece, int duration, double cost) {
        return TExpected().Slot(piece, duration, 0, 0, cost, 0, 0).B;
    };
    const auto join = [](std::initializer_list<Bytes> parts) {
        Bytes all;
        for (const Bytes &p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    const Bytes sales = {5, 'S', 'a', 'l', 'e', 's'};
    const Bytes penz = {4, 'P', 0xE9, 'n', 'z', 0};   // é = E9, the unused byte zero
    const struct {
        Bytes Zone0, Zone1, Total, CostCentre;
        Bytes Extension;
    } items[] = {
        {slot(1, 10, 1), slot(1, 20, 2), slot(2, 30, 3), sales, {3, '2', '0', '1'}},
        {slot(1, 30, 3), slot(0, 0, 0), slot(1, 30, 3), sales, {3, '2', '0', '2'}},
        {slot(0, 0, 0), slot(2, 90, 9), slot(2, 90, 9), penz, {3, '3', '0', '1'}},
        {slot(1, 60, 6), slot(0, 0, 0), slot(1, 60, 6), penz, {3, '3', '0', '2'}},
    };
    for (std::size_t i = 0; i < std::size(items); ++i) {
        const auto &it = items[i];
        EXPECT_EQ(Slice(file, p0 + i * 118, 118), join({it.Zone0, it.Zone1, it.Total, it.CostCentre, it.Extension}))
            << "item record " << i + 1;
    }
    std::size_t at = p0 + 4 * 118;
    ASSERT_EQ(Int32At(file, at), 2);
    EXPECT_EQ(Slice(file, at + 4, 122),
              join({TExpected().I32(1).I32(2).B, slot(2, 40, 4), slot(1, 20, 2), slot(3, 60, 6), sales}));
    EXPECT_EQ(Slice(file, at + 4 + 122, 122),
              join({TExpected().I32(3).I32(4).B, slot(1, 60, 6), slot(2, 90, 9), slot(3, 150, 15), penz}));
    at += 4 + 2 * 122;
    EXPECT_EQ(Slice(file, at, 108), join({slot(3, 100, 10), slot(3, 110, 11), slot(6, 210, 21)}));
    EXPECT_EQ(file.size(), at + 108);
}

// Without breaks the golden list's record area can be a hole: R = 16, two slots.
TEST(ListFileWriter, SparseRecordsLeaveZeroRecordsAndCountThemInZoneZero)
{
    testsupport::TTempFolder folder;
    const std::string path = folder.File("Sparse.TarvilexList");
    std::string text = GoldenGeneration;
    text.replace(text.find("<controlbreaks>"), text.find("</controlbreaks>") + 16 - text.find("<controlbreaks>"), "");
    const platform::TXmlDocument generation = Generation(text);
    {
        tools::TListFileWriter writer(path, Header(), generation.Root());
        writer.AddSparseRecords(1000);
        EXPECT_THROW(writer.AddCall({"201", "1", "1"}, {}), tools::TListWriterError);
        writer.Finish();
    }
    const std::string file = testsupport::ReadFile(path);
    EXPECT_EQ(Int32At(file, 49), 1000);
    const std::size_t p0 = 88 + std::size_t(Int32At(file, 69));
    ASSERT_EQ(file.size(), p0 + 1000 * 16 + 72);
    EXPECT_EQ(Slice(file, p0, 16000), Bytes(16000, 0));
    EXPECT_EQ(Slice(file, p0 + 16000, 72), TExpected().Slot(1000, 0, 0, 0, 0, 0, 0).Slot(1000, 0, 0, 0, 0, 0, 0).B);

    // A list with breaks cannot be sparse.
    const platform::TXmlDocument withBreaks = Generation(GoldenGeneration);
    tools::TListFileWriter writer(folder.File("NotSparse.TarvilexList"), Header(), withBreaks.Root());
    EXPECT_THROW(writer.AddSparseRecords(10), tools::TListWriterError);
}

TEST(ListFileWriter, BadInputIsRefusedAndLeavesNoFile)
{
    testsupport::TTempFolder folder;
    const std::string path = folder.File("Bad.TarvilexList");
    const struct {
        const char *Name;
        std::vector<std::string> Values;
        int Zone;
        const char *Message;
    } calls[] = {
        {"too few values", {"201", "60"}, 0, "A call needs 3 column values, not 2"},
        {"zone beyond the total slot", {"201", "60", "1"}, 2, "Invalid zone index 2"},
        {"negative zone", {"201", "60", "1"}, -1, "Invalid zone index -1"},
        {"duration not a number", {"201", "6x", "1"}, 0, "Invalid value of DURATION: \"6x\""},
        {"cost not a number", {"201", "6", "1,5,"}, 0, "Invalid value of COST"},
    };
    const platform::TXmlDocument generation = Generation(GoldenGeneration);
    for (const auto &c : calls) {
        try {
            tools::TListFileWriter writer(path, Header(), generation.Root());
            tools::TCallCounters counters;
            counters.ZoneIndex = c.Zone;
            writer.AddCall(c.Values, counters);
            ADD_FAILURE() << c.Name << ": accepted";
        } catch (const tools::TListWriterError &e) {
            EXPECT_NE(std::string(e.what()).find(std::string("ListFileWriterUnit: ") + c.Message), std::string::npos)
                << c.Name << ": " << e.what();
        }
        EXPECT_FALSE(platform::FileExists(path)) << c.Name;
        EXPECT_FALSE(platform::FileExists(path + ".level0.tmp")) << c.Name;
    }

    const struct {
        const char *Name, *From, *To, *Message;
    } documents[] = {
        {"break key outside the columns", "<k id=\"EXTENSION\"", "<k id=\"NAME\"", "ListFieldsModuleUnit: Invalid field! NAME"},
        {"no list type", "<listtype listfilename", "<other listfilename", "has no listtype/listtype element"},
        {"no schema", "<datamodule>", "<datamodul>", "has no datamodule/tarvilexdata element"},
        {"no columns", "<c id=\"EXTENSION\"/><c id=\"DURATION\"/><c id=\"COST\"/>", "", "The list type has no columns"},
    };
    for (const auto &d : documents) {
        std::string text = GoldenGeneration;
        text.replace(text.find(d.From), std::string(d.From).size(), d.To);
        if (std::string(d.From) == "<datamodule>") text.replace(text.find("</datamodule>"), 13, "</datamodul>");
        if (std::string(d.From) == "<listtype listfilename") text.replace(text.find("</listtype></listtype>"), 22, "</listtype></other>");
        const platform::TXmlDocument broken = Generation(text);
        try {
            tools::TListFileWriter writer(path, Header(), broken.Root());
            ADD_FAILURE() << d.Name << ": accepted";
        } catch (const std::exception &e) {
            EXPECT_NE(std::string(e.what()).find(d.Message), std::string::npos) << d.Name << ": " << e.what();
        }
        EXPECT_FALSE(platform::FileExists(path)) << d.Name;
    }
}

TEST(ListFileWriter, BreakKeyThatIsNoColumnIsRefused)
{
    testsupport::TTempFolder folder;
    std::string text = GoldenGeneration;
    // DURATION is a known field but not among the columns of this list.
    text.replace(text.find("<c id=\"DURATION\"/>"), 18, "");
    text.replace(text.find("<k id=\"EXTENSION\""), 17, "<k id=\"DURATION\"");
    const platform::TXmlDocument generation = Generation(text);
    try {
        tools::TListFileWriter writer(folder.File("Bad.TarvilexList"), Header(), generation.Root());
        ADD_FAILURE() << "accepted";
    } catch (const tools::TListWriterError &e) {
        EXPECT_STREQ(e.what(), "ListFileWriterUnit: The break key DURATION is no column of the list!");
    }
}

// The shipped example description: three calls of one cost centre, R = 153
// (STRDATE 9, ITIME 4, COSTCENTER 31, EXTENSION 9, NAME 41, NUMBER 25,
// ZONE 21, DURATION 4, COST 8, INCOMING 1 with the shipped schema).
TEST(ListDescription, ExampleDescriptionBecomesAList)
{
    testsupport::TTempFolder folder;
    const std::string data = std::string(TARVILEX_SOURCE_DIR) + "/data";
    const std::string path = folder.File("Reception.TarvilexList");
    tools::WriteDescribedList(data + "/samples/Reception.description.xml", path, data);
    const std::string file = testsupport::ReadFile(path);
    EXPECT_EQ(Int32At(file, 49), 3);
    EXPECT_NEAR(DoubleAt(file, 41), 41335.0 + (7 * 3600 + 15 * 60) / 86400.0, 1e-9);   // 2013-03-02 07:15
    const std::size_t l1 = std::size_t(Int32At(file, 73));
    EXPECT_EQ(file.substr(77, l1), "Recepci\xF3 napi h\xEDv\xE1sai");   // Windows-1250
    const std::size_t l2 = std::size_t(Int32At(file, 77 + l1));
    const std::size_t p0 = 81 + l1 + l2 + std::size_t(Int32At(file, 69));
    // The second call's NAME starts after STRDATE, ITIME, COSTCENTER and EXTENSION.
    EXPECT_EQ(file.substr(p0 + 153 + 9 + 4 + 31 + 9, 13), "\x0C" "Balogh T\xFCnde");
    // Level 0: one group covering all three calls, then the 4 slots of totals.
    const std::size_t level = p0 + 3 * 153;
    EXPECT_EQ(Int32At(file, level), 1);
    EXPECT_EQ(Int32At(file, level + 4), 1);
    EXPECT_EQ(Int32At(file, level + 8), 3);
    const std::size_t totals = level + 4 + 8 + 4 * 36 + 31;
    EXPECT_EQ(Slice(file, totals, 4 * 36),
              (TExpected()
                   .Slot(2, 259, 240, 4, 39, 38, 15)
                   .Slot(0, 0, 0, 0, 0, 0, 0)
                   .Slot(1, 312, 360, 36, 351, 342, 12)
                   .Slot(3, 571, 600, 40, 390, 380, 27)
                   .B));
    EXPECT_EQ(file.size(), totals + 4 * 36);
}

TEST(ListDescription, FaultsNameTheirPlace)
{
    testsupport::TTempFolder folder;
    const std::string data = std::string(TARVILEX_SOURCE_DIR) + "/data";
    const std::string example = testsupport::ReadFile(data + "/samples/Reception.description.xml");
    const struct {
        const char *Name, *From, *To, *Message;
    } cases[] = {
        {"unknown column", "NAME=\"Papp", "NAMES=\"Papp", "call 3: NAMES is no column of the list"},
        {"bad counter", "impulse=\"4\"", "impulse=\"four\"", "call 2 impulse: \"four\" is no integer"},
        {"bad cost", "cost=\"351\"", "cost=\"3,51\"", "call 3 cost: \"3,51\" is no number"},
        {"bad column value", "DURATION=\"74\"", "DURATION=\"7 4\"", "Invalid value of DURATION: \"7 4\""},
        {"impossible date", "firstday=\"2013-03-01\"", "firstday=\"2013-02-30\"", "Invalid date and time: \"2013-02-30\""},
        {"missing date", "lastday=\"2013-03-01\"", "", "has no lastday attribute"},
        {"zone of no slot", "zoneindex=\"2\"", "zoneindex=\"4\"", "Invalid zone index 4"},
    };
    for (const auto &c : cases) {
        std::string text = example;
        ASSERT_NE(text.find(c.From), std::string::npos) << c.Name;
        text.replace(text.find(c.From), std::string(c.From).size(), c.To);
        const std::string description = folder.File("Case.xml");
        testsupport::WriteFile(description, text);
        const std::string path = folder.File("Case.TarvilexList");
        try {
            tools::WriteDescribedList(description, path, data);
            ADD_FAILURE() << c.Name << ": accepted";
        } catch (const tools::TListWriterError &e) {
            EXPECT_NE(std::string(e.what()).find(c.Message), std::string::npos) << c.Name << ": " << e.what();
        }
        EXPECT_FALSE(platform::FileExists(path)) << c.Name;
    }
}

TEST(SampleLists, AreDeterministicAndHaveTheirRecordCounts)
{
    testsupport::TTempFolder folder;
    const std::string data = std::string(TARVILEX_SOURCE_DIR) + "/data";
    const struct {
        const char *Kind;
        int Records;   // calls; distinct extensions; classes; none
    } samples[] = {{"detailed", 2000}, {"summary", 17}, {"statistics", 4}, {"empty", 0}};
    for (const auto &s : samples) {
        tools::WriteSampleList(s.Kind, folder.File("a"), data);
        tools::WriteSampleList(s.Kind, folder.File("b"), data);
        const std::string a = testsupport::ReadFile(folder.File("a"));
        EXPECT_TRUE(a == testsupport::ReadFile(folder.File("b"))) << s.Kind;
        EXPECT_EQ(Int32At(a, 49), s.Records) << s.Kind;
    }
    EXPECT_THROW(tools::WriteSampleList("invoice", folder.File("c"), data), tools::TListWriterError);
}

// 5000 calls over 1000 extensions in 25 cost centres: R = 171 (STRDATETIME 15,
// EXTENSION 9, NAME 41, COSTCENTER 31, TRUNK 7, NUMBER 25, ZONE 21, DURATION,
// RINGTIME, IMPULSE 4 each, COST 8, INCOMING, PRIVATECALL 1 each); level 0
// entries 8 + 4 x 36 + 31 = 183 bytes.
TEST(SampleLists, GeneratedListGroupsEveryExtensionOnce)
{
    testsupport::TTempFolder folder;
    const std::string data = std::string(TARVILEX_SOURCE_DIR) + "/data";
    const std::string path = folder.File("Generated.TarvilexList");
    tools::WriteGeneratedDetailedList(5000, 2, false, path, data);
    const std::string file = testsupport::ReadFile(path);
    ASSERT_EQ(Int32At(file, 49), 5000);
    const std::size_t l1 = std::size_t(Int32At(file, 73));
    const std::size_t l2 = std::size_t(Int32At(file, 77 + l1));
    const std::size_t level0 = 81 + l1 + l2 + std::size_t(Int32At(file, 69)) + 5000 * 171;
    EXPECT_EQ(Int32At(file, level0), 25);
    EXPECT_EQ(Int32At(file, level0 + 4 + 24 * 183 + 4), 1000);   // Last of the last cost centre
    EXPECT_EQ(Int32At(file, level0 + 4 + 25 * 183), 1000);
    EXPECT_THROW(tools::WriteGeneratedDetailedList(10, 1, true, folder.File("x"), data), tools::TListWriterError);
}

}  // namespace
