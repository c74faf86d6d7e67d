#include "output/CSVUnit.h"

#include "app/DataModulesUnit.h"
#include "app/ListOutputUnit.h"
#include "app/OpenListUnit.h"
#include "formats/FormatGeometryUnit.h"
#include "formats/ListFormatModuleUnit.h"
#include "platform/CodePageUnit.h"
#include "platform/StreamUnit.h"

#include <algorithm>
#include <vector>

namespace output {

namespace {

bool IsGroupColumn(pugi::xml_node cell)
{
    const std::string_view name = cell.name();
    return name == "T" || name.find('_') != std::string_view::npos;
}

std::vector<pugi::xml_node> Children(pugi::xml_node node)
{
    std::vector<pugi::xml_node> children;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        if (child.type() == pugi::node_element) children.push_back(child);
    return children;
}

std::string TranslatedText(pugi::xml_node cell)
{
    return dictionary::SelectLanguagePart(platform::AttributeText(cell, "fixtext"));
}

// One cell of a band with the texts that do not change from row to row.
struct TCell {
    pugi::xml_node Node;
    formats::TCellSource Source;
    bool Visible = false;
    bool Group = false;
    std::string Text;                     // translated fixed text
    std::vector<TCell> VisibleSubcells;   // group columns only
};

struct TBand {
    bool Present = false;                 // exists and is visible
    std::vector<TCell> Cells;
};

TBand ReadBand(pugi::xml_node page, const std::string &name, bool hasGroups)
{
    TBand band;
    const pugi::xml_node node = page.child(name.c_str());
    band.Present = node && formats::IsVisible(node);
    for (pugi::xml_node child : Children(node)) {
        // A group name without sub-cells is written as a plain column, so a
        // lone counter cell such as COST_T still shows its value.
        const bool group = hasGroups && IsGroupColumn(child) && !Children(child).empty();
        TCell cell{child, formats::ResolveCellSource(child), formats::IsVisible(child), group, TranslatedText(child), {}};
        if (cell.Group)
            for (pugi::xml_node sub : Children(child))
                if (formats::IsVisible(sub))
                    cell.VisibleSubcells.push_back({sub, formats::ResolveCellSource(sub), true, false, TranslatedText(sub), {}});
        band.Cells.push_back(std::move(cell));
    }
    return band;
}

class TCsvWriter {
public:
    TCsvWriter(const TOutputJob &job, std::string separator)
        : Job(job), Format(job.Format), Separator(std::move(separator))
    {
        const pugi::xml_node page = formats::PageOf(Format.Root());
        PageHeader = ReadBand(page, "pageheader", false);
        PageHeader1 = ReadBand(page, "pageheader1", false);
        PageHeader2 = ReadBand(page, "pageheader2", false);
        Header = ReadBand(page, "header", true);
        Item = ReadBand(page, "item", true);
        Total = ReadBand(page, "total", true);
        PageFooter = ReadBand(page, "pagefooter", false);
        const int levels = job.List.LevelCount();
        for (int level = 0; level < levels; ++level) {
            ControlBreaks.push_back(ReadBand(page, formats::ControlBreakBandName(level), false));
            Subtotals.push_back(ReadBand(page, formats::SubtotalBandName(level), true));
        }
        // A page-header cell spans as many fields as the header column below.
        const std::vector<pugi::xml_node> headerCells = Children(page.child("header"));
        for (pugi::xml_node cell : headerCells) {
            const std::vector<pugi::xml_node> subcells = Children(cell);
            const int span = subcells.empty() ? 1
                                              : int(std::count_if(subcells.begin(), subcells.end(),
                                                                  [](pugi::xml_node n) { return formats::IsVisible(n); }));
            Spans.push_back(span);
        }
        HeaderHasSecondLine = std::any_of(Header.Cells.begin(), Header.Cells.end(),
                                          [](const TCell &c) { return c.Visible && !Children(c.Node).empty(); });
    }

    void Write(platform::TStream &out)
    {
        Out = &out;
        WritePageHeaders();
        for (Job.Plan.Rewind(); !Job.Plan.AtEnd(); Job.Plan.Next()) {
            const formats::TPlanEntry &entry = Job.Plan.Current();
            if (entry.Kind == formats::TEntryKind::End) break;
            switch (entry.Kind) {
            case formats::TEntryKind::Items: WriteItems(entry); break;
            case formats::TEntryKind::GroupHeader:
                Job.List.ReadBreakRecord(Job.List.Output, entry.Level, entry.First);
                WriteControlBreak(BandAt(ControlBreaks, entry.Level));
                break;
            case formats::TEntryKind::Subtotal:
                Job.List.ReadBreakRecord(Job.List.Output, entry.Level, entry.First);
                WriteColumns(BandAt(Subtotals, entry.Level), false);
                break;
            default: break;
            }
        }
        WriteColumns(Total, false);
        WritePageFooter();
        Flush();
    }

private:
    static const TBand &BandAt(const std::vector<TBand> &bands, int level)
    {
        static const TBand missing;
        return level >= 0 && level < int(bands.size()) ? bands[std::size_t(level)] : missing;
    }

    std::string Value(const TCell &cell) const { return formats::CellValue(cell.Source, Format.ValueProviders()); }
    std::string Filled(const TCell &cell, const std::string &value) const
    {
        return formats::FillPlaceholder(cell.Text, value);
    }
    std::string Fill(std::size_t index) const
    {
        const int span = index < Spans.size() ? Spans[index] : 1;
        std::string fill;
        for (int i = 1; i < span; ++i) fill += Separator;
        return fill;
    }
    void SeparatorBefore(std::size_t index)
    {
        if (index > 0) Line += Separator;
    }

    void WritePageHeaders()
    {
        const formats::TPageContext &context = Format.Context();
        if (PageHeader.Present) {
            for (std::size_t i = 0; i < PageHeader.Cells.size(); ++i) {
                const TCell &cell = PageHeader.Cells[i];
                SeparatorBefore(i);
                if (!cell.Visible) continue;
                if (std::string_view(cell.Node.name()) == "firm")
                    Line += Fill(i) + Filled(cell, context.Firm);
                else
                    Line += cell.Text + Fill(i);
            }
            EndLine();
        }
        if (PageHeader1.Present) {
            for (std::size_t i = 0; i < PageHeader1.Cells.size(); ++i) {
                const TCell &cell = PageHeader1.Cells[i];
                SeparatorBefore(i);
                if (!cell.Visible) continue;
                const std::string_view name = cell.Node.name();
                if (name == "period")
                    Line += Filled(cell, context.PeriodText) + Fill(i);
                else if (name == "date")
                    Line += Fill(i) + Filled(cell, context.DateText);
                else
                    Line += cell.Text + Fill(i);
            }
            EndLine();
        }
        if (PageHeader2.Present) {
            for (std::size_t i = 0; i < PageHeader2.Cells.size(); ++i) {
                const TCell &cell = PageHeader2.Cells[i];
                SeparatorBefore(i);
                if (cell.Visible)
                    Line += std::string_view(cell.Node.name()) == "remark" ? Filled(cell, context.Remark) : cell.Text;
                Line += Fill(i);
            }
            EndLine();
        }
    }

    void WriteColumnHeader()
    {
        if (!Header.Present) return;
        bool earlierVisible = false;
        for (std::size_t i = 0; i < Header.Cells.size(); ++i) {
            const TCell &cell = Header.Cells[i];
            if (earlierVisible) Line += Separator;
            if (!cell.Visible) continue;
            Line += cell.Text + Fill(i);
            earlierVisible = true;
        }
        EndLine();
        if (!HeaderHasSecondLine) return;
        for (std::size_t i = 0; i < Header.Cells.size(); ++i) {
            const TCell &cell = Header.Cells[i];
            SeparatorBefore(i);
            if (!cell.Visible || !cell.Group) continue;
            for (std::size_t s = 0; s < cell.VisibleSubcells.size(); ++s) {
                if (s > 0) Line += Separator;
                Line += cell.VisibleSubcells[s].Text;
            }
        }
        EndLine();
    }

    void WriteItems(const formats::TPlanEntry &entry)
    {
        WriteColumnHeader();
        app::TOpenList &list = Job.List;
        const bool detailRows = entry.Level >= list.LevelCount();
        for (std::int32_t j = 0; j < entry.Count; ++j) {
            const std::int64_t position = std::int64_t(entry.First) + j;
            if (detailRows) {
                list.ReadItemRecord(list.Output, position - 1);
                if (list.IsDetailed()) {
                    WritePlainColumns(Item);
                } else {
                    Job.Values.CurrentRecordNumber = position;
                    WriteColumns(Item, false);
                }
            } else {
                list.ReadBreakRecord(list.Output, entry.Level, position);
                WriteColumns(Item, true);
            }
        }
    }

    // Every column one field, group columns not expanded.
    void WritePlainColumns(const TBand &band)
    {
        if (!band.Present) return;
        for (std::size_t i = 0; i < band.Cells.size(); ++i) {
            SeparatorBefore(i);
            const TCell &cell = band.Cells[i];
            if (cell.Visible) Line += Filled(cell, Value(cell));
        }
        EndLine();
    }

    // Group columns give one field per visible sub-cell; on a control-break
    // level an invisible group still keeps its fields, so the columns of the
    // level's rows stay in line.
    void WriteColumns(const TBand &band, bool keepInvisibleGroups)
    {
        if (!band.Present) return;
        for (std::size_t i = 0; i < band.Cells.size(); ++i) {
            SeparatorBefore(i);
            const TCell &cell = band.Cells[i];
            if (!cell.Visible) {
                if (keepInvisibleGroups && cell.Group)
                    for (std::size_t s = 1; s < cell.VisibleSubcells.size(); ++s) Line += Separator;
                continue;
            }
            if (!cell.Group) {
                Line += Filled(cell, Value(cell));
                continue;
            }
            for (std::size_t s = 0; s < cell.VisibleSubcells.size(); ++s) {
                if (s > 0) Line += Separator;
                const TCell &sub = cell.VisibleSubcells[s];
                Line += Filled(sub, Value(sub));
            }
        }
        EndLine();
    }

    void WriteControlBreak(const TBand &band)
    {
        if (!band.Present) return;
        for (std::size_t i = 0; i < band.Cells.size(); ++i) {
            SeparatorBefore(i);
            const TCell &cell = band.Cells[i];
            if (cell.Visible) Line += Filled(cell, Value(cell));
        }
        EndLine();
    }

    void WritePageFooter()
    {
        if (!PageFooter.Present) return;
        bool first = true;
        for (const TCell &cell : PageFooter.Cells) {
            if (!cell.Visible) continue;
            if (!first) Line += Separator;
            first = false;
            if (std::string_view(cell.Node.name()) == "listid") Line += Format.Context().ListId;
        }
        EndLine();
    }

    void EndLine()
    {
        Buffer += platform::SystemCodePage().Encode(Line);
        Buffer += "\r\n";
        Line.clear();
        if (Buffer.size() >= 1 << 20) Flush();
    }

    void Flush()
    {
        Out->WriteBuffer(Buffer.data(), Buffer.size());
        Buffer.clear();
    }

    const TOutputJob &Job;
    formats::TListFormatModule &Format;
    const std::string Separator;
    platform::TStream *Out = nullptr;
    std::string Line, Buffer;
    TBand PageHeader, PageHeader1, PageHeader2, Header, Item, Total, PageFooter;
    std::vector<TBand> ControlBreaks, Subtotals;
    std::vector<int> Spans;
    bool HeaderHasSecondLine = false;
};

// One character of the format, as the formatting helpers write it; an empty
// or non-ASCII value keeps the current one.
char FormatCharacter(const formats::TListFormatModule &format, const char *attribute, char current)
{
    const std::string text = formats::SeparatorText(platform::AttributeText(format.Root(), attribute));
    return text.size() == 1 ? text[0] : current;
}

}  // namespace

void PrepareOutput(app::TDataModules &modules, app::TOpenList &list, app::TListValues &values,
                   formats::TOutputPlan &plan)
{
    app::FillPageContext(modules.ListFormat, list, modules);
    modules.ListFormat.SetValueProviders(values.Providers());
    app::BuildOutputPlan(list, app::FormatLevel(modules.ListFormat), plan);
}

TFormatSeparators::TFormatSeparators(const formats::TListFormatModule &format)
    : PreviousDate(dictionary::StartupDateSeparator()), PreviousDecimal(dictionary::StartupDecimalSeparator()),
      PreviousTime(dictionary::StartupTimeSeparator())
{
    const char date = FormatCharacter(format, "dateseparator", PreviousDate);
    const char decimal = FormatCharacter(format, "decimalsign", PreviousDecimal);
    dictionary::SetStartupSeparators(date, decimal, PreviousTime);
}

TFormatSeparators::~TFormatSeparators()
{
    dictionary::SetStartupSeparators(PreviousDate, PreviousDecimal, PreviousTime);
}

void WriteCsvFile(const std::string &target, const TOutputJob &job)
{
    const std::string separator =
        formats::SeparatorText(platform::AttributeText(job.Format.Root(), "columnseparator"));
    TCsvWriter writer(job, separator);
    const TFormatSeparators separators(job.Format);
    platform::TFileStream file(target, platform::TFileStream::TMode::Create);
    writer.Write(file);
    file.Flush();
}

TCSVThread::TCSVThread(std::string target, const TOutputJob &job, QObject *parent)
    : QThread(parent), Target(std::move(target)), Job(job)
{
}

void TCSVThread::run()
{
    try {
        WriteCsvFile(Target, Job);
    } catch (const std::exception &e) {
        ErrorText = e.what();
        if (ErrorText.empty()) ErrorText = "CSV output failed";
    }
}

}  // namespace output
