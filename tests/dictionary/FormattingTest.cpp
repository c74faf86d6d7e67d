// Multi-language texts, dates and the number helpers the displays share.
#include "dictionary/DateTimeUnit.h"
#include "dictionary/LanguageUnit.h"
#include "platform/XmlDocumentUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

using namespace dictionary;

namespace {

// Restores the process-wide values every test here may change.
class FormattingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetLanguageIndex(0);
        SetStartupSeparatorsForTesting('.', ',', ':');
        SetReferenceDate(EncodeDate(2013, 3, 31));
    }
    void TearDown() override
    {
        SetLanguageIndex(0);
        SetStartupSeparatorsForTesting('/', '.', ':');
    }
};

TEST_F(FormattingTest, SelectLanguagePart)
{
    const std::string longTail(300, 'x');
    struct Case { const char *text; int language; std::string part; };
    const Case cases[] = {
        {"Lista|List", 0, "Lista"},
        {"Lista|List", 1, "List"},
        {"Lista|List", 2, "List"},      // beyond the last variant: the last one
        {"Lista", 0, "Lista"},
        {"Lista", 1, "Lista"},
        {"Lista", 7, "Lista"},
        {"A|", 1, "A"},                 // empty variant: the first one
        {"A|B|C", 1, "B"},
        {"A|B|C", 2, "C"},
        {"|B", 1, "B"},
        {"", 1, ""},
    };
    for (const Case &c : cases) {
        SetLanguageIndex(c.language);
        EXPECT_EQ(SelectLanguagePart(c.text), c.part) << c.text << " language " << c.language;
    }
    // The rest after a "|" is cut to 255 characters.
    SetLanguageIndex(1);
    EXPECT_EQ(SelectLanguagePart("A|" + longTail), std::string(255, 'x'));
    // ... counted in characters, not bytes.
    std::string accents;
    for (int i = 0; i < 300; ++i) accents += "é";
    std::string expected;
    for (int i = 0; i < 255; ++i) expected += "é";
    EXPECT_EQ(SelectLanguagePart("A|" + accents), expected);
}

TEST_F(FormattingTest, FormatDuration)
{
    struct Case { int seconds; const char *text; };
    const Case cases[] = {
        {0, "0:00:00"},         {59, "0:00:59"},       {60, "0:01:00"},
        {3725, "1:02:05"},      {-3725, "-1:02:05"},   {90061, "25:01:01"},
        {-1, "-0:00:01"},       {INT_MIN, "-596523:14:08"}, {INT_MAX, "596523:14:07"},
    };
    for (const Case &c : cases) EXPECT_EQ(FormatDuration(c.seconds), c.text) << c.seconds;
}

TEST_F(FormattingTest, EncodeAndDecodeDates)
{
    // Day numbers counted by hand from 30 December 1899.
    struct Case { int y, m, d; double serial; };
    const Case cases[] = {
        {1899, 12, 30, 0}, {1899, 12, 29, -1}, {1900, 1, 1, 2}, {2000, 2, 29, 36585},
        {2013, 3, 31, 41364}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(EncodeDate(c.y, c.m, c.d), c.serial) << c.y << "-" << c.m << "-" << c.d;
        const TDateParts p = DecodeDateTime(c.serial);
        EXPECT_EQ(p.Year * 10000 + p.Month * 100 + p.Day, c.y * 10000 + c.m * 100 + c.d) << c.serial;
    }
    EXPECT_DOUBLE_EQ(EncodeDateTime(2013, 3, 31, 14, 25, 5), 41364 + 51905.0 / 86400);
    // Before day 0 the time still counts forward from midnight.
    const TDateParts before = DecodeDateTime(-1.25);
    EXPECT_EQ(before.Year * 10000 + before.Month * 100 + before.Day, 18991229);
    EXPECT_EQ(before.Hour, 6);
    // A value a hair below midnight rounds to the next day.
    const TDateParts late = DecodeDateTime(41364 + 0.99999999999);
    EXPECT_EQ(late.Day * 100 + late.Hour, 100);

    const int invalid[][6] = {
        {2013, 2, 29, 0, 0, 0}, {1900, 2, 29, 0, 0, 0}, {2013, 13, 1, 0, 0, 0}, {2013, 0, 1, 0, 0, 0},
        {2013, 4, 31, 0, 0, 0}, {0, 1, 1, 0, 0, 0},     {2013, 1, 1, 24, 0, 0}, {2013, 1, 1, 0, 60, 0},
        {2013, 1, 1, 0, 0, 60}, {2013, 1, 1, -1, 0, 0},
    };
    for (const auto &v : invalid)
        EXPECT_THROW(EncodeDateTime(v[0], v[1], v[2], v[3], v[4], v[5]), platform::TConversionError)
            << v[0] << "-" << v[1] << "-" << v[2] << " " << v[3] << ":" << v[4] << ":" << v[5];
}

TEST_F(FormattingTest, FormatDateTimePatterns)
{
    const TDateTime value = EncodeDateTime(2013, 3, 5, 9, 7, 3);
    struct Case { const char *pattern; char date, time; const char *text; };
    const Case cases[] = {
        {"yyyy/mm/dd", '.', ':', "2013.03.05"},
        {"dd/mm/yyyy hh:nn:ss", '/', ':', "05/03/2013 09:07:03"},
        {"d/m/yy h:n:s", '-', '.', "5-3-13 9.7.3"},
        {"yyyy-mm-dd", '/', ':', "2013-03-05"},              // "-" is no placeholder
        {"yyyy'. év' mm", '/', ':', "2013. év 03"},
        {"\"at\" hh:nn", '/', ':', "at 09:07"},
        {"'d/m' d", '.', ':', "d/m 5"},                      // quoted letters stay
        {"yyyy/mm/dd.", '.', ':', "2013.03.05."},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FormatDateTime(c.pattern, value, c.date, c.time), c.text) << c.pattern;
    EXPECT_EQ(FormatDateTime("hh:nn:ss", EncodeDateTime(2013, 3, 5, 23, 59, 59), '/', ':'), "23:59:59");
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd", EncodeDate(987, 6, 1), '/', ':'), "0987/06/01");
}

TEST_F(FormattingTest, TextDatesUseTheDictionaryPatternAndStartupSeparator)
{
    testsupport::TTempFolder folder;
    testsupport::WriteFile(folder.File("Language.XML"),
                           "<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?><words>"
                           "<_DateFormat language0=\"yyyy/mm/dd\" language1=\"dd/mm/yyyy\"/>"
                           "<_DateTimeFormat language0=\"yyyy/mm/dd hh:nn:ss\" language1=\"dd/mm/yyyy hh:nn:ss\"/>"
                           "</words>");
    TLanguageModule module(folder.File("Language.XML"), "TESTPROGRAM");
    EXPECT_EQ(FormatCompactDate("20130331"), "2013.03.31");
    EXPECT_EQ(FormatCompactDate("20120229"), "2012.02.29");
    EXPECT_EQ(FormatCompactTimestamp("20130331142505"), "2013.03.31 14:25:05");
    EXPECT_EQ(FormatIsoTimestamp("2013-03-31 14:25:05"), "2013.03.31 14:25:05");
    EXPECT_EQ(FormatDate(EncodeDate(2013, 3, 31)), "2013.03.31");
    EXPECT_EQ(FormatDateAndTime(EncodeDateTime(2013, 3, 31, 8, 0, 9)), "2013.03.31 08:00:09");
    SetLanguageIndex(1);
    EXPECT_EQ(FormatCompactDate("20130331"), "31.03.2013");
    EXPECT_EQ(FormatIsoTimestamp("2013-03-31 14:25:05"), "31.03.2013 14:25:05");
    EXPECT_EQ(ParseCompactTimestamp("20130331142505"), EncodeDateTime(2013, 3, 31, 14, 25, 5));

    for (const char *bad : {"20130229", "201303", "2013ab31", "", "20131301"})
        EXPECT_THROW(FormatCompactDate(bad), platform::TConversionError) << bad;
    for (const char *bad : {"2013-02-30 00:00:00", "2013-03-31 24:00:00", "2013-03-31", "x013-03-31 14:25:05"})
        EXPECT_THROW(FormatIsoTimestamp(bad), platform::TConversionError) << bad;
    EXPECT_FALSE(module.Modified());
}

TEST_F(FormattingTest, UnparsableCompactTimestampIsNow)
{
    for (const char *bad : {"2013ab31142505", "20130230000000", "", "20130331246000"}) {
        const TDateTime before = Now();
        const TDateTime parsed = ParseCompactTimestamp(bad);
        const TDateTime after = Now();
        EXPECT_GE(parsed, before) << bad;
        EXPECT_LE(parsed, after) << bad;
    }
}

TEST_F(FormattingTest, MoneyAndNumbersUseTheStartupDecimalSeparator)
{
    struct MoneyCase { double value; const char *text; };
    const MoneyCase money[] = {
        {0, "0,00"},          {1234.5, "1234,50"}, {-3.14159, "-3,14"},
        {1000000, "1000000,00"}, {-0.001, "0,00"}, {0.001, "0,00"},
        // Halves round away from zero on the decimal digits, whatever the
        // binary value: 2.675 is stored as 2.67499..., 0.125 exactly.
        {2.675, "2,68"}, {1.005, "1,01"}, {0.125, "0,13"}, {-0.125, "-0,13"},
        {0.005, "0,01"}, {999.995, "1000,00"}, {0.0049, "0,00"}, {12345678.9, "12345678,90"},
        // Values with more than 15 significant digits.
        {0.1 + 0.2, "0,30"}, {2.0 / 3, "0,67"}, {-1.0 / 3, "-0,33"},
        {1e15 / 3, "333333333333333,00"},   // only 15 digits count
    };
    for (const MoneyCase &c : money) EXPECT_EQ(FormatMoney(c.value), c.text) << c.value;

    struct NumberCase { double value; const char *text; };
    const NumberCase numbers[] = {
        {0, "0"}, {100, "100"}, {0.1, "0,1"}, {1234.5, "1234,5"}, {-2.5, "-2,5"},
        {1.0 / 3, "0,333333333333333"}, {123456789012345678.0, "1,23456789012346e+17"},
    };
    for (const NumberCase &c : numbers) EXPECT_EQ(FormatNumber(c.value), c.text) << c.value;

    SetStartupSeparatorsForTesting('/', '.', ':');
    EXPECT_EQ(FormatMoney(-12.5), "-12.50");
}

TEST_F(FormattingTest, FontStyleWords)
{
    struct Case { TFontStyles styles; const char *words; };
    const Case cases[] = {
        {0, ""},
        {fsBold, "Bold"},
        {fsBold | fsItalic, "BoldItalic"},
        {fsUnderline | fsStrikeOut, "UnderlineStrikeout"},
        {fsBold | fsItalic | fsUnderline | fsStrikeOut, "BoldItalicUnderlineStrikeout"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(FontStyleToWords(c.styles), c.words) << c.styles;
        EXPECT_EQ(WordsToFontStyle(c.words), c.styles) << c.words;
    }
    EXPECT_EQ(WordsToFontStyle("ItalicBold"), TFontStyles(fsBold | fsItalic));
    EXPECT_EQ(WordsToFontStyle("[Strikeout]"), TFontStyles(fsStrikeOut));
    EXPECT_EQ(WordsToFontStyle("bold italic"), TFontStyles(0));     // case-sensitive
}

TEST_F(FormattingTest, DaysInMonth)
{
    struct Case { int year, month, days; };
    const Case cases[] = {
        {2012, 2, 29}, {2013, 2, 28}, {1900, 2, 28}, {2000, 2, 29}, {2013, 4, 30}, {2013, 6, 30},
        {2013, 9, 30}, {2013, 11, 30}, {2013, 1, 31}, {2013, 12, 31}, {2013, 0, 31}, {2013, 13, 31},
    };
    for (const Case &c : cases) EXPECT_EQ(DaysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
}

TEST_F(FormattingTest, ResolveRelativeDateAgainstTheReferenceDate)
{
    // Reference date 2013-03-31 (SetUp).
    struct Case { int y, m, d; int expected; };   // expected as yyyymmdd
    const Case cases[] = {
        {0, 0, 0, 20130331},    {0, 0, -1, 20130330},   {0, 0, -31, 20130228},  {2012, 5, -1, 20130330},
        {0, -1, 31, 20130228},  {0, -3, 1, 20121201},   {0, -15, 10, 20111210}, {0, 0, 31, 20130331},
        {0, 0, 15, 20130315},   {-1, 2, 29, 20120229},  {0, 2, 30, 20130228},   {2012, 2, 30, 20120229},
        {0, 1, 5, 20130105},    {-13, 12, 31, 20001231}, {2020, 4, 31, 20200430},
    };
    for (const Case &c : cases) {
        const TDateParts p = DecodeDateTime(ResolveRelativeDate(c.y, c.m, c.d));
        EXPECT_EQ(p.Year * 10000 + p.Month * 100 + p.Day, c.expected) << c.y << "/" << c.m << "/" << c.d;
    }
    const int invalid[][3] = {{0, 0, 32}, {0, -1, 32}, {0, 13, 1}, {2013, 13, 1}, {-2013, 1, 1}, {10000, 1, 1}};
    for (const auto &v : invalid)
        EXPECT_THROW(ResolveRelativeDate(v[0], v[1], v[2]), platform::TConversionError)
            << v[0] << "/" << v[1] << "/" << v[2];

    // The time of day of the reference does not shift the result.
    SetReferenceDate(EncodeDateTime(2013, 3, 31, 18, 0, 0));
    EXPECT_EQ(ResolveRelativeDate(0, 0, -1), EncodeDate(2013, 3, 30));
}

TEST_F(FormattingTest, InsetRect)
{
    EXPECT_EQ(InsetRect({10, 20, 110, 220}, 5), (TRect{15, 25, 105, 215}));
    EXPECT_EQ(InsetRect({10, 20, 110, 220}, -1), (TRect{9, 19, 111, 221}));
}

}  // namespace
