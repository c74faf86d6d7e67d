// Default formats: structure and numbers per formattype, list kind and level.
#include "formats/FormatXMLModuleUnit.h"
#include "formats/ListFormatModuleUnit.h"
#include "platform/FileUnit.h"
#include "tests/formats/FormatTestSupport.h"

#include <gtest/gtest.h>

namespace {

using formattest::AttributeList;
using formattest::ChildNames;
using formattest::TFormatFixture;

const char *kSummaryType =
    "<listtype type=\"summary\" title=\"Összesítő\"><columns><c id=\"EXTENSION\"/><c id=\"NAME\"/></columns>"
    "<controlbreaks><b><k id=\"EXTENSION\" visible=\"True\"/></b>"
    "<b><k id=\"NAME\" visible=\"False\"/><k id=\"EXTENSION\" visible=\"True\"/></b></controlbreaks></listtype>";

// Zone 1 enabled, zone 0 and the total not.
const char *kStatisticsType =
    "<listtype type=\"statistics\" title=\"Stat\" code0=\"False\" code1=\"True\" codeT=\"False\">"
    "<columns/><controlbreaks><b><k id=\"EXTENSION\" visible=\"True\"/></b></controlbreaks></listtype>";

// Three visible key fields and one invisible in the break.
const char *kThreeKeysType =
    "<listtype type=\"detailed\" title=\"X\"><columns><c id=\"NUMBER\"/></columns><controlbreaks>"
    "<b><k id=\"EXTENSION\" visible=\"True\"/><k id=\"NUMBER\" visible=\"False\"/><k id=\"NAME\" visible=\"True\"/>"
    "<k id=\"COST\" visible=\"True\"/></b><b><k id=\"NAME\" visible=\"False\"/></b></controlbreaks></listtype>";

std::string Geometry(pugi::xml_node node)
{
    std::string out;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        out += (out.empty() ? "" : " ") + std::string(c.attribute("left").value()) + "/" + c.attribute("width").value();
    return out;
}

TEST(DefaultFormat, OrientationByKindAndLevel)
{
    struct Case { const char *type; int level; const char *orientation; const char *pageWidth; };
    const Case cases[] = {
        {formattest::kDetailedType, 0, "portrait", "1902"}, {formattest::kDetailedType, 1, "landscape", "2772"},
        {kSummaryType, 0, "landscape", "2772"},             {kSummaryType, 1, "landscape", "2772"},
        {kStatisticsType, 0, "portrait", "1902"},
    };
    for (const Case &c : cases) {
        TFormatFixture f(c.type);
        const pugi::xml_node root = f.Build("normal", c.level);
        EXPECT_STREQ(root.attribute("orientation").value(), c.orientation) << c.type << " " << c.level;
        EXPECT_STREQ(root.child("page").attribute("width").value(), c.pageWidth) << c.type << " " << c.level;
        EXPECT_STREQ(root.attribute("level").value(), std::to_string(c.level).c_str());
    }
}

TEST(DefaultFormat, ControlBreakCellsShareTheBandEvenly)
{
    TFormatFixture f(kThreeKeysType);
    f.Build("normal", 0);
    // 1902 / 3 = 634; the invisible key field gets no cell; the second
    // level shows nothing at all.
    EXPECT_EQ(ChildNames(f.Band("controlbreak_0")), "EXTENSION NAME COST");
    EXPECT_EQ(Geometry(f.Band("controlbreak_0")), "0/634 634/634 1268/634");
    EXPECT_EQ(ChildNames(f.Band("controlbreak_1")), "");
    EXPECT_STREQ(f.Band("controlbreak_1").attribute("repeatonnewpage").value(), "True");
    // Innermost subtotal first in the document.
    EXPECT_EQ(ChildNames(f.Module.Format.Root().child("page")),
              "pageheader pageheader1 controlbreak_0 controlbreak_1 header item subtotal_1 subtotal_0 total pagefooter");
}

TEST(DefaultFormat, SummaryColumnsAndZoneGroups)
{
    TFormatFixture f(kSummaryType);
    f.Build("normal", 0);
    const pugi::xml_node header = f.Band("header");
    EXPECT_EQ(ChildNames(header), "EXTENSION NAME S_0 S_1 T");
    EXPECT_EQ(ChildNames(header.child("T")),
              "PIECE_T IMPULSE_T DURATION_T COST_T READINCOST_T CALCDUR_T RINGTIME_T");
    // Weights: "Mellék|Extension" 18, "Név|Name" 10, "Helyi|Local" 13,
    // "Távolsági|Long" 16, "Összesen|Total" 16; 73 in all on 2772 units.
    EXPECT_EQ(Geometry(header), "0/684 684/380 1064/494 1558/608 2166/606");
    // Within T (606): "db.|pcs." 10 and "ár|cost" 9, the rest invisible.
    EXPECT_EQ(Geometry(header.child("T")), "0/319 0/0 0/0 319/287 0/0 0/0 0/0");
    EXPECT_EQ(AttributeList(header.child("T").child("COST_T")).substr(0, 34), "left=319 top=50 width=287 height=5");
    EXPECT_STREQ(header.child("T").child("RINGTIME_T").attribute("fixtext").value(), "csöng.|ring");
    EXPECT_STREQ(header.child("T").child("IMPULSE_T").attribute("fixtext").value(), "imp..|imp.");
    EXPECT_STREQ(header.child("S_1").attribute("fixtext").value(), "Távolsági|Long");
    // Item and summary bands follow the header's columns.
    for (const char *band : {"item", "subtotal_0", "total"}) {
        EXPECT_EQ(Geometry(f.Band(band).child("T")), Geometry(header.child("T"))) << band;
        EXPECT_EQ(f.Band(band).child("S_0").attribute("index").as_int(), 2) << band;
    }
    EXPECT_STREQ(f.Band("item").child("NAME").attribute("alignment").value(), "5");   // centre | vcentre
    EXPECT_EQ(ChildNames(f.Band("subtotal_1")), "subtotalname S_0 S_1 T");
    EXPECT_STREQ(f.Band("subtotal_1").child("subtotalname").attribute("fixtext").value(), "Név részösszeg:|Name subtotal:");
    EXPECT_STREQ(f.Band("total").child("totalname").attribute("width").value(), "350");
}

TEST(DefaultFormat, StatisticsZonesFollowTheListType)
{
    TFormatFixture f(kStatisticsType);
    f.Build("normal", 0);
    EXPECT_EQ(ChildNames(f.Band("header")), "CLASS S_1");   // no "T", no zone 0
    EXPECT_EQ(ChildNames(f.Module.Format.Root().child("page")),
              "pageheader pageheader1 controlbreak_0 header item total pagefooter");   // no subtotals
    EXPECT_EQ(ChildNames(f.Band("total")), "totalname S_1");

    TFormatFixture s(kSummaryType);
    s.Type.ListType.Root().append_attribute("codeT").set_value("False");   // ignored by summary lists
    s.Build("normal", 0);
    EXPECT_TRUE(s.Band("header").child("T"));
}

TEST(DefaultFormat, LevelFoldsInnerBreaksIntoRows)
{
    TFormatFixture f(kSummaryType);
    const pugi::xml_node root = f.Build("normal", 1);
    EXPECT_STREQ(root.attribute("controlbreaks").value(), "1");
    // Rows are the groups of level 1, titled by its first visible key field.
    EXPECT_EQ(ChildNames(f.Band("header")), "EXTENSION S_0 S_1 T");
    EXPECT_STREQ(f.Band("header").attribute("height").value(), "100");
    EXPECT_EQ(ChildNames(root.child("page")),
              "pageheader pageheader1 controlbreak_0 header item subtotal_0 total pagefooter");

    TFormatFixture d(formattest::kDetailedType);
    d.Build("normal", 3);
    EXPECT_STREQ(d.Module.Format.Root().attribute("controlbreaks").value(), "0");
    EXPECT_EQ(ChildNames(d.Band("header")), "S_0 S_1 T");   // no break left to title the rows
}

TEST(DefaultFormat, BuildsOnlyWhenTheLevelChanges)
{
    TFormatFixture f(formattest::kDetailedType);
    f.Build("normal", 0);
    f.Module.Format.Root().attribute("name").set_value("edited");
    f.Module.BuildDefaultFormat(0);
    EXPECT_STREQ(f.Module.Format.Root().attribute("name").value(), "edited");
    f.Module.BuildDefaultFormat(1);
    EXPECT_STREQ(f.Module.Format.Root().attribute("name").value(), "");
    f.Module.Format.Root().attribute("name").set_value("edited");
    f.Module.ResetLevel();
    f.Module.BuildDefaultFormat(1);
    EXPECT_STREQ(f.Module.Format.Root().attribute("name").value(), "");
}

TEST(DefaultFormat, CsvPlacesKeepFieldsUnderTheirHeadings)
{
    {
        TFormatFixture f(formattest::kDetailedType);
        f.Build("csv", 0);
        EXPECT_EQ(ChildNames(f.Band("pageheader")), "inserted title inserted firm");
        EXPECT_EQ(ChildNames(f.Band("pageheader1")), "inserted period inserted date");
        EXPECT_EQ(ChildNames(f.Band("pageheader2")), "inserted remark");
        EXPECT_EQ(ChildNames(f.Band("controlbreak_0")), "inserted EXTENSION NAME");
        EXPECT_EQ(ChildNames(f.Band("header")), "inserted NUMBER DURATION COST");
        // The counter stands in the leading column; NUMBER cannot be summed.
        EXPECT_EQ(ChildNames(f.Band("subtotal_0")), "counter inserted DURATION COST");
        EXPECT_EQ(ChildNames(f.Band("total")), "counter inserted DURATION COST");
        EXPECT_EQ(ChildNames(f.Band("pagefooter")), "inserted listid");
        EXPECT_EQ(AttributeList(f.Band("header").child("NUMBER")),
                  "visible=True fixtext=Szám|Number fieldid=NUMBER name=_Num");
        EXPECT_EQ(AttributeList(f.Band("subtotal_0").child("inserted")),
                  "visible=True fixtext= fieldid=inserted name=_Inserted");
        EXPECT_STREQ(f.Band("pageheader").child("title").attribute("fixtext").value(), "Hívások|Calls");
        EXPECT_FALSE(f.Module.Format.Root().attribute("orientation"));
    }
    {
        // Two plain columns: the name cell takes the first, one place for the second.
        TFormatFixture f(kSummaryType);
        f.Build("csv", 0);
        EXPECT_EQ(ChildNames(f.Band("pageheader")), "title inserted firm");
        EXPECT_EQ(ChildNames(f.Band("header")), "EXTENSION NAME S_0 S_1 T");
        EXPECT_EQ(ChildNames(f.Band("subtotal_1")), "subtotalname inserted S_0 S_1 T");
        EXPECT_EQ(ChildNames(f.Band("total")), "totalname inserted S_0 S_1 T");
        EXPECT_EQ(AttributeList(f.Band("header").child("S_0").child("COST_0")),
                  "visible=True fixtext=ár|cost fieldid=COST_0 name=_cost");
        EXPECT_EQ(AttributeList(f.Band("total").child("T").child("COST_T")),
                  "visible=True fixtext= fieldid=COST_T name=_cost horizontalalignment=2 verticalalignment=1 "
                  "datatype=5 decimals=2");
        // One plain column at level 1: no place is needed.
        f.Build("csv", 1);
        EXPECT_EQ(ChildNames(f.Band("total")), "totalname S_0 S_1 T");
    }
}

TEST(DefaultFormat, ExcelCellAttributes)
{
    TFormatFixture f(formattest::kDetailedType);
    f.Build("excel", 0);
    EXPECT_EQ(AttributeList(f.Band("pageheader").child("title")),
              "visible=True fixtext=Hívások|Calls fieldid=title name=_TitleOfList fontname=Times New Roman fontsize=24 "
              "fontbold=True fontitalic=False fontunderline=False");
    EXPECT_EQ(AttributeList(f.Band("header").child("COST")),
              "visible=True fixtext=Díj|Cost fieldid=COST name=_Cost horizontalalignment=1 verticalalignment=1 "
              "leftvisible=True topvisible=True rightvisible=True bottomvisible=True leftwidth=2 topwidth=2 "
              "rightwidth=2 bottomwidth=2 leftcolor=0 topcolor=0 rightcolor=0 bottomcolor=0 "
              "backgroundcolor=15790320 fontname=Calibri fontsize=11 fontcolor=0 fontbold=True fontitalic=False "
              "fontunderline=False");
    EXPECT_EQ(AttributeList(f.Band("controlbreak_0").child("NAME")),
              "visible=True fixtext=Név: %|Name: % fieldid=NAME name=_Name horizontalalignment=0 verticalalignment=1");
    struct Case { const char *id; const char *format; };
    const Case items[] = {
        {"NUMBER", "horizontalalignment=0 verticalalignment=1 datatype=1 decimals=0"},
        {"DURATION", "horizontalalignment=2 verticalalignment=1 datatype=3 decimals=0"},
        {"COST", "horizontalalignment=0 verticalalignment=1 datatype=1 decimals=0"},   // only PRICE has decimals
    };
    for (const Case &c : items) {
        const std::string attributes = AttributeList(f.Band("item").child(c.id));
        EXPECT_EQ(attributes.substr(attributes.find("horizontal")), c.format) << c.id;
    }
    EXPECT_FALSE(f.Band("item").child("inserted").attribute("datatype"));

    TFormatFixture s(kSummaryType);
    s.Build("excel", 0);
    const std::string piece = AttributeList(s.Band("item").child("S_1").child("PIECE_1"));
    EXPECT_EQ(piece.substr(piece.find("horizontal")), "horizontalalignment=2 verticalalignment=1 datatype=4 decimals=0");
    EXPECT_STREQ(s.Band("header").child("S_1").child("RINGTIME_1").attribute("backgroundcolor").value(), "15790320");
    EXPECT_FALSE(s.Band("item").child("S_1").attribute("datatype"));
}

TEST(DefaultFormat, SavedDefaultFormatLoadsBackEqual)
{
    for (const char *type : {"normal", "csv", "excel"}) {
        TFormatFixture f(kSummaryType);
        f.Build(type, 0);
        const std::string path = f.Folder.File("format.XML");
        f.Module.SaveToFile(path);
        platform::TXmlDocument back;
        back.LoadFromFile(path);
        EXPECT_EQ(platform::ElementXml(back.Root()), platform::ElementXml(f.Module.Format.Root())) << type;
    }
}

// The pinned text of the detailed print format: widths 668/720/514 by text
// length ("Szám|Number" 13, "Idő|Duration" 14, "Díj|Cost" 10 of 1902), two
// break cells of 951, subtotal cells under the summable columns.
TEST(DefaultFormat, DetailedPrintFormatMatchesItsGoldenFile)
{
    TFormatFixture f(formattest::kDetailedType);
    f.Build("normal", 0);
    const std::string path = f.Folder.File("golden.XML");
    f.Module.SaveToFile(path);
    EXPECT_EQ(testsupport::ReadFile(path),
              testsupport::ReadFile(std::string(TARVILEX_SOURCE_DIR) + "/tests/formats/DefaultDetailedPrintFormat.XML"));
}

}  // namespace
