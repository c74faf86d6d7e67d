// Fields and detail records: layout, display rules, parsing, string slots,
// equality and type names.
#include "dictionary/LanguageUnit.h"
#include "model/DataRecordUnit.h"
#include "platform/StreamUnit.h"
#include "platform/XmlDocumentUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>

using namespace model;

namespace {

std::unique_ptr<TTarvilexField> MakeField(std::uint8_t type, int length = 0)
{
    return std::make_unique<TTarvilexField>(type, length);
}

// Restores the start-up separators every test may change.
class DataRecord : public ::testing::Test {
protected:
    void TearDown() override { dictionary::SetStartupSeparatorsForTesting('/', '.', ':'); }
};

}  // namespace

TEST_F(DataRecord, OffsetsAndLengthFollowSlotWidths)
{
    TTarvilexDataRecord record;
    EXPECT_EQ(record.Length(), 0);
    EXPECT_EQ(record.Buffer(), nullptr);

    record.AddField("N", MakeField(ftInteger));
    record.AddField("S", MakeField(ftString, 10));
    record.AddField("M", MakeField(ftMoney));
    record.AddField("B", MakeField(ftBoolean));
    EXPECT_EQ(record.Length(), 24);
    const int offsets[] = {0, 4, 15, 23};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(record.Field(i).Offset, offsets[i]) << i;
        EXPECT_EQ(record.Field(i).Data, record.Buffer() + offsets[i]) << i;
    }
}

TEST_F(DataRecord, FieldSizeAndTypeNames)
{
    struct SizeCase { std::uint8_t type; int length; int size; };
    const SizeCase sizes[] = {{0, 0, 4}, {1, 0, 1}, {2, 10, 11}, {2, 0, 1}, {3, 0, 8}, {4, 0, 4}, {5, 0, 8}, {6, 0, 0}, {255, 7, 0}};
    for (const auto &c : sizes) EXPECT_EQ(FieldSize(TTarvilexField(c.type, c.length)), c.size) << int(c.type);

    struct NameCase { const char *name; std::uint8_t code; };
    const NameCase names[] = {{"integer", 0}, {"boolean", 1}, {"string", 2}, {"float", 3}, {"autoincrement", 4},
                              {"money", 5}, {"Integer", 0}, {"String", 0}, {"MONEY", 0}, {"", 0}, {"text", 0}};
    for (const auto &c : names) EXPECT_EQ(FieldTypeFromName(c.name), c.code) << c.name;
}

TEST_F(DataRecord, DurationDisplay)
{
    struct DisplayCase { const char *field; std::uint8_t type; int value; const char *shown; };
    const DisplayCase cases[] = {
        {"DURATION", ftInteger, 3725, "1:02:05"},
        {"DURATION", ftInteger, 90000, "25:00:00"},
        {"DURATION", ftInteger, -61, "-0:01:01"},
        {"DURATION", ftInteger, 0, "0:00:00"},
        {"CALCDUR", ftInteger, 59, "0:00:59"},
        {"ITIME", ftAutoIncrement, 3600, "1:00:00"},
        {"RINGTIME", ftInteger, 61, "0:01:01"},
        {"duration", ftInteger, 3725, "3725"},        // special names are case-sensitive
        {"CalcDur", ftInteger, 59, "59"},
        {"COUNT", ftInteger, -61, "-61"},
    };
    for (const auto &c : cases) {
        TTarvilexDataRecord record;
        record.AddField("DURATION", MakeField(c.type));   // found whatever case the caller uses
        record.AddField(c.field, MakeField(c.type));
        const int index = record.IndexOfField(c.field);
        platform::WriteLE32(record.Field(index).Data, c.value);
        EXPECT_EQ(record.FieldValueAsString(c.field), c.shown) << c.field << " " << c.value;
        EXPECT_EQ(record.FieldValueAsInteger(c.field), c.value) << c.field;
    }
}

TEST_F(DataRecord, LookupInAnyOrderAndLetterCase)
{
    TTarvilexDataRecord record;
    for (const char *name : {"A", "B", "C"}) record.AddField(name, MakeField(ftInteger));
    // Column order, out of order, repeated, another letter case, unknown.
    const std::pair<const char *, int> lookups[] = {{"A", 0}, {"B", 1}, {"C", 2}, {"A", 0}, {"C", 2}, {"B", 1},
                                                    {"B", 1}, {"c", 2}, {"a", 0}, {"D", -1}, {"C", 2}};
    for (const auto &[name, index] : lookups) EXPECT_EQ(record.IndexOfField(name), index) << name;
}

TEST_F(DataRecord, MoneyAndFloatUseStartupSeparator)
{
    TTarvilexDataRecord record;
    record.AddField("COST", MakeField(ftMoney));
    record.AddField("RATE", MakeField(ftFloat));
    platform::WriteLEDouble(record.FindField("COST")->Data, 12.5);
    platform::WriteLEDouble(record.FindField("RATE")->Data, 0.1);

    dictionary::SetStartupSeparatorsForTesting('/', '.');
    EXPECT_EQ(record.FieldValueAsString("COST"), "12.50");
    EXPECT_EQ(record.FieldValueAsString("RATE"), "0.1");

    dictionary::SetStartupSeparatorsForTesting('/', ',');
    EXPECT_EQ(record.FieldValueAsString("COST"), "12,50");
    EXPECT_EQ(record.FieldValueAsString("RATE"), "0,1");
    // The raw text keeps the point.
    EXPECT_EQ(record.FieldValueAsSimpleString("COST"), "12.5");
    EXPECT_EQ(record.FieldValueAsSimpleString("RATE"), "0.1");

    platform::WriteLEDouble(record.FindField("COST")->Data, -3.456);
    EXPECT_EQ(record.FieldValueAsString("COST"), "-3,46");
    EXPECT_DOUBLE_EQ(record.FieldValueAsFloat("COST"), -3.456);
}

TEST_F(DataRecord, ParsingByType)
{
    TTarvilexDataRecord record;
    record.AddField("N", MakeField(ftInteger));
    record.AddField("B", MakeField(ftBoolean));
    record.AddField("F", MakeField(ftFloat));
    record.AddField("M", MakeField(ftMoney));

    record.SetFieldValue("N", "-42");
    record.SetFieldValue("B", "258");      // low 8 bits
    record.SetFieldValue("F", "1.25");
    record.SetFieldValue("M", "1e3");
    EXPECT_EQ(record.FieldValueAsInteger("N"), -42);
    EXPECT_EQ(record.FindField("B")->Data[0], 2);
    EXPECT_TRUE(record.FieldValueAsBoolean("B"));
    EXPECT_EQ(record.FieldValueAsFloat("F"), 1.25);
    EXPECT_EQ(record.FieldValueAsFloat("M"), 1000.0);

    record.SetFieldValue("B", "-1");
    EXPECT_EQ(record.FindField("B")->Data[0], 255);

    // Malformed text raises and leaves the old value.
    const struct { const char *field, *text; } bad[] = {{"N", "abc"}, {"N", "12x"}, {"N", "1.5"}, {"B", "yes"},
                                                       {"F", "1,5"}, {"F", "inf"}, {"M", "nan"}, {"M", "1.2.3"}};
    for (const auto &c : bad) EXPECT_THROW(record.SetFieldValue(c.field, c.text), platform::TConversionError) << c.text;
    EXPECT_EQ(record.FieldValueAsInteger("N"), -42);
    EXPECT_EQ(record.FieldValueAsFloat("F"), 1.25);

    // With a comma as the start-up separator the comma is the one accepted.
    dictionary::SetStartupSeparatorsForTesting('/', ',');
    record.SetFieldValue("F", "1,5");
    EXPECT_EQ(record.FieldValueAsFloat("F"), 1.5);
    EXPECT_THROW(record.SetFieldValue("F", "1.5"), platform::TConversionError);

    // Empty text is the empty value, as Clear gives.
    record.SetFieldValue("N", "");
    EXPECT_EQ(record.FieldValueAsInteger("N"), 0);
    record.SetFieldValue("M", "7");
    record.Clear();
    EXPECT_EQ(record.FieldValueAsFloat("M"), 0.0);
    EXPECT_FALSE(record.FieldValueAsBoolean("B"));
    EXPECT_EQ(record.FieldValueAsFloat("F"), 0.0);
}

TEST_F(DataRecord, StringSlotRules)
{
    TTarvilexDataRecord record;
    record.AddField("S", MakeField(ftString, 10));
    record.AddField("AFTER", MakeField(ftBoolean));
    std::uint8_t *slot = record.FindField("S")->Data;
    std::uint8_t *after = record.FindField("AFTER")->Data;

    // Only the counted characters are the value.
    slot[0] = 3;
    std::memcpy(slot + 1, "abcdefghij", 10);
    EXPECT_EQ(record.FieldValueAsString("S"), "abc");
    EXPECT_EQ(record.FieldValueAsSimpleString("S"), "abc");

    // A length byte beyond the declared length reads the declared length only.
    slot[0] = 200;
    EXPECT_EQ(record.FieldValueAsString("S"), "abcdefghij");

    *after = 0x5A;
    record.SetFieldValue("S", "0123456789");
    EXPECT_EQ(slot[0], 10);
    EXPECT_EQ(std::memcmp(slot + 1, "0123456789", 10), 0);

    // Too long text is cut to the slot; the next field is untouched.
    record.SetFieldValue("S", "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(slot[0], 10);
    EXPECT_EQ(record.FieldValueAsString("S"), "ABCDEFGHIJ");
    EXPECT_EQ(*after, 0x5A);

    record.SetFieldValue("S", "");
    EXPECT_EQ(slot[0], 0);
    EXPECT_EQ(record.FieldValueAsString("S"), "");
}

TEST_F(DataRecord, StringsAreCodePageBytesInside)
{
    if (std::getenv("TARVILEX_CODEPAGE")) GTEST_SKIP() << "another code page is in force";
    TTarvilexDataRecord record;
    record.AddField("NAME", MakeField(ftString, 5));
    record.SetFieldValue("NAME", "Gőzű");   // UTF-8 outside, Windows-1250 inside
    const std::uint8_t expected[] = {4, 'G', 0xF5, 'z', 0xFB};
    EXPECT_EQ(std::memcmp(record.Buffer(), expected, sizeof expected), 0);
    EXPECT_EQ(record.FieldValueAsString("NAME"), "Gőzű");
}

TEST_F(DataRecord, BooleanDisplayWithoutDictionaryShowsKeys)
{
    ASSERT_EQ(dictionary::LanguageModule(), nullptr);
    struct BooleanCase { const char *field; std::uint8_t value; const char *shown; };
    const BooleanCase cases[] = {
        {"INCOMING", 2, "_Incoming"},       {"INCOMING", 0, "_Outgoing"},
        {"INNERCALL", 1, "_Inner"},         {"INNERCALL", 0, "_NotInner"},
        {"PRIVATECALL", 1, "_Private"},     {"PRIVATECALL", 0, "_Official"},
        {"PROCESSED", 1, "_Processed"},     {"PROCESSED", 0, "_NotProcessed"},
        {"ENCRYPT", 1, "_Encrypted"},       {"ENCRYPT", 0, "_NotEncrypted"},
        {"MARK", 1, "_Marked"},             {"MARK", 0, "_NotMarked"},
        {"FLAG", 2, "2"},                   {"incoming", 1, "1"},
    };
    for (const auto &c : cases) {
        TTarvilexDataRecord record;
        record.AddField(c.field, MakeField(ftBoolean));
        record.Buffer()[0] = c.value;
        EXPECT_EQ(record.FieldValueAsString(c.field), c.shown) << c.field << " " << int(c.value);
    }
}

TEST_F(DataRecord, DictionaryTextsAndDatePatterns)
{
    testsupport::TTempFolder folder;
    testsupport::WriteFile(folder.File("Language.XML"),
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?><words>"
                           "<_Incoming language0=\"Bejövő\" language1=\"Incoming\"/>"
                           "<_Outgoing language0=\"Kimenő\" language1=\"Outgoing\"/>"
                           "<_DateFormat language0=\"yyyy/mm/dd\" language1=\"dd/mm/yyyy\"/>"
                           "<_DateTimeFormat language0=\"yyyy/mm/dd hh:nn:ss\" language1=\"dd/mm/yyyy hh:nn\"/>"
                           "</words>");
    dictionary::TLanguageModule language(folder.File("Language.XML"), "TESTS_MODEL");
    dictionary::SetLanguageIndex(0);
    dictionary::SetStartupSeparatorsForTesting('-', '.', '.');

    TTarvilexDataRecord record;
    record.AddField("INCOMING", MakeField(ftBoolean));
    record.AddField("STRDATE", MakeField(ftString, 8));
    record.AddField("STRDATETIME", MakeField(ftString, 14));

    record.SetFieldValue("INCOMING", "1");
    EXPECT_EQ(record.FieldValueAsString("INCOMING"), "Bejövő");
    record.SetFieldValue("INCOMING", "0");
    EXPECT_EQ(record.FieldValueAsString("INCOMING"), "Kimenő");

    record.SetFieldValue("STRDATE", "20240305");
    record.SetFieldValue("STRDATETIME", "20240305134501");
    EXPECT_EQ(record.FieldValueAsString("STRDATE"), "2024-03-05");
    EXPECT_EQ(record.FieldValueAsString("STRDATETIME"), "2024-03-05 13.45.01");
    EXPECT_EQ(record.FieldValueAsSimpleString("STRDATE"), "20240305");

    dictionary::SetLanguageIndex(1);
    EXPECT_EQ(record.FieldValueAsString("INCOMING"), "Outgoing");
    EXPECT_EQ(record.FieldValueAsString("STRDATE"), "05-03-2024");
    dictionary::SetLanguageIndex(0);

    record.SetFieldValue("STRDATE", "20241301");
    EXPECT_THROW(record.FieldValueAsString("STRDATE"), platform::TConversionError);

    // An impossible date-time shows the current date instead.
    record.SetFieldValue("STRDATETIME", "20241305134501");
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char today[16];
    std::strftime(today, sizeof today, "%Y-%m-%d ", &local);
    EXPECT_EQ(record.FieldValueAsString("STRDATETIME").substr(0, 11), today);
}

TEST_F(DataRecord, ValueEquality)
{
    auto bytesOf = [](std::initializer_list<int> values) {
        std::vector<std::uint8_t> bytes;
        for (int v : values) bytes.push_back(std::uint8_t(v));
        return bytes;
    };
    auto doubleBytes = [](double value) {
        std::vector<std::uint8_t> bytes(8);
        platform::WriteLEDouble(bytes.data(), value);
        return bytes;
    };
    struct EqualCase {
        const char *what; std::uint8_t type; int length;
        std::vector<std::uint8_t> data, source; bool equal;
    };
    const EqualCase cases[] = {
        {"integers 5 and 5", ftInteger, 0, bytesOf({5, 0, 0, 0}), bytesOf({5, 0, 0, 0}), true},
        {"integers 5 and 6", ftAutoIncrement, 0, bytesOf({5, 0, 0, 0}), bytesOf({6, 0, 0, 0}), false},
        {"booleans 1 and 2", ftBoolean, 0, bytesOf({1}), bytesOf({2}), false},
        {"booleans 1 and 1", ftBoolean, 0, bytesOf({1}), bytesOf({1}), true},
        {"abc and abcd", ftString, 5, bytesOf({3, 'a', 'b', 'c', 0, 0}), bytesOf({4, 'a', 'b', 'c', 'd', 0}), false},
        {"abc and abc, other tails", ftString, 5, bytesOf({3, 'a', 'b', 'c', 'x', 'y'}), bytesOf({3, 'a', 'b', 'c', 0, 0}), true},
        {"abc and abC", ftString, 5, bytesOf({3, 'a', 'b', 'c', 0, 0}), bytesOf({3, 'a', 'b', 'C', 0, 0}), false},
        {"0.1+0.2 and 0.3", ftFloat, 0, doubleBytes(0.1 + 0.2), doubleBytes(0.3), false},
        {"money 12.5 and 12.5", ftMoney, 0, doubleBytes(12.5), doubleBytes(12.5), true},
        {"unknown type", 6, 0, bytesOf({1, 2, 3, 4}), bytesOf({1, 2, 3, 4}), false},
    };
    for (auto c : cases) {
        TTarvilexField field(c.type, c.length);
        field.Data = c.data.data();
        field.Source = c.source.data();
        EXPECT_EQ(FieldValuesEqual(field), c.equal) << c.what;
    }

    TTarvilexDataRecord record;
    record.AddField("N", MakeField(ftInteger));
    EXPECT_FALSE(record.SameField("N"));   // no source to compare with
    const std::uint8_t zero[4] = {};
    record.FindField("N")->Source = zero;
    record.Clear();
    EXPECT_TRUE(record.SameField("n"));
    EXPECT_FALSE(record.SameField("NOPE"));
}

TEST_F(DataRecord, UnknownNamesAndOtherTypes)
{
    TTarvilexDataRecord record;
    record.AddField("M", MakeField(ftMoney));
    record.AddField("S", MakeField(ftString, 4));
    record.SetFieldValue("M", "2.5");
    record.SetFieldValue("NOPE", "abc");   // nothing happens
    EXPECT_EQ(record.FieldValueAsString("NOPE"), "");
    EXPECT_EQ(record.FieldValueAsSimpleString("NOPE"), "");
    EXPECT_EQ(record.FieldValueAsInteger("NOPE"), 0);
    EXPECT_EQ(record.FieldValueAsFloat("NOPE"), 0.0);
    EXPECT_FALSE(record.FieldValueAsBoolean("NOPE"));
    // Asking for another type than the field's gives the empty value.
    EXPECT_EQ(record.FieldValueAsInteger("M"), 0);
    EXPECT_EQ(record.FieldValueAsFloat("S"), 0.0);
    EXPECT_EQ(record.FieldValueAsFloat("M"), 2.5);
}

TEST_F(DataRecord, DuplicateNamesFindTheFirst)
{
    TTarvilexDataRecord record;
    record.AddField("Caller", MakeField(ftInteger));
    record.AddField("CALLER", MakeField(ftInteger));
    platform::WriteLE32(record.Field(0).Data, 1);
    platform::WriteLE32(record.Field(1).Data, 2);
    EXPECT_EQ(record.FieldValueAsInteger("caller"), 1);
    EXPECT_EQ(record.FieldName(1), "CALLER");
    EXPECT_THROW(record.Field(2), std::out_of_range);
}

TEST_F(DataRecord, ReadFromIsOneRecordPerCall)
{
    TTarvilexDataRecord record;
    record.AddField("N", MakeField(ftInteger));
    record.AddField("B", MakeField(ftBoolean));
    platform::TMemoryStream stream({7, 0, 0, 0, 1, 0xFE, 0xFF, 0xFF, 0xFF, 0, 9});
    record.ReadFrom(stream);
    EXPECT_EQ(record.FieldValueAsInteger("N"), 7);
    EXPECT_TRUE(record.FieldValueAsBoolean("B"));
    record.ReadFrom(stream);
    EXPECT_EQ(record.FieldValueAsInteger("N"), -2);
    EXPECT_FALSE(record.FieldValueAsBoolean("B"));
    EXPECT_EQ(stream.Position(), 10);
    EXPECT_THROW(record.ReadFrom(stream), platform::TStreamError);
}
