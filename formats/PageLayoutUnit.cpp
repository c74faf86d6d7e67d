#include "formats/PageLayoutUnit.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>

namespace formats {

namespace {

pugi::xml_node Band(pugi::xml_node format, const std::string &name)
{
    return format.child("page").child(name.c_str());
}

// Heights drive the layout whether a band is visible or not: the renderer
// advances by the height of an invisible band too.
int HeightOf(pugi::xml_node element)
{
    const char *text = element.attribute("height").value();   // "" when absent
    if (!*text) return 0;
    try {
        return std::max(0, platform::TextToInteger(text));
    } catch (const platform::TConversionError &error) {
        throw platform::TConversionError(std::string("PageLayoutUnit: Invalid height of ") + element.name() +
                                         "! " + error.what());
    }
}

bool FlagOf(pugi::xml_node band, const char *name, bool missing)
{
    const char *text = band.attribute(name).value();
    if (!*text) return missing;
    return platform::TextToBoolean(text);
}

std::string LevelBand(const char *prefix, int level)
{
    return prefix + std::to_string(level);
}

struct TLevel {
    std::int64_t Header = 0, Subtotal = 0;
    bool NewPage = false, Repeat = true;
    std::ptrdiff_t Placed = -1;   // plan position of the last header placed on this level
};

class TPaginator {
public:
    TPaginator(const TOutputPlan &plan, pugi::xml_node format)
        : Plan(plan.Entries()), Format(format),
          FirstRoom(AvailableHeight(format, 1)), OtherRoom(AvailableHeight(format, 2)),
          HeaderHeight(BandHeight(format, "header")), ItemHeight(BandHeight(format, "item")),
          TotalHeight(BandHeight(format, "total"))
    {
    }

    TPagination Run()
    {
        Result.PageIndex.push_back(0);
        Room = FirstRoom;
        MoveTo(0);
        if (!Plan.empty() && Current.Kind == TEntryKind::Items) WriteColumnHeader();
        while (Index < Plan.size()) {
            switch (Current.Kind) {
            case TEntryKind::Items: PlaceItems(); break;
            case TEntryKind::GroupHeader: PlaceGroupHeaders(); break;
            case TEntryKind::Subtotal:
            case TEntryKind::End: PlaceStrayClosings(); break;
            default: MoveTo(Index + 1); break;   // layout-only or unknown kinds place nothing
            }
        }
        Write({TEntryKind::PageEnd});
        return std::move(Result);
    }

private:
    TLevel &Level(std::int32_t k)
    {
        auto [it, added] = Levels.try_emplace(k);
        if (added) {
            it->second.Header = ControlBreakHeight(Format, k);
            it->second.Subtotal = SubtotalHeight(Format, k);
            it->second.NewPage = NewPageOf(Format, k);
            it->second.Repeat = RepeatOnNewPageOf(Format, k);
        }
        return it->second;
    }

    std::int64_t Available(int page) const { return page == 1 ? FirstRoom : OtherRoom; }

    bool IsClosing(std::size_t i) const
    {
        return i < Plan.size() && (Plan[i].Kind == TEntryKind::Subtotal || Plan[i].Kind == TEntryKind::End);
    }

    std::int64_t ClosingHeight(std::size_t from)
    {
        std::int64_t height = 0;
        for (std::size_t i = from; IsClosing(i); ++i)
            height += Plan[i].Kind == TEntryKind::End ? TotalHeight : Level(Plan[i].Level).Subtotal;
        return height;
    }

    // Whether a page break can give the content more room. A fresh page that
    // holds nothing of the plan yet looks exactly like the next one would,
    // except page 1, which may be shorter.
    bool BreakingHelps() const
    {
        return HoldsContent || (PageNumber == 1 && OtherRoom > FirstRoom);
    }

    bool MayBreak() const { return BreakingHelps() && !KeepFirstRow; }

    void Write(const TPlanEntry &entry) { Result.PageLayout.push_back(entry); }

    void WriteColumnHeader()
    {
        Write({TEntryKind::ColumnHeader});
        Room -= HeaderHeight;
    }

    void WriteRows(std::int64_t count)
    {
        Write({TEntryKind::Items, Current.First, std::int32_t(count), Current.Level});
        Room -= count * ItemHeight;
        HoldsContent = true;
        KeepFirstRow = false;
    }

    std::size_t PlaceClosings(std::size_t from)
    {
        std::size_t i = from;
        for (; IsClosing(i); ++i) {
            Write(Plan[i]);
            Room -= Plan[i].Kind == TEntryKind::End ? TotalHeight : Level(Plan[i].Level).Subtotal;
        }
        HoldsContent = true;
        KeepFirstRow = false;
        return i;
    }

    void PageBreak()
    {
        Write({TEntryKind::PageEnd});
        ++PageNumber;
        Room = Available(PageNumber);
        Result.PageIndex.push_back(Result.PageLayout.size());
        HoldsContent = false;
    }

    void RepeatHeaders(std::int32_t belowLevel)
    {
        for (const auto &[k, level] : Levels) {
            if (k >= belowLevel) break;
            if (level.Placed >= 0 && level.Repeat) {
                Write(Plan[std::size_t(level.Placed)]);
                Room -= level.Header;
            }
        }
    }

    void BreakInsideRun()
    {
        PageBreak();
        RepeatHeaders(INT32_MAX);
        WriteColumnHeader();
        AtTop = false;
    }

    void MoveTo(std::size_t i)
    {
        Index = i;
        if (i < Plan.size()) {
            Current = Plan[i];
            if (Current.Count < 0) Current.Count = 0;
        }
    }

    void PlaceItems()
    {
        const std::int64_t c = Current.Count;
        const bool mayBreak = MayBreak();
        // Rows of no height take no room, so the whole run always fits.
        std::int64_t m = ItemHeight > 0 ? std::max<std::int64_t>(0, Room / ItemHeight) : c;
        if (m == 0) {
            if (mayBreak) {
                BreakInsideRun();
                return;
            }
            // Mend: a row taller than the room of an empty page would break
            // pages without end; it goes on this page all the same.
            m = 1;
        }
        if (m < c) {
            WriteRows(m);
            Current.First += std::int32_t(m);
            Current.Count -= std::int32_t(m);
            BreakInsideRun();
            return;
        }
        // A subtotal or the total never starts a page: they stay with the
        // last row of their run. When even that pair is taller than an empty
        // page (mend), they are kept together on this one.
        if (Room >= ClosingHeight(Index + 1) + c * ItemHeight || (c < 2 && !mayBreak)) {
            WriteRows(c);
            const std::size_t next = PlaceClosings(Index + 1);
            AtTop = false;
            MoveTo(next);
            return;
        }
        if (c >= 2) {
            WriteRows(c - 1);
            Current.First += std::int32_t(c - 1);
            Current.Count = 1;
        }
        BreakInsideRun();
    }

    void PlaceGroupHeaders()
    {
        const std::int32_t k = Current.Level;
        if (Index > 0 && Plan[Index - 1].Kind == TEntryKind::Subtotal) {
            if (Level(k).NewPage && !AtTop) {
                PageBreak();
                AtTop = true;
            }
            if (AtTop) RepeatHeaders(k);
        }
        std::size_t end = Index;
        std::int64_t run = 0;
        for (; end < Plan.size() && Plan[end].Kind == TEntryKind::GroupHeader; ++end)
            run += Level(Plan[end].Level).Header;
        const bool fits = run + HeaderHeight + ItemHeight < Room;
        if (!fits && MayBreak()) {
            PageBreak();
            AtTop = true;
            return;   // the same run again, on the fresh page
        }
        // Mend: when the run with the column header and one row is taller
        // than an empty page, breaking again would never end; the run goes on
        // this page and takes its first row along (KeepFirstRow), so that no
        // page holds headers alone.
        for (std::size_t i = Index; i < end; ++i) {
            Write(Plan[i]);
            TLevel &level = Level(Plan[i].Level);
            Room -= level.Header;
            level.Placed = std::ptrdiff_t(i);
        }
        HoldsContent = true;
        KeepFirstRow = !fits;
        WriteColumnHeader();
        AtTop = false;
        MoveTo(end);
    }

    // Not made by the plan builder (subtotals and the total follow their
    // rows), but a hand-made plan may hold them: placed like closing entries
    // after a run of no rows.
    void PlaceStrayClosings()
    {
        if (Room >= ClosingHeight(Index) || !MayBreak()) {
            const std::size_t next = PlaceClosings(Index);
            AtTop = false;
            MoveTo(next);
        } else {
            BreakInsideRun();
        }
    }

    const std::vector<TPlanEntry> &Plan;
    pugi::xml_node Format;
    const std::int64_t FirstRoom, OtherRoom, HeaderHeight, ItemHeight, TotalHeight;
    std::map<std::int32_t, TLevel> Levels;   // outermost first
    TPagination Result;
    int PageNumber = 1;
    std::int64_t Room = 0;          // height still free on the current page
    bool AtTop = true;
    bool HoldsContent = false;      // plan content (not repeated headers) is on this page
    bool KeepFirstRow = false;      // a forced header run waits for its first row
    std::size_t Index = 0;          // plan position of Current
    TPlanEntry Current;             // the plan entry, a split run's remainder
};

}  // namespace

std::span<const TPlanEntry> TPagination::Page(int n) const
{
    if (n < 1 || n > PageCount())
        throw std::out_of_range("PageLayoutUnit: Invalid page number! " + std::to_string(n));
    const auto begin = PageLayout.begin() + std::ptrdiff_t(PageIndex[std::size_t(n - 1)]);
    const auto end = std::find_if(begin, PageLayout.end(),
                                  [](const TPlanEntry &e) { return e.Kind == TEntryKind::PageEnd; });
    return {begin, end};
}

int BandHeight(pugi::xml_node format, const char *band)
{
    return HeightOf(Band(format, band));
}

int ControlBreakHeight(pugi::xml_node format, int level)
{
    return HeightOf(Band(format, LevelBand("controlbreak_", level)));
}

int SubtotalHeight(pugi::xml_node format, int level)
{
    return HeightOf(Band(format, LevelBand("subtotal_", level)));
}

bool NewPageOf(pugi::xml_node format, int level)
{
    return FlagOf(Band(format, LevelBand("controlbreak_", level)), "newpage", false);
}

bool RepeatOnNewPageOf(pugi::xml_node format, int level)
{
    return FlagOf(Band(format, LevelBand("controlbreak_", level)), "repeatonnewpage", true);
}

bool FirstPageOnly(pugi::xml_node format)
{
    return FlagOf(Band(format, "pageheader1"), "firstpageonly", false);
}

int AvailableHeight(pugi::xml_node format, int page)
{
    int height = HeightOf(format.child("page")) - BandHeight(format, "pageheader") - BandHeight(format, "pagefooter");
    if (page == 1 || !FirstPageOnly(format)) height -= BandHeight(format, "pageheader1");
    return height;
}

int AvailableHeight(const platform::TXmlDocument &format, int page)
{
    return AvailableHeight(format.Root(), page);
}

TPagination Paginate(const TOutputPlan &plan, pugi::xml_node format)
{
    return TPaginator(plan, format).Run();
}

TPagination Paginate(const TOutputPlan &plan, const platform::TXmlDocument &format)
{
    return Paginate(plan, format.Root());
}

}  // namespace formats
