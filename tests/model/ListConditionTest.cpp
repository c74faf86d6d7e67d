// The listing condition: its term against the reference date, its name and
// the description of its variants in words.
#include "dictionary/LanguageUnit.h"
#include "model/ConditionModuleUnit.h"
#include "model/ListConditionModuleUnit.h"
#include "platform/FileUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

using model::TConditionModule;
using model::TListConditionModule;

namespace {

// Texts of the words these tests read; every other key stays itself.
const char *const kDictionary =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<words>\n"
    "  <_ListingTerm language0=\"Listázási időszak\" language1=\"Listing term\" />\n"
    "  <_DateFormat language0=\"yyyy/mm/dd\" language1=\"dd/mm/yyyy\" />\n"
    "  <_conditionvariant language0=\"feltételváltozat\" language1=\"condition variant\" />\n"
    "  <_TheSelected language0=\"A kiválasztott\" language1=\"The selected\" />\n"
    "  <_TheOmitted language0=\"A kihagyott\" language1=\"The omitted\" />\n"
    "  <_extensions language0=\"mellékállomások\" language1=\"extensions\" />\n"
    "  <_callnumbers language0=\"hívott számok\" language1=\"called numbers\" />\n"
    "  <_Outgoing language0=\"Kimenő\" language1=\"Outgoing\" />\n"
    "</words>\n";

class ListCondition : public ::testing::Test {
protected:
    void SetUp() override
    {
        testsupport::WriteFile(Folder.File("Language.XML"), kDictionary);
        Dictionary = std::make_unique<dictionary::TLanguageModule>(Folder.File("Language.XML"), "TESTS_MODEL");
        dictionary::SetLanguageIndex(1);
        dictionary::SetStartupSeparatorsForTesting('.', ',', ':');
        dictionary::SetReferenceDate(dictionary::EncodeDate(2013, 3, 31));
    }
    void TearDown() override
    {
        Dictionary.reset();
        dictionary::SetLanguageIndex(0);
        dictionary::SetStartupSeparatorsForTesting('/', '.', ':');
    }
    // A condition document from the listcondition element's text.
    TListConditionModule Condition(const std::string &xml)
    {
        TListConditionModule module;
        module.ListCondition.LoadFromText(xml);
        return module;
    }
    std::vector<std::string> Describe(const std::string &xml)
    {
        std::vector<std::string> lines = {"left over"};
        Condition(xml).DescribeListCondition(Conditions, lines);
        return lines;
    }

    testsupport::TTempFolder Folder;
    std::unique_ptr<dictionary::TLanguageModule> Dictionary;
    TConditionModule Conditions{""};
};

std::string Ymd(dictionary::TDateTime date)
{
    const dictionary::TDateParts p = dictionary::DecodeDateTime(date);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
    return text;
}

// Worked by hand against the reference date 2013-03-31.
struct TermCase { const char *text; const char *date; };
const TermCase kTermDates[] = {
    {"0/0/0", "2013-03-31"},
    {"0/0/-1", "2013-03-30"},
    {"5/7/-31", "2013-02-28"},       // a day offset ignores year and month
    {"0/-1/31", "2013-02-28"},       // last day of the previous month
    {"0/-3/1", "2012-12-01"},        // across the year boundary
    {"0/-15/10", "2011-12-10"},
    {"0/0/15", "2013-03-15"},
    {"-1/2/29", "2012-02-29"},       // leap year keeps the 29th
    {"0/2/30", "2013-02-28"},
    {"2012/2/30", "2012-02-29"},
    {"2010/12/31", "2010-12-31"},
    {" +1/ 1/ 1", "0001-01-01"},
};

TEST_F(ListCondition, TermDatesResolveAgainstTheReferenceDate)
{
    for (const TermCase &c : kTermDates) {
        const std::string text = c.text;
        const auto module = Condition("<listcondition startdate=\"" + text + "\" enddate=\"" + text + "\"/>");
        EXPECT_EQ(Ymd(module.ListingStartDate()), c.date) << c.text;
        EXPECT_EQ(Ymd(module.ListingEndDate()), c.date) << c.text;
    }
}

TEST_F(ListCondition, MalformedTermDatesRaiseTheConversionError)
{
    const char *const malformed[] = {
        "",            // missing attribute
        "0/0",         // one "/" only
        "0-0-0",
        "a/0/0", "0/x/0", "0/0/1d", "0//1",
        "0/0/0/0",     // the day part is "0/0"
        "0/-1/32",     // day above 31 in a month offset
        "0/13/1",      // month above 12
        "2013/0/1/",
    };
    for (const char *text : malformed) {
        const auto start = Condition(std::string("<listcondition startdate=\"") + text + "\" enddate=\"0/0/0\"/>");
        EXPECT_THROW(start.ListingStartDate(), platform::TConversionError) << text;
        EXPECT_NO_THROW(start.ListingEndDate()) << text;
        const auto end = Condition(std::string("<listcondition startdate=\"0/0/0\" enddate=\"") + text + "\"/>");
        EXPECT_THROW(end.ListingEndDate(), platform::TConversionError) << text;
        std::vector<std::string> lines;
        EXPECT_THROW(end.DescribeListCondition(Conditions, lines), platform::TConversionError) << text;
    }
}

TEST_F(ListCondition, TheGenerationDayBecomesTheReferenceDate)
{
    const auto yesterday = Condition("<listcondition startdate=\"0/0/0\" enddate=\"0/0/-1\"/>");
    model::SetReferenceDateOfGeneration("2012-02-29 23:59:59");
    EXPECT_EQ(Ymd(dictionary::ReferenceDate()), "2012-02-29");
    EXPECT_EQ(Ymd(yesterday.ListingStartDate()), "2012-02-29");
    EXPECT_EQ(Ymd(yesterday.ListingEndDate()), "2012-02-28");

    for (const char *bad : {"", "2013-02-30 10:00:00", "31.03.2013", "2013-3-31"}) {
        EXPECT_THROW(model::SetReferenceDateOfGeneration(bad), platform::TConversionError) << bad;
        EXPECT_EQ(Ymd(dictionary::ReferenceDate()), "2012-02-29") << bad;   // kept
    }
}

TEST_F(ListCondition, ConditionsAreEmptyOnlyWithoutChildElements)
{
    struct Case { const char *xml; bool empty; };
    const Case cases[] = {
        {"<listcondition name=\"x\" startdate=\"0/0/0\" enddate=\"0/0/0\"/>", true},
        {"<listcondition>  </listcondition>", true},
        {"<listcondition><!-- none --></listcondition>", true},
        {"<listcondition><variants/></listcondition>", false},
        {"<listcondition><other/></listcondition>", false},
    };
    for (const Case &c : cases) EXPECT_EQ(Condition(c.xml).ConditionsAreEmpty(), c.empty) << c.xml;
    EXPECT_TRUE(TListConditionModule().ConditionsAreEmpty());   // before any list
}

TEST_F(ListCondition, AnEmptyConditionShowsTheTermAndOneVariant)
{
    const std::vector<std::string> expected = {"Listing term: 01.02.2013 - 28.02.2013", "1. condition variant"};
    EXPECT_EQ(Describe("<listcondition name=\"Február|February\" startdate=\"0/-1/1\" enddate=\"0/-1/31\"/>"), expected);
    // The working copy is the skeleton: one variant without criteria.
    EXPECT_EQ(std::string(Conditions.Condition.Root().name()), "variants");
    ASSERT_EQ(platform::ElementChildCount(Conditions.Condition.Root()), 1);
    EXPECT_EQ(platform::ElementChildCount(platform::ElementChild(Conditions.Condition.Root(), 0)), 0);
    EXPECT_EQ(Conditions.Condition.Encoding(), "ISO-8859-2");

    dictionary::SetLanguageIndex(0);
    const std::vector<std::string> hungarian = {"Listázási időszak: 2013.02.01 - 2013.02.28", "1. feltételváltozat"};
    EXPECT_EQ(Describe("<listcondition startdate=\"0/-1/1\" enddate=\"0/-1/31\"/>"), hungarian);
}

TEST_F(ListCondition, DescribesEveryVariantAndItsCriteriaInOrder)
{
    const std::string xml =
        "<listcondition name=\"x\" startdate=\"2013/3/1\" enddate=\"0/0/0\"><variants>"
        "<v>"
        "<c id=\"EXTENSION\" selected=\"false\"><i id=\"201\" name=\"Kovács\"/><i id=\"202\"/></c>"
        "<c id=\"FUTUREKIND\" selected=\"maybe\"><i id=\"1\"/></c>"      // unknown: skipped, not even read
        "<c id=\"NUMBER\" selected=\"true\"><i number=\"0036\" length=\"4\"/><i number=\"06 1\"/></c>"
        "<c id=\"DURATION\" selected=\"1\"><i lowerlimit=\"060\" upperlimit=\"3600.0\"/><i lowerlimit=\"5\"/></c>"
        "</v>"
        "<v><c id=\"INCOMING\" selected=\"True\"><i value=\"false\"/><i value=\"true\"/></c></v>"
        "<v/>"
        "</variants></listcondition>";
    const std::vector<std::string> expected = {
        "Listing term: 01.03.2013 - 31.03.2013",
        "1. condition variant",
        "     The omitted extensions",
        "          201",
        "          202",
        "     The selected called numbers",
        "          0036 [4]",
        "          06 1 []",
        "     The selected _durationintervals",
        "          060 - 3600.0",
        "          5 - ",
        "2. condition variant",
        "     The selected _direction",
        "          Outgoing",          // the first item only
        "3. condition variant",
    };
    EXPECT_EQ(Describe(xml), expected);
    // The working copy is the variants element itself.
    EXPECT_EQ(std::string(Conditions.Condition.Root().name()), "variants");
    EXPECT_EQ(platform::ElementChildCount(Conditions.Condition.Root()), 3);
}

// Every criterion kind: its heading key and how one item is shown.
struct KindCase { const char *id; const char *item; const char *group; const char *line; };
const KindCase kKinds[] = {
    {"EXTENSION", "id=\"201\" name=\"n\"", "_extensions", "201"},
    {"EXTENSIONGRP", "id=\"1\" name=\"Sales\"", "_extensiongroups", "Sales"},
    {"PINCODE", "id=\"1\" name=\"1234\"", "_pins", "1234"},
    {"PINCODEGRP", "id=\"1\" name=\"Pins\"", "_PINgroups", "Pins"},
    {"ACCOUNTCODE", "id=\"77\" name=\"n\"", "_accounts", "77"},
    {"ACCOUNTCODEGRP", "id=\"1\" name=\"Acc\"", "_accountgroups", "Acc"},
    {"TRUNK", "id=\"T1\" name=\"n\"", "_trunks", "T1"},
    {"TRUNKGRP", "id=\"1\" name=\"Trk\"", "_trunkgroups", "Trk"},
    {"COSTCENTER", "id=\"1\" name=\"Pénzügy\"", "_costcenters", "Pénzügy"},
    {"ITIME", "lowerlimit=\"08:00\" upperlimit=\"16:30\"", "_timeintervals", "08:00 - 16:30"},
    {"DURATION", "lowerlimit=\"0\" upperlimit=\"59\"", "_durationintervals", "0 - 59"},
    {"RINGTIME", "lowerlimit=\"10\" upperlimit=\"\"", "_ringtimeintervals", "10 - "},
    {"IMPULSE", "lowerlimit=\"1\" upperlimit=\"9\"", "_impulseintervals", "1 - 9"},
    {"PRICE", "lowerlimit=\"1.50\" upperlimit=\"20\"", "_priceintervals", "1.50 - 20"},
    {"READINPRICE", "lowerlimit=\"-1\" upperlimit=\"1e3\"", "_readinpriceintervals", "-1 - 1e3"},
    {"NUMBER", "number=\"+3612\" length=\"12\"", "_callnumbers", "+3612 [12]"},
    {"INCOMING", "value=\"true\"", "_direction", "_Incoming"},
    {"PRIVATECALL", "value=\"true\"", "_privacy", "_Private"},
    {"PRIVATECALL", "value=\"0\"", "_privacy", "_Official"},
    {"MARK", "value=\"TRUE\"", "_marking", "_Marked"},
    {"MARK", "value=\"false\"", "_marking", "_NotMarked"},
    {"SUMMARIZEDZONE", "id=\"0\" name=\"Helyi\"", "_summarizedzones", "Helyi"},
    {"ZONE", "id=\"3\" name=\"Mobil\"", "_zones", "Mobil"},
    {"ORIGINID", "id=\"PBX2\" name=\"n\"", "_originIDs", "PBX2"},
    {"RECORDORIGIN", "id=\"1\" name=\"Import\"", "_recordorigins", "Import"},
    {"extension", "id=\"201\"", nullptr, nullptr},     // ids are case-sensitive
    {"", "id=\"201\"", nullptr, nullptr},
};

TEST_F(ListCondition, EveryCriterionKindHasItsHeadingAndItemLine)
{
    // A language without texts shows the keys themselves.
    dictionary::SetLanguageIndex(2);
    for (const KindCase &c : kKinds) {
        Conditions.Condition.LoadFromText(std::string("<variants><v><c id=\"") + c.id + "\" selected=\"true\"><i " +
                                          c.item + "/></c></v></variants>");
        const std::vector<std::string> lines = Conditions.DescribeVariant(0);
        if (!c.group) {
            EXPECT_TRUE(lines.empty()) << c.id;
            continue;
        }
        const std::vector<std::string> expected = {std::string("     _TheSelected ") + c.group,
                                                   std::string("          ") + c.line};
        EXPECT_EQ(lines, expected) << c.id;
    }
}

TEST_F(ListCondition, MissingBooleansRaiseTheConversionError)
{
    const char *const variants[] = {
        "<c id=\"EXTENSION\"><i id=\"201\"/></c>",                     // no "selected"
        "<c id=\"TRUNK\" selected=\"perhaps\"><i id=\"1\"/></c>",
        "<c id=\"MARK\" selected=\"true\"><i/></c>",                   // no "value"
        "<c id=\"INCOMING\" selected=\"true\"></c>",                   // no item at all
        "<c id=\"PRIVATECALL\" selected=\"true\"><i value=\"yes\"/></c>",
    };
    for (const char *criterion : variants) {
        Conditions.Condition.LoadFromText(std::string("<variants><v>") + criterion + "</v></variants>");
        EXPECT_THROW(Conditions.DescribeVariant(0), platform::TConversionError) << criterion;
        EXPECT_THROW(Describe(std::string("<listcondition startdate=\"0/0/0\" enddate=\"0/0/0\"><variants><v>") +
                              criterion + "</v></variants></listcondition>"),
                     platform::TConversionError)
            << criterion;
    }
}

TEST_F(ListCondition, TheNameIsShownInTheCurrentLanguage)
{
    struct Case { const char *name; int language; const char *shown; };
    const Case cases[] = {
        {"Március|March", 0, "Március"},
        {"Március|March", 1, "March"},
        {"Március|", 1, "Március"},
        {"Havi", 1, "Havi"},
        {"", 0, ""},
    };
    for (const Case &c : cases) {
        dictionary::SetLanguageIndex(c.language);
        EXPECT_EQ(Condition(std::string("<listcondition name=\"") + c.name + "\"/>").ListConditionName(), c.shown)
            << c.name << " " << c.language;
    }
}

TEST_F(ListCondition, ConditionTypesAreLoadedWhenShipped)
{
    const TConditionModule shipped(std::string(TARVILEX_SOURCE_DIR) + "/data/ConditionTypes.XML");
    EXPECT_EQ(std::string(shipped.ConditionTypes.Root().name()), "conditiontypes");

    const TConditionModule none(Folder.File("ConditionTypes.XML"));   // not there
    EXPECT_TRUE(none.ConditionTypes.IsEmpty());
    EXPECT_EQ(platform::ElementChildCount(none.Condition.Root()), 1);

    testsupport::WriteFile(Folder.File("Broken.XML"), "<conditiontypes>");
    EXPECT_THROW(TConditionModule(Folder.File("Broken.XML")), platform::TXmlError);
}

}  // namespace
