#include "formats/CellValueUnit.h"

#include "dictionary/LanguageUnit.h"

#include <gtest/gtest.h>

#include <string>

using formats::FillPlaceholder;
using formats::GetCellValue;

TEST(CellValue, FillPlaceholder)
{
    struct TCase {
        const char *Text, *Value, *Expected;
    } cases[] = {
        {"Page: %", "3", "Page: 3"},
        {"Remark: %", "", ""},              // the whole label disappears
        {"Extension", "", "Extension"},
        {"", "201", "201"},
        {"Extension", "201", "201"},
        {"Total: % Ft", "5", "Total: 5 Ft"},
        {"100%% of %", "7", "100% of 7"},   // "%%" is a literal percent sign
        {"%%", "", "%"},
    };
    for (const TCase &c : cases) EXPECT_EQ(FillPlaceholder(c.Text, c.Value), c.Expected) << c.Text << " / " << c.Value;
}

TEST(CellValue, LookupByBandAndName)
{
    dictionary::SetLanguageIndex(0);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        "<page><header><T><PIECE_T/></T><EXTENSION/></header>"
        "<item><EXTENSION/><T><COST_T/></T><inserted fixtext=\"fix|fixed\"/></item>"
        "<controlbreak_1><COSTCENTER/></controlbreak_1>"
        "<subtotal_12><subtotalname/><COST/><T><PIECE_T/></T></subtotal_12>"
        "<total><totalname/><COST/><T><DURATION_T/></T></total>"
        "<pageheader><x><RINGTIME_0/></x></pageheader></page>"));
    const formats::TValueProviders providers{
        [](const std::string &name) { return "item:" + name; },
        [](int level, const std::string &name) { return "break" + std::to_string(level) + ":" + name; },
        [](int level, const std::string &name) { return "sub" + std::to_string(level) + ":" + name; },
        [](const std::string &name) { return "total:" + name; },
    };
    struct TCase {
        const char *Path, *Expected;
    } cases[] = {
        {"/page/header/T/PIECE_T", ""},   // a counter under a header group is a label
        {"/page/header/EXTENSION", ""},
        {"/page/item/EXTENSION", "item:EXTENSION"},
        {"/page/item/T", ""},             // a group with sub-cells has no value of its own
        {"/page/item/T/COST_T", "item:COST_T"},
        {"/page/item/inserted", "fix"},   // in the current language only
        {"/page/controlbreak_1/COSTCENTER", "break1:COSTCENTER"},
        {"/page/subtotal_12/subtotalname", ""},
        {"/page/subtotal_12/COST", "sub12:COST"},
        {"/page/subtotal_12/T/PIECE_T", "sub12:PIECE_T"},
        {"/page/total/totalname", ""},
        {"/page/total/COST", "total:COST"},
        {"/page/total/T/DURATION_T", "total:DURATION_T"},
        {"/page/pageheader/x/RINGTIME_0", "item:RINGTIME_0"},
    };
    for (const TCase &c : cases) {
        const pugi::xml_node node = doc.first_element_by_path(c.Path);
        ASSERT_TRUE(node) << c.Path;
        EXPECT_EQ(GetCellValue(node, providers), c.Expected) << c.Path;
        // Without providers every data cell shows the preview text.
        EXPECT_EQ(GetCellValue(node, {}), std::string(c.Expected).empty() || std::string(c.Expected) == "fix"
                                              ? c.Expected
                                              : formats::MissingValueText)
            << c.Path;
    }
}
