// Page breaking on small formats; every expected layout is worked out by hand
// from the breaking rules (R is the room left, all bands 10 high unless a
// case says otherwise).
#include "formats/PageLayoutUnit.h"
#include "tests/formats/PageLayoutTestSupport.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

using namespace pagingtest;
using formats::TPageIndex;

namespace {

// Room of 100 on every page: sheet area 130, page header 20, page footer 10.
TBands Room(int room = 100, std::vector<TLevelBands> levels = {})
{
    TBands b;
    b.Page = room + 30;
    b.PageHeader = 20;
    b.PageFooter = 10;
    b.Header = b.Item = b.Total = 10;
    b.Levels = std::move(levels);
    return b;
}

TLevelBands Level(bool repeat = true, bool newPage = false)
{
    return {10, 10, newPage, repeat};
}

struct TCase {
    const char *Name;
    TBands Bands;
    std::vector<TPlanEntry> Plan;
    std::vector<TPlanEntry> Layout;
    TPageIndex Index;
};

void ExpectPaging(const TCase &c)
{
    SCOPED_TRACE(c.Name);
    const platform::TXmlDocument format = MakeFormat(c.Bands);
    const formats::TPagination p = formats::Paginate(MakePlan(c.Plan), format);
    EXPECT_EQ(p.PageLayout, c.Layout);
    EXPECT_EQ(p.PageIndex, c.Index);
}

TEST(PageLayout, LongRunsSplitByRoomDivItemHeight)
{
    const TCase cases[] = {
        // R 90 after the column header: 9 rows a page; the last 2 rows and the total fit.
        {"20 rows", Room(), {Rows(1, 20, 0), Total()},
         {Head(), Rows(1, 9, 0), PageEnd(), Head(), Rows(10, 9, 0), PageEnd(), Head(), Rows(19, 2, 0), Total(),
          PageEnd()},
         {0, 3, 6}},
        // Room 95: 85 left after the header, still 8 whole rows (85 div 10).
        {"rounding down", Room(95), {Rows(1, 10, 0), Total()},
         {Head(), Rows(1, 8, 0), PageEnd(), Head(), Rows(9, 2, 0), Total(), PageEnd()},
         {0, 3}},
        // Summary rows of level 1 (a format that folds the inner level) split the same way.
        {"summary rows", Room(), {Rows(1, 12, 1), Total()},
         {Head(), Rows(1, 9, 1), PageEnd(), Head(), Rows(10, 3, 1), Total(), PageEnd()},
         {0, 3}},
    };
    for (const TCase &c : cases) ExpectPaging(c);
}

TEST(PageLayout, GroupHeadersRepeatOnEveryPageTheirGroupContinues)
{
    const std::vector<TPlanEntry> plan = {Group(1, 0), Group(1, 1), Rows(1, 10, 2), Sub(1, 1), Sub(1, 0), Total()};
    // Page 1: headers 20 + column header 10 leave 70, so 7 rows. Page 2 starts
    // with the repeated headers, outermost first, then the column header.
    const TCase cases[] = {
        {"both repeat", Room(100, {Level(true), Level(true)}), plan,
         {Group(1, 0), Group(1, 1), Head(), Rows(1, 7, 2), PageEnd(), Group(1, 0), Group(1, 1), Head(),
          Rows(8, 3, 2), Sub(1, 1), Sub(1, 0), Total(), PageEnd()},
         {0, 5}},
        {"inner repeats only", Room(100, {Level(false), Level(true)}), plan,
         {Group(1, 0), Group(1, 1), Head(), Rows(1, 7, 2), PageEnd(), Group(1, 1), Head(), Rows(8, 3, 2),
          Sub(1, 1), Sub(1, 0), Total(), PageEnd()},
         {0, 5}},
        {"none repeats", Room(100, {Level(false), Level(false)}), plan,
         {Group(1, 0), Group(1, 1), Head(), Rows(1, 7, 2), PageEnd(), Head(), Rows(8, 3, 2), Sub(1, 1),
          Sub(1, 0), Total(), PageEnd()},
         {0, 5}},
    };
    for (const TCase &c : cases) ExpectPaging(c);
}

TEST(PageLayout, SubtotalNeverStartsAPage)
{
    const TCase cases[] = {
        // 7 rows fit (R 80) but with subtotal and total (20) they need 90: the
        // last row moves to page 2 with them.
        {"last row moves", Room(100, {Level()}), {Group(1, 0), Rows(1, 7, 1), Sub(1, 0), Total()},
         {Group(1, 0), Head(), Rows(1, 6, 1), PageEnd(), Group(1, 0), Head(), Rows(7, 1, 1), Sub(1, 0), Total(),
          PageEnd()},
         {0, 4}},
        // Group 2 gets its header and column header in (30 < 40) but its one
        // row needs 10 + 20 with 20 left: the row goes to page 2 whole.
        {"one-row group moves",
         Room(100, {Level()}),
         {Group(1, 0), Rows(1, 3, 1), Sub(1, 0), Group(2, 0), Rows(4, 1, 1), Sub(2, 0), Total()},
         {Group(1, 0), Head(), Rows(1, 3, 1), Sub(1, 0), Group(2, 0), Head(), PageEnd(), Group(2, 0), Head(),
          Rows(4, 1, 1), Sub(2, 0), Total(), PageEnd()},
         {0, 7}},
    };
    for (const TCase &c : cases) ExpectPaging(c);
}

TEST(PageLayout, TotalAtThePageEnd)
{
    const TCase cases[] = {
        // 8 rows and the total fill the 90 left exactly.
        {"exact fit", Room(), {Rows(1, 8, 0), Total()}, {Head(), Rows(1, 8, 0), Total(), PageEnd()}, {0}},
        // 9 rows fill the page; the total takes the last row with it.
        {"total moves with a row", Room(), {Rows(1, 9, 0), Total()},
         {Head(), Rows(1, 8, 0), PageEnd(), Head(), Rows(9, 1, 0), Total(), PageEnd()},
         {0, 3}},
        // An empty list still has its column header and total.
        {"no rows", Room(), {Rows(1, 0, 0), Total()}, {Head(), Rows(1, 0, 0), Total(), PageEnd()}, {0}},
    };
    for (const TCase &c : cases) ExpectPaging(c);
}

TEST(PageLayout, NewPageStartsLaterGroupsWithoutEmptyPages)
{
    const std::vector<TPlanEntry> twoGroups = {Group(1, 0), Rows(1, 2, 1), Sub(1, 0),
                                               Group(2, 0), Rows(3, 2, 1), Sub(2, 0), Total()};
    const TCase cases[] = {
        // Room 200 would take both groups; newpage puts group 2 on page 2, the
        // first group stays on page 1.
        {"one level", Room(200, {Level(true, true)}), twoGroups,
         {Group(1, 0), Head(), Rows(1, 2, 1), Sub(1, 0), PageEnd(), Group(2, 0), Head(), Rows(3, 2, 1),
          Sub(2, 0), Total(), PageEnd()},
         {0, 5}},
        {"without newpage", Room(200, {Level(true, false)}), twoGroups,
         {Group(1, 0), Head(), Rows(1, 2, 1), Sub(1, 0), Group(2, 0), Head(), Rows(3, 2, 1), Sub(2, 0), Total(),
          PageEnd()},
         {0}},
        // newpage on the inner level: inner group 2 starts page 2 under the
        // repeated outer header; inner group 3 opens a new outer group in the
        // same header run, which breaks only where a subtotal precedes it.
        {"inner level",
         Room(200, {Level(true, false), Level(true, true)}),
         {Group(1, 0), Group(1, 1), Rows(1, 2, 2), Sub(1, 1), Group(2, 1), Rows(3, 2, 2), Sub(2, 1), Sub(1, 0),
          Group(2, 0), Group(3, 1), Rows(5, 2, 2), Sub(3, 1), Sub(2, 0), Total()},
         {Group(1, 0), Group(1, 1), Head(), Rows(1, 2, 2), Sub(1, 1), PageEnd(), Group(1, 0), Group(2, 1), Head(),
          Rows(3, 2, 2), Sub(2, 1), Sub(1, 0), Group(2, 0), Group(3, 1), Head(), Rows(5, 2, 2), Sub(3, 1),
          Sub(2, 0), Total(), PageEnd()},
         {0, 6}},
    };
    for (const TCase &c : cases) ExpectPaging(c);
}

TEST(PageLayout, GroupHeaderNeedsRoomForColumnHeaderAndOneRow)
{
    // Subtotal and total take no room here. After group 1 the room is 80
    // minus its rows; group 2's header, column header and a row need 30,
    // which must be strictly less than that room.
    TBands b = Room(100, {{10, 0, false, true}});
    b.Total = 0;
    const TCase cases[] = {
        {"room 30 is not enough", b,
         {Group(1, 0), Rows(1, 5, 1), Sub(1, 0), Group(2, 0), Rows(6, 1, 1), Sub(2, 0), Total()},
         {Group(1, 0), Head(), Rows(1, 5, 1), Sub(1, 0), PageEnd(), Group(2, 0), Head(), Rows(6, 1, 1), Sub(2, 0),
          Total(), PageEnd()},
         {0, 5}},
        {"room 40 is", b,
         {Group(1, 0), Rows(1, 4, 1), Sub(1, 0), Group(2, 0), Rows(5, 1, 1), Sub(2, 0), Total()},
         {Group(1, 0), Head(), Rows(1, 4, 1), Sub(1, 0), Group(2, 0), Head(), Rows(5, 1, 1), Sub(2, 0), Total(),
          PageEnd()},
         {0}},
    };
    for (const TCase &c : cases) ExpectPaging(c);
}

TEST(PageLayout, FirstPageOnlyHeaderGivesLaterPagesMoreRoom)
{
    struct {
        bool firstPageOnly;
        int page, room;
    } const rooms[] = {{true, 1, 820}, {true, 2, 870}, {true, 3, 870}, {false, 1, 820}, {false, 2, 820}};
    for (const auto &r : rooms) {
        TBands b;
        b.Page = 1000;
        b.PageHeader = 100;
        b.PageHeader1 = 50;
        b.PageFooter = 30;
        b.FirstPageOnly = r.firstPageOnly;
        EXPECT_EQ(formats::AvailableHeight(MakeFormat(b), r.page), r.room) << r.firstPageOnly << " " << r.page;
    }

    // Sheet area 130, page header 20, second header 10: room 100 on page 1,
    // 110 on the others when the second header is on page 1 only.
    TBands b = Room();
    b.Page = 130;
    b.PageFooter = 0;
    b.PageHeader1 = 10;
    TBands once = b;
    once.FirstPageOnly = true;
    const TCase cases[] = {
        {"first page only", once, {Rows(1, 25, 0), Total()},
         {Head(), Rows(1, 9, 0), PageEnd(), Head(), Rows(10, 10, 0), PageEnd(), Head(), Rows(20, 6, 0), Total(),
          PageEnd()},
         {0, 3, 6}},
        {"every page", b, {Rows(1, 25, 0), Total()},
         {Head(), Rows(1, 9, 0), PageEnd(), Head(), Rows(10, 9, 0), PageEnd(), Head(), Rows(19, 7, 0), Total(),
          PageEnd()},
         {0, 3, 6}},
    };
    for (const TCase &c : cases) ExpectPaging(c);
}

TEST(PageLayout, OversizedContentStillTerminates)
{
    TBands tallRow = Room();
    tallRow.Item = 150;
    TBands tallHeader = Room(100, {{150, 10, false, false}});
    TBands tallRepeated = Room(100, {{150, 10, false, true}});
    // Page 1 has room 40, the others 100 (a first-page-only second header of 60).
    TBands shortFirst = Room(100, {{30, 10, false, true}});
    shortFirst.PageHeader1 = 60;
    shortFirst.FirstPageOnly = true;
    const std::vector<TPlanEntry> twoGroups = {Group(1, 0), Rows(1, 2, 1), Sub(1, 0),
                                               Group(2, 0), Rows(3, 2, 1), Sub(2, 0), Total()};
    const TCase cases[] = {
        // Each 150-high row gets a page of its own; the last one keeps the total.
        {"row taller than a page", tallRow, {Rows(1, 3, 0), Total()},
         {Head(), Rows(1, 1, 0), PageEnd(), Head(), Rows(2, 1, 0), PageEnd(), Head(), Rows(3, 1, 0), Total(),
          PageEnd()},
         {0, 3, 6}},
        // A 150-high group header goes on a fresh page with its column header
        // and first row; the rest of the group follows on the next page.
        {"group header taller than a page", tallHeader, twoGroups,
         {Group(1, 0), Head(), Rows(1, 1, 1), PageEnd(), Head(), Rows(2, 1, 1), Sub(1, 0), PageEnd(), Group(2, 0),
          Head(), Rows(3, 1, 1), PageEnd(), Head(), Rows(4, 1, 1), Sub(2, 0), Total(), PageEnd()},
         {0, 4, 8, 12}},
        // Repeated, the same header overfills every page: one row a page, the
        // subtotal kept with its row.
        {"repeated tall header", tallRepeated, twoGroups,
         {Group(1, 0), Head(), Rows(1, 1, 1), PageEnd(), Group(1, 0), Head(), Rows(2, 1, 1), Sub(1, 0), PageEnd(),
          Group(2, 0), Head(), Rows(3, 1, 1), PageEnd(), Group(2, 0), Head(), Rows(4, 1, 1), Sub(2, 0), Total(),
          PageEnd()},
         {0, 4, 9, 13}},
        // Header 30 + column header + row (50) miss page 1 (40) but fit page 2.
        {"content waits for the roomier page 2", shortFirst, {Group(1, 0), Rows(1, 1, 1), Sub(1, 0), Total()},
         {PageEnd(), Group(1, 0), Head(), Rows(1, 1, 1), Sub(1, 0), Total(), PageEnd()},
         {0, 1}},
    };
    for (const TCase &c : cases) ExpectPaging(c);

    // No page element and no bands: every height reads as 0 and all fits.
    platform::TXmlDocument bare;
    bare.LoadFromText("<listformat />");
    const formats::TPagination p = formats::Paginate(MakePlan({Rows(1, 3, 0), Total()}), bare);
    EXPECT_EQ(p.PageLayout, (std::vector<TPlanEntry>{Head(), Rows(1, 3, 0), Total(), PageEnd()}));
}

TEST(PageLayout, PageEntriesAndBadInput)
{
    const formats::TPagination p =
        formats::Paginate(MakePlan({Rows(1, 20, 0), Total()}), MakeFormat(Room()));
    ASSERT_EQ(p.PageCount(), 3);
    const auto page3 = p.Page(3);
    EXPECT_EQ(std::vector<TPlanEntry>(page3.begin(), page3.end()),
              (std::vector<TPlanEntry>{Head(), Rows(19, 2, 0), Total()}));
    EXPECT_THROW(p.Page(0), std::out_of_range);
    EXPECT_THROW(p.Page(4), std::out_of_range);

    // An empty plan still gives one (empty) page.
    const formats::TPagination empty = formats::Paginate(formats::TOutputPlan(), MakeFormat(Room()));
    EXPECT_EQ(empty.PageLayout, std::vector<TPlanEntry>{PageEnd()});
    EXPECT_EQ(empty.PageIndex, TPageIndex{0});

    platform::TXmlDocument bad;
    bad.LoadFromText("<listformat><page height=\"1x\" /></listformat>");
    EXPECT_THROW(formats::AvailableHeight(bad, 1), platform::TConversionError);
}

TEST(OutputPlan, WalksFromTheStart)
{
    formats::TOutputPlan plan;
    plan.AddGroupHeader(3, 0);
    plan.AddItems(7, 2, 1);
    plan.AddSubtotal(3, 0);
    plan.AddEnd();
    std::vector<TPlanEntry> read;
    for (plan.Rewind(); !plan.AtEnd(); plan.Next()) read.push_back(plan.Current());
    EXPECT_EQ(read, (std::vector<TPlanEntry>{Group(3, 0), Rows(7, 2, 1), Sub(3, 0), Total()}));
    EXPECT_THROW(plan.Current(), std::out_of_range);
    plan.Clear();
    EXPECT_TRUE(plan.AtEnd());
    EXPECT_EQ(plan.Count(), 0);
}

}  // namespace
