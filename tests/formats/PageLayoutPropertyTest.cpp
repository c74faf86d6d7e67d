// Paging of many generated lists and formats (fixed seed): whatever the band
// heights and flags, paging ends and keeps the rules that hold for any list.
#include "formats/PageLayoutUnit.h"
#include "tests/formats/PageLayoutTestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

using namespace pagingtest;

namespace {

int Uniform(std::mt19937 &rng, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(rng);
}

bool Chance(std::mt19937 &rng, double p)
{
    return std::bernoulli_distribution(p)(rng);
}

int RowCount(std::mt19937 &rng, int low)
{
    return Chance(rng, 0.15) ? Uniform(rng, low, 150) : Uniform(rng, low, 12);
}

// The plan of a list with groups down to level `stop`, the way the plan
// builder lays it out: header, contents, subtotal; positions run on per level.
void Expand(formats::TOutputPlan &plan, std::mt19937 &rng, int k, int stop, int first, int count,
            std::vector<int> &next)
{
    if (k == stop) {
        plan.AddItems(first, count, k);
        return;
    }
    for (int j = 0; j < count; ++j) {
        plan.AddGroupHeader(first + j, k);
        const int children = k + 1 == stop ? RowCount(rng, 1) : Uniform(rng, 1, 3);
        const int start = next[std::size_t(k + 1)];
        next[std::size_t(k + 1)] += children;
        Expand(plan, rng, k + 1, stop, start, children, next);
        plan.AddSubtotal(first + j, k);
    }
}

formats::TOutputPlan GeneratePlan(std::mt19937 &rng, int stop)
{
    formats::TOutputPlan plan;
    std::vector<int> next(std::size_t(stop + 1), 1);
    const int count = stop == 0 ? RowCount(rng, 0) : Uniform(rng, 1, 4);
    next[0] += count;
    Expand(plan, rng, 0, stop, 1, count, next);
    plan.AddEnd();
    return plan;
}

// Mostly ordinary heights, now and then a band taller than the page.
int Height(std::mt19937 &rng, int low, int high, int page)
{
    return Chance(rng, 0.04) ? Uniform(rng, page / 2, page * 2) : Uniform(rng, low, high);
}

TBands GenerateBands(std::mt19937 &rng, int levels)
{
    TBands b;
    b.Page = Uniform(rng, 60, 1500);
    b.PageHeader = Uniform(rng, 0, 120);
    b.PageHeader1 = Uniform(rng, 0, 120);
    b.PageFooter = Uniform(rng, 0, 80);
    b.FirstPageOnly = Chance(rng, 0.5);
    b.Header = Height(rng, 0, 60, b.Page);
    b.Item = Chance(rng, 0.03) ? 0 : Height(rng, 5, 60, b.Page);
    b.Total = Height(rng, 0, 80, b.Page);
    for (int k = 0; k < levels; ++k)
        b.Levels.push_back({Height(rng, 0, 80, b.Page), Height(rng, 0, 80, b.Page), Chance(rng, 0.3),
                            Chance(rng, 0.6)});
    return b;
}

// The checks below use only the band numbers and the rules in words.
struct TChecker {
    const TBands &B;
    const std::vector<TPlanEntry> &Plan;
    const formats::TPagination &P;

    std::int64_t Room(int page) const
    {
        return B.Page - B.PageHeader - B.PageFooter - (page == 1 || !B.FirstPageOnly ? B.PageHeader1 : 0);
    }

    std::int64_t HeightOf(const TPlanEntry &e) const
    {
        switch (e.Kind) {
        case TEntryKind::ColumnHeader: return B.Header;
        case TEntryKind::Items: return std::int64_t(e.Count) * B.Item;
        case TEntryKind::End: return B.Total;
        case TEntryKind::GroupHeader: return B.Levels[std::size_t(e.Level)].Header;
        case TEntryKind::Subtotal: return B.Levels[std::size_t(e.Level)].Subtotal;
        default: return 0;
        }
    }

    // Content in output order: one token per row, group header (first
    // appearance only; later ones repeat it), subtotal and total.
    using TToken = std::tuple<int, int, int>;   // kind, position, level
    static std::vector<TToken> Tokens(const std::vector<TPlanEntry> &entries)
    {
        std::vector<TToken> tokens;
        std::set<std::pair<int, int>> seen;
        for (const TPlanEntry &e : entries) {
            if (e.Kind == TEntryKind::Items) {
                for (int r = 0; r < e.Count; ++r) tokens.emplace_back(2, e.First + r, e.Level);
            } else if (e.Kind == TEntryKind::GroupHeader) {
                if (seen.insert({e.First, e.Level}).second) tokens.emplace_back(4, e.First, e.Level);
            } else if (e.Kind == TEntryKind::End || e.Kind == TEntryKind::Subtotal) {
                tokens.emplace_back(int(e.Kind), e.First, e.Level);
            }
        }
        return tokens;
    }

    void Run() const
    {
        const auto &layout = P.PageLayout;
        ASSERT_FALSE(layout.empty());
        ASSERT_EQ(layout.back().Kind, TEntryKind::PageEnd);
        // The index points just past every page end.
        std::vector<std::size_t> starts{0};
        for (std::size_t i = 0; i + 1 < layout.size(); ++i)
            if (layout[i].Kind == TEntryKind::PageEnd) starts.push_back(i + 1);
        ASSERT_EQ(P.PageIndex, starts);

        EXPECT_EQ(Tokens(layout), Tokens(Plan)) << "content lost, doubled or out of order";

        std::map<std::pair<int, int>, std::size_t> planPosition;   // group header -> plan position
        for (std::size_t i = 0; i < Plan.size(); ++i)
            if (Plan[i].Kind == TEntryKind::GroupHeader) planPosition[{Plan[i].First, Plan[i].Level}] = i;

        std::set<std::pair<int, int>> placed;
        std::map<int, TPlanEntry> open;   // level -> header of its open group
        for (int n = 1; n <= P.PageCount(); ++n) {
            SCOPED_TRACE("page " + std::to_string(n));
            const auto page = P.Page(n);
            std::int64_t height = 0, rows = 0;
            int originalRuns = 0;
            bool inRun = false, rowsSeen = false;
            std::vector<TPlanEntry> copies;
            const TPlanEntry *firstOriginal = nullptr;
            for (std::size_t i = 0; i < page.size(); ++i) {
                const TPlanEntry &e = page[i];
                height += HeightOf(e);
                const bool copy = e.Kind == TEntryKind::GroupHeader && placed.count({e.First, e.Level});
                const bool original = !copy && e.Kind != TEntryKind::ColumnHeader;
                if (copy) {
                    EXPECT_EQ(firstOriginal, nullptr) << "a repeated header after the page's content began";
                    copies.push_back(e);
                }
                if (original && !firstOriginal) firstOriginal = &e;
                if (e.Kind == TEntryKind::GroupHeader && !copy) {
                    if (!inRun) ++originalRuns;
                    inRun = true;
                    if (B.Levels[std::size_t(e.Level)].NewPage) {
                        const std::size_t at = planPosition[{e.First, e.Level}];
                        if (at > 0 && Plan[at - 1].Kind == TEntryKind::Subtotal) {
                            EXPECT_EQ(firstOriginal, &e) << "a newpage group does not start its page";
                        }
                    }
                } else if (e.Kind != TEntryKind::ColumnHeader) {
                    inRun = false;
                }
                if (e.Kind == TEntryKind::Items) {
                    rows += e.Count;
                    rowsSeen = true;
                }
                if (e.Kind == TEntryKind::Subtotal || e.Kind == TEntryKind::End) {
                    EXPECT_TRUE(rowsSeen) << "subtotal or total without a row above it on its page";
                }
            }
            // Rows of no height never push a page over; any other overfull
            // page holds one forced block: a header run, or one row.
            if (height > Room(n)) {
                EXPECT_TRUE((rows <= 1 || B.Item == 0) && originalRuns <= 1)
                    << "page over its room (" << height << " > " << Room(n) << ") without a forcing block";
            }

            if (n > 1) {
                ASSERT_NE(firstOriginal, nullptr) << "a page without content";
                // Leading repeats: the open groups that repeat, outermost first;
                // for a page opening a new group of level k only those above k.
                std::vector<TPlanEntry> expected;
                for (const auto &[level, header] : open) {
                    const bool above = firstOriginal->Kind != TEntryKind::GroupHeader || level < firstOriginal->Level;
                    if (above && B.Levels[std::size_t(level)].Repeat) expected.push_back(header);
                }
                EXPECT_EQ(copies, expected);
                // After the group headers comes the column header.
                std::size_t i = copies.size();
                while (i < page.size() && page[i].Kind == TEntryKind::GroupHeader) ++i;
                ASSERT_LT(i, page.size());
                EXPECT_EQ(page[i].Kind, TEntryKind::ColumnHeader);
            }

            for (const TPlanEntry &e : page) {
                if (e.Kind == TEntryKind::GroupHeader && placed.insert({e.First, e.Level}).second) {
                    open[e.Level] = e;
                } else if (e.Kind == TEntryKind::Subtotal) {
                    open.erase(e.Level);
                }
            }
        }
    }
};

TEST(PageLayoutProperty, GeneratedListsAndFormats)
{
    std::mt19937 rng(20240611);
    for (int round = 0; round < 3000; ++round) {
        const int levels = Uniform(rng, 0, 3);
        const int stop = Uniform(rng, 0, levels);   // a format may fold inner levels
        const TBands bands = GenerateBands(rng, levels);
        const formats::TOutputPlan plan = GeneratePlan(rng, stop);
        const formats::TPagination p = formats::Paginate(plan, MakeFormat(bands));

        std::ostringstream what;
        what << "round " << round << ": levels " << levels << " stop " << stop << " page " << bands.Page
             << " header " << bands.Header << " item " << bands.Item;
        SCOPED_TRACE(what.str());
        TChecker{bands, plan.Entries(), p}.Run();
        if (HasFailure()) break;   // one failing round says enough
    }
}

}  // namespace
