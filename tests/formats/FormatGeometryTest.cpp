// Band geometry: alignment to the header, sharing widths out, rotation,
// moving and sorting columns, absolute rectangles. Expected numbers are
// worked by hand from the rules.
#include "formats/FormatGeometryUnit.h"
#include "platform/XmlDocumentUnit.h"
#include "tests/formats/FormatTestSupport.h"

#include <gtest/gtest.h>

namespace {

using formats::IntegerAttribute;
using formattest::ChildNames;

// "left/width" of each element child, joined by " ".
std::string Geometry(pugi::xml_node node)
{
    std::string out;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        out += (out.empty() ? "" : " ") + std::string(c.attribute("left").value()) + "/" + c.attribute("width").value();
    return out;
}

std::string Indexes(pugi::xml_node node)
{
    std::string out;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        out += (out.empty() ? "" : " ") + std::string(c.attribute("index") ? c.attribute("index").value() : "-");
    return out;
}

TEST(FormatGeometry, RoundsHalfToEven)
{
    struct Case { long long n, d, r; };
    const Case cases[] = {{5, 2, 2}, {7, 2, 4}, {-5, 2, -2}, {-7, 2, -4}, {1, 3, 0}, {2, 3, 1}, {-2, 3, -1}, {6, 3, 2}};
    for (const Case &c : cases) EXPECT_EQ(formats::RoundHalfEven(c.n, c.d), c.r) << c.n << "/" << c.d;
}

TEST(FormatGeometry, AlignCopiesHeaderColumnsByName)
{
    platform::TXmlDocument doc;
    doc.LoadFromText(
        "<listformat controlbreaks=\"1\"><page>"
        "<header><A left=\"0\" width=\"100\"/><B left=\"100\" width=\"200\" visible=\"False\">"
        "<x left=\"0\" width=\"50\"/><y left=\"50\" width=\"150\" visible=\"True\"/></B></header>"
        "<item><C left=\"7\" width=\"8\"/><B left=\"1\" width=\"2\" visible=\"True\">"
        "<y left=\"3\" width=\"4\" visible=\"False\"/><z left=\"5\" width=\"6\"/></B></item>"
        "<total><A left=\"9\" width=\"9\"/></total>"
        "<subtotal_0><B left=\"9\" width=\"9\"/></subtotal_0>"
        "</page></listformat>");
    formats::AlignAllColumns(doc.Root());
    const pugi::xml_node page = doc.Root().child("page");
    const pugi::xml_node item = page.child("item");
    EXPECT_EQ(Geometry(item), "7/8 100/200");
    EXPECT_EQ(Indexes(item), "- 1");                  // C matches no column
    EXPECT_STREQ(item.child("B").attribute("visible").value(), "False");
    EXPECT_EQ(Geometry(item.child("B")), "50/150 5/6");
    EXPECT_EQ(Indexes(item.child("B")), "0 -");       // its own position, not the header's
    EXPECT_STREQ(item.child("B").child("y").attribute("visible").value(), "True");
    EXPECT_EQ(Geometry(page.child("total")) + " " + Indexes(page.child("total")), "0/100 0");
    EXPECT_EQ(Geometry(page.child("subtotal_0")) + " " + Indexes(page.child("subtotal_0")), "100/200 1");
}

TEST(FormatGeometry, DistributeByTextLength)
{
    platform::TXmlDocument doc;
    // Weights: "ab" 4, "abcdef" 8, "" 2 (the invisible cell takes no share),
    // 14 in all on 1000 units: 285.7 -> 286, 571.4 -> 571, the rest 143.
    // Within the second cell (571): "ár" 4 and "x" 3 -> 326.3 -> 326, 245.
    doc.LoadFromText(
        "<listformat><page><header width=\"1000\">"
        "<a fixtext=\"ab\" left=\"5\" width=\"5\"/>"
        "<b fixtext=\"abcdef\"><s fixtext=\"ár\"/><t fixtext=\"x\"/><u visible=\"False\" left=\"1\" width=\"1\"/></b>"
        "<hidden fixtext=\"zzzzzzzz\" visible=\"False\" left=\"9\" width=\"9\"/>"
        "<c fixtext=\"\"><deep><deeper fixtext=\"q\"/></deep></c>"
        "</header></page></listformat>");
    formats::DistributeHeaderByText(doc.Root(), formats::DefaultTextMeasure());
    const pugi::xml_node header = doc.Root().child("page").child("header");
    EXPECT_EQ(Geometry(header), "0/286 286/571 9/9 857/143");
    EXPECT_EQ(Geometry(header.child("b")), "0/326 326/245 1/1");
    EXPECT_EQ(Geometry(header.child("c")), "0/143");
    EXPECT_EQ(Geometry(header.child("c").child("deep")), "/");   // one level only

    // Ties go to the even neighbour: 2 x 5 / 4 = 2.5 -> 2, and 2 x 7 / 4 = 3.5 -> 4.
    struct Tie { int width; const char *geometry; };
    for (const Tie &t : {Tie{5, "0/2 2/3"}, Tie{7, "0/4 4/3"}}) {
        doc.LoadFromText("<listformat><page><header><a/><b/></header></page></listformat>");
        formats::SetAttribute(doc.Root().child("page").child("header"), "width", t.width);
        formats::DistributeHeaderByText(doc.Root(), formats::DefaultTextMeasure());
        EXPECT_EQ(Geometry(doc.Root().child("page").child("header")), t.geometry) << t.width;
    }
}

TEST(FormatGeometry, FitRescalesVisibleWidthsRecursively)
{
    platform::TXmlDocument doc;
    doc.LoadFromText(
        "<listformat controlbreaks=\"0\"><page><header width=\"200\">"
        "<a left=\"0\" width=\"100\"/><h visible=\"False\" left=\"3\" width=\"1000\"/>"
        "<b left=\"100\" width=\"300\"><x left=\"0\" width=\"1\"/><y left=\"1\" width=\"1\"/></b>"
        "</header><item><b left=\"0\" width=\"0\"/></item></page></listformat>");
    formats::FitHeaderColumns(doc.Root());
    const pugi::xml_node header = doc.Root().child("page").child("header");
    // 100 : 300 of 200 -> 50 and the remaining 150; inside b 1 : 1 of 150.
    EXPECT_EQ(Geometry(header), "0/50 3/1000 50/150");
    EXPECT_EQ(Geometry(header.child("b")), "0/75 75/75");
    EXPECT_EQ(Geometry(doc.Root().child("page").child("item")), "50/150");   // aligned afterwards

    doc.LoadFromText("<listformat><page><header width=\"200\"><a width=\"0\" left=\"4\"/></header></page></listformat>");
    formats::FitHeaderColumns(doc.Root());
    EXPECT_EQ(Geometry(doc.Root().child("page").child("header")), "4/0");   // nothing to share by
}

const char *kRotatable =
    "<listformat orientation=\"portrait\" width=\"2102\" height=\"2972\" topmargin=\"100\" bottommargin=\"100\" "
    "leftmargin=\"100\" rightmargin=\"100\" controlbreaks=\"1\">"
    "<page left=\"100\" top=\"100\" width=\"1902\" height=\"2772\">"
    "<header left=\"0\" width=\"1902\"><a left=\"0\" width=\"500\"/>"
    "<b left=\"1000\" width=\"902\"><s left=\"0\" width=\"451\"/><t left=\"451\" width=\"451\"/></b></header>"
    "<subtotal_0 left=\"0\" width=\"1902\"><c left=\"1\" width=\"3\"/></subtotal_0>"
    "<pagefooter left=\"0\" top=\"2722\" width=\"1902\" height=\"50\"/>"
    "</page></listformat>";

TEST(FormatGeometry, RotationTurnsSheetPageAndBands)
{
    platform::TXmlDocument doc;
    doc.LoadFromText(kRotatable);
    const pugi::xml_node root = doc.Root();
    const pugi::xml_node page = root.child("page");
    formats::RotatePage(root);
    EXPECT_EQ(formattest::AttributeList(root),
              "orientation=landscape width=2972 height=2102 topmargin=100 bottommargin=100 leftmargin=100 "
              "rightmargin=100 controlbreaks=1");
    EXPECT_EQ(formattest::AttributeList(page), "left=100 top=100 width=2772 height=1902");
    const pugi::xml_node header = page.child("header");
    EXPECT_EQ(Geometry(page), "0/2772 0/2772 0/2772");
    // 500 x 2772 / 1902 = 728.7; b: left 1000 -> 1457.4, and it reached the
    // right edge, so it still does: 2772 - 1457; its t likewise.
    EXPECT_EQ(Geometry(header), "0/729 1457/1315");
    EXPECT_EQ(Geometry(header.child("b")), "0/657 657/658");   // 451 x 1.4574 = 657.3
    EXPECT_EQ(Geometry(page.child("subtotal_0")), "1/4");     // 1.46 -> 1, 4.37 -> 4
    EXPECT_EQ(IntegerAttribute(page.child("pagefooter"), "top"), 1852);

    formats::RotatePage(root);
    EXPECT_EQ(formattest::AttributeList(root),
              "orientation=portrait width=2102 height=2972 topmargin=100 bottommargin=100 leftmargin=100 "
              "rightmargin=100 controlbreaks=1");
    EXPECT_EQ(formattest::AttributeList(page), "left=100 top=100 width=1902 height=2772");
    EXPECT_EQ(Geometry(header), "0/500 1000/902");            // 729 x 0.6861 = 500.2
    EXPECT_EQ(IntegerAttribute(page.child("pagefooter"), "top"), 2722);
}

TEST(FormatGeometry, RotationTurnsUnequalMargins)
{
    platform::TXmlDocument doc;
    doc.LoadFromText(
        "<listformat orientation=\"landscape\" width=\"2972\" height=\"2102\" topmargin=\"10\" bottommargin=\"20\" "
        "leftmargin=\"30\" rightmargin=\"40\"><page left=\"30\" top=\"10\" width=\"2902\" height=\"2072\"/></listformat>");
    formats::RotatePage(doc.Root());
    EXPECT_EQ(formattest::AttributeList(doc.Root()),
              "orientation=portrait width=2102 height=2972 topmargin=30 bottommargin=40 leftmargin=10 rightmargin=20");
    EXPECT_EQ(formattest::AttributeList(doc.Root().child("page")), "left=10 top=30 width=2072 height=2902");
}

const char *kColumns =
    "<listformat controlbreaks=\"1\"><page>"
    "<header><A left=\"0\" width=\"10\"/><B left=\"10\" width=\"20\"/><C left=\"30\" width=\"30\"/></header>"
    "<item><X left=\"0\" width=\"5\"/><A/><B/><C/></item>"
    "<total><A/><C/></total>"
    "<subtotal_0><counter left=\"0\" width=\"3\"/><B/><C/></subtotal_0>"
    "</page></listformat>";

TEST(FormatGeometry, MovingHeaderColumnsTakesTheirCellsAlong)
{
    platform::TXmlDocument doc;
    doc.LoadFromText(kColumns);
    const pugi::xml_node page = doc.Root().child("page");
    formats::MoveColumnLeft(page.child("header").child("C"));
    EXPECT_EQ(ChildNames(page.child("header")), "A C B");
    EXPECT_EQ(Geometry(page.child("header")), "0/10 10/30 40/20");
    formats::MoveColumnLeft(page.child("header").child("C"));
    EXPECT_EQ(ChildNames(page.child("header")), "C A B");
    EXPECT_EQ(Geometry(page.child("header")), "0/30 30/10 40/20");
    // Unmatched cells keep their place at the front (no index sorts as -1).
    EXPECT_EQ(ChildNames(page.child("item")), "X C A B");
    EXPECT_EQ(Geometry(page.child("item")), "0/5 0/30 30/10 40/20");
    EXPECT_EQ(ChildNames(page.child("total")), "C A");
    EXPECT_EQ(ChildNames(page.child("subtotal_0")), "counter C B");

    formats::MoveColumnRight(page.child("header").child("C"));
    EXPECT_EQ(ChildNames(page.child("header")), "A C B");
    EXPECT_EQ(Geometry(page.child("header")), "0/10 10/30 40/20");
    EXPECT_EQ(ChildNames(page.child("item")), "X A C B");

    // At the edge there is no neighbour: nothing changes.
    const std::string before = platform::ElementXml(doc.Root());
    formats::MoveColumnLeft(page.child("header").child("A"));
    formats::MoveColumnRight(page.child("header").child("B"));
    EXPECT_EQ(platform::ElementXml(doc.Root()), before);
}

TEST(FormatGeometry, MovingACellOutsideTheHeaderMovesOnlyIt)
{
    platform::TXmlDocument doc;
    doc.LoadFromText(kColumns);
    const pugi::xml_node page = doc.Root().child("page");
    formats::MoveColumnLeft(page.child("item").child("A"));
    EXPECT_EQ(ChildNames(page.child("item")), "A X B C");
    EXPECT_EQ(ChildNames(page.child("header")), "A B C");
    EXPECT_EQ(Indexes(page.child("item")), "- - - -");      // no alignment ran
}

TEST(FormatGeometry, SortByIndexThenLeftRecursively)
{
    platform::TXmlDocument doc;
    doc.LoadFromText(
        "<band><a index=\"2\"/><b left=\"50\"/><c index=\"0\" left=\"9\"><z index=\"1\"/><y index=\"0\"/></c>"
        "<d index=\"0\" left=\"3\"/><e left=\"10\"/></band>");
    formats::SortCellsByIndex(doc.Root());
    EXPECT_EQ(ChildNames(doc.Root()), "e b d c a");
    EXPECT_EQ(ChildNames(doc.Root().child("c")), "y z");
}

TEST(FormatGeometry, AbsoluteRectangleAddsParentOffsets)
{
    platform::TXmlDocument doc;
    doc.LoadFromText(
        "<listformat width=\"2102\" height=\"2972\"><page left=\"100\" top=\"110\" width=\"1902\" height=\"2772\">"
        "<pageheader1 left=\"0\" top=\"300\" width=\"1902\" height=\"300\"><title left=\"50\" top=\"20\" width=\"10\" "
        "height=\"5\"><sub left=\"1\" top=\"2\" width=\"3\" height=\"4\"/></title></pageheader1></page></listformat>");
    const pugi::xml_node page = doc.Root().child("page");
    const pugi::xml_node title = page.child("pageheader1").child("title");
    EXPECT_EQ(formats::GetAbsoluteRect(page), (dictionary::TRect{100, 110, 2002, 2882}));
    EXPECT_EQ(formats::GetAbsoluteRect(title), (dictionary::TRect{150, 430, 160, 435}));
    EXPECT_EQ(formats::GetAbsoluteRect(title.child("sub")), (dictionary::TRect{151, 432, 154, 436}));
    EXPECT_EQ(formats::GetAbsoluteRect(doc.Root()), (dictionary::TRect{0, 0, 2102, 2972}));
}

}  // namespace
