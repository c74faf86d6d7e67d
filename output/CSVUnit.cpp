#include "output/CSVUnit.h"

#include "app/DataModulesUnit.h"
#include "app/ListOutputUnit.h"
#include "app/OpenListUnit.h"
#include "formats/FormatGeometryUnit.h"
#include "formats/ListFormatModuleUnit.h"
#include "platform/CodePageUnit.h"
#include "platform/StreamUnit.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace output {

namespace {

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
    for (pugi::xml_node child : platform::ElementChildren(node)) {
        // A group name without sub-cells is written as a plain column, so a
        // lone counter cell such as COST_T still shows its value.
        const bool group = hasGroups && formats::IsGroupColumn(child);
        TCell cell{child, formats::ResolveCellSource(child), formats::IsVisible(child), group, formats::TranslatedFixText(child), {}};
        if (cell.Group)
            for (pugi::xml_node sub : platform::ElementChildren(child))
                if (formats::IsVisible(sub))
                    cell.VisibleSubcells.push_back({sub, formats::ResolveCellSource(sub), true, false, formats::TranslatedFixText(sub), {}});
        band.Cells.push_back(std::move(cell));
    }
    return band;
}

// The bands of the format with their static texts, shared read-only by the
// threads that write lines.
struct TCsvLayout {
    TCsvLayout(const formats::TListFormatModule &format, int levels, std::string separator)
        : Separator(std::move(separator))
    {
        const pugi::xml_node page = formats::PageOf(format.Root());
        PageHeader = ReadBand(page, "pageheader", false);
        PageHeader1 = ReadBand(page, "pageheader1", false);
        PageHeader2 = ReadBand(page, "pageheader2", false);
        Header = ReadBand(page, "header", true);
        Item = ReadBand(page, "item", true);
        Total = ReadBand(page, "total", true);
        PageFooter = ReadBand(page, "pagefooter", false);
        for (int level = 0; level < levels; ++level) {
            ControlBreaks.push_back(ReadBand(page, formats::ControlBreakBandName(level), false));
            Subtotals.push_back(ReadBand(page, formats::SubtotalBandName(level), true));
        }
        // A page-header cell spans as many fields as the header column below.
        for (pugi::xml_node cell : platform::ElementChildren(page.child("header"))) {
            const std::vector<pugi::xml_node> subcells = platform::ElementChildren(cell);
            Spans.push_back(subcells.empty() ? 1
                                             : int(std::count_if(subcells.begin(), subcells.end(),
                                                                 [](pugi::xml_node n) { return formats::IsVisible(n); })));
        }
        HeaderHasSecondLine = std::any_of(Header.Cells.begin(), Header.Cells.end(),
                                          [](const TCell &c) { return c.Visible && platform::HasElementChildren(c.Node); });
    }

    const TBand &BandAt(const std::vector<TBand> &bands, int level) const
    {
        static const TBand missing;
        return level >= 0 && level < int(bands.size()) ? bands[std::size_t(level)] : missing;
    }

    std::string Separator;
    TBand PageHeader, PageHeader1, PageHeader2, Header, Item, Total, PageFooter;
    std::vector<TBand> ControlBreaks, Subtotals;
    std::vector<int> Spans;
    bool HeaderHasSecondLine = false;
};

// A piece of the list body in plan order: a column header, a run of rows, a
// group header or a subtotal. Long runs are cut so that threads can share them.
struct TPiece {
    enum class TKind { ColumnHeader, Rows, GroupHeader, Subtotal } Kind;
    std::int64_t First = 0, Count = 0;
    int Level = 0;
};

std::vector<TPiece> PiecesOf(formats::TOutputPlan &plan, std::int64_t rowsPerPiece)
{
    std::vector<TPiece> pieces;
    for (plan.Rewind(); !plan.AtEnd(); plan.Next()) {
        const formats::TPlanEntry &entry = plan.Current();
        if (entry.Kind == formats::TEntryKind::End) break;
        switch (entry.Kind) {
        case formats::TEntryKind::Items:
            pieces.push_back({TPiece::TKind::ColumnHeader, 0, 0, entry.Level});
            for (std::int64_t done = 0; done < entry.Count; done += rowsPerPiece)
                pieces.push_back({TPiece::TKind::Rows, entry.First + done, std::min<std::int64_t>(rowsPerPiece, entry.Count - done),
                                  entry.Level});
            break;
        case formats::TEntryKind::GroupHeader: pieces.push_back({TPiece::TKind::GroupHeader, entry.First, 1, entry.Level}); break;
        case formats::TEntryKind::Subtotal: pieces.push_back({TPiece::TKind::Subtotal, entry.First, 1, entry.Level}); break;
        default: break;
        }
    }
    return pieces;
}

// Writes lines, encoded, into Out, reading rows through its own values and
// read set.
class TLineWriter {
public:
    TLineWriter(const TCsvLayout &layout, const TOutputJob &job, app::TListValues &values)
        : Layout(layout), Job(job), Values(values), Set(values.ReadSet()), Providers(values.Providers()),
          Separator(layout.Separator)
    {
    }

    void WritePiece(const TPiece &piece)
    {
        app::TOpenList &list = Job.List;
        switch (piece.Kind) {
        case TPiece::TKind::ColumnHeader: WriteColumnHeader(); break;
        case TPiece::TKind::Rows: WriteRows(piece); break;
        case TPiece::TKind::GroupHeader:
            list.ReadBreakRecord(Set, piece.Level, piece.First);
            WritePlainColumns(Layout.BandAt(Layout.ControlBreaks, piece.Level));
            break;
        case TPiece::TKind::Subtotal:
            list.ReadBreakRecord(Set, piece.Level, piece.First);
            WriteColumns(Layout.BandAt(Layout.Subtotals, piece.Level), false);
            break;
        }
    }

    void WritePageHeaders()
    {
        const formats::TPageContext &context = Job.Format.Context();
        WritePageHeaderLine(Layout.PageHeader, false, [&](const TCell &cell, std::size_t i) {
            return std::string_view(cell.Node.name()) == "firm" ? Fill(i) + Filled(cell, context.Firm) : cell.Text + Fill(i);
        });
        WritePageHeaderLine(Layout.PageHeader1, false, [&](const TCell &cell, std::size_t i) {
            const std::string_view name = cell.Node.name();
            if (name == "period") return Filled(cell, context.PeriodText) + Fill(i);
            if (name == "date") return Fill(i) + Filled(cell, context.DateText);
            return cell.Text + Fill(i);
        });
        // Here the fill follows invisible cells too.
        WritePageHeaderLine(Layout.PageHeader2, true, [&](const TCell &cell, std::size_t i) {
            return (std::string_view(cell.Node.name()) == "remark" ? Filled(cell, context.Remark) : cell.Text) + Fill(i);
        });
    }

    void WriteTotal() { WriteColumns(Layout.Total, false); }

    void WritePageFooter()
    {
        if (!Layout.PageFooter.Present) return;
        bool first = true;
        for (const TCell &cell : Layout.PageFooter.Cells) {
            if (!cell.Visible) continue;
            if (!first) Line += Separator;
            first = false;
            if (std::string_view(cell.Node.name()) == "listid") Line += Job.Format.Context().ListId;
        }
        EndLine();
    }

    std::string Out;   // encoded lines, CR LF each

    void WriteOutTo(platform::TStream &stream)
    {
        stream.WriteBuffer(Out.data(), Out.size());
        Out.clear();
    }

private:
    std::string Value(const TCell &cell) const { return formats::CellValue(cell.Source, Providers); }
    std::string Filled(const TCell &cell, const std::string &value) const
    {
        return formats::FillPlaceholder(cell.Text, value);
    }
    std::string Fill(std::size_t index) const
    {
        const int span = index < Layout.Spans.size() ? Layout.Spans[index] : 1;
        std::string fill;
        for (int i = 1; i < span; ++i) fill += Separator;
        return fill;
    }
    void SeparatorBefore(std::size_t index)
    {
        if (index > 0) Line += Separator;
    }

    // A separator before every cell after the first; an invisible cell is an
    // empty field, followed by its fill when fillInvisible.
    template <typename TText>
    void WritePageHeaderLine(const TBand &band, bool fillInvisible, TText text)
    {
        if (!band.Present) return;
        for (std::size_t i = 0; i < band.Cells.size(); ++i) {
            SeparatorBefore(i);
            if (band.Cells[i].Visible)
                Line += text(band.Cells[i], i);
            else if (fillInvisible)
                Line += Fill(i);
        }
        EndLine();
    }

    void WriteColumnHeader()
    {
        const TBand &header = Layout.Header;
        if (!header.Present) return;
        bool earlierVisible = false;
        for (std::size_t i = 0; i < header.Cells.size(); ++i) {
            const TCell &cell = header.Cells[i];
            if (earlierVisible) Line += Separator;
            if (!cell.Visible) continue;
            Line += cell.Text + Fill(i);
            earlierVisible = true;
        }
        EndLine();
        if (!Layout.HeaderHasSecondLine) return;
        for (std::size_t i = 0; i < header.Cells.size(); ++i) {
            const TCell &cell = header.Cells[i];
            SeparatorBefore(i);
            if (!cell.Visible || !cell.Group) continue;
            for (std::size_t s = 0; s < cell.VisibleSubcells.size(); ++s) {
                if (s > 0) Line += Separator;
                Line += cell.VisibleSubcells[s].Text;
            }
        }
        EndLine();
    }

    void WriteRows(const TPiece &piece)
    {
        app::TOpenList &list = Job.List;
        const bool detailRows = piece.Level >= list.LevelCount();
        for (std::int64_t j = 0; j < piece.Count; ++j) {
            const std::int64_t position = piece.First + j;
            if (detailRows) {
                list.ReadItemRecord(Set, position - 1);
                if (list.IsDetailed()) {
                    WritePlainColumns(Layout.Item);
                } else {
                    Values.CurrentRecordNumber = position;
                    WriteColumns(Layout.Item, false);
                }
            } else {
                list.ReadBreakRecord(Set, piece.Level, position);
                WriteColumns(Layout.Item, true);
            }
        }
    }

    // Every cell one field, group columns not expanded: detail rows of
    // detailed lists and group header lines.
    void WritePlainColumns(const TBand &band)
    {
        if (!band.Present) return;
        for (std::size_t i = 0; i < band.Cells.size(); ++i) {
            SeparatorBefore(i);
            const TCell &cell = band.Cells[i];
            if (cell.Visible) AppendFilled(cell);
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
                AppendFilled(cell);
                continue;
            }
            for (std::size_t s = 0; s < cell.VisibleSubcells.size(); ++s) {
                if (s > 0) Line += Separator;
                AppendFilled(cell.VisibleSubcells[s]);
            }
        }
        EndLine();
    }

    void AppendFilled(const TCell &cell)
    {
        if (cell.Text.empty())
            Line += Value(cell);   // most data cells: the value as it is
        else
            Line += Filled(cell, Value(cell));
    }

    void EndLine()
    {
        platform::SystemCodePage().AppendEncoded(Out, Line);
        Out += "\r\n";
        Line.clear();
    }

    const TCsvLayout &Layout;
    const TOutputJob &Job;
    app::TListValues &Values;
    app::TReadSet &Set;
    const formats::TValueProviders Providers;
    const std::string &Separator;
    std::string Line;
};

// Rows per piece; lines per batch, the unit a thread takes at a time.
constexpr std::int64_t RowsPerPiece = 4096;
constexpr std::int64_t LinesPerBatch = 4096;

// Where each batch of pieces starts, with one more entry for the end.
std::vector<std::size_t> BatchStarts(const std::vector<TPiece> &pieces)
{
    std::vector<std::size_t> starts{0};
    std::int64_t lines = 0;
    for (std::size_t p = 0; p < pieces.size(); ++p) {
        lines += std::max<std::int64_t>(1, pieces[p].Count);
        if (lines >= LinesPerBatch) {
            starts.push_back(p + 1);
            lines = 0;
        }
    }
    if (starts.back() != pieces.size()) starts.push_back(pieces.size());
    return starts;
}

// The body on two threads: each formats whole batches of pieces through its
// own read set; the calling thread writes the batches in order, holding at
// most a few of them, so memory does not grow with the list.
class TParallelBody {
public:
    TParallelBody(const TCsvLayout &layout, const TOutputJob &job, const std::vector<TPiece> &pieces,
                  platform::TStream &out)
        : Layout(layout), Job(job), Pieces(pieces), Out(out), Starts(BatchStarts(pieces)), BatchCount(Starts.size() - 1),
          Results(Window)
    {
    }

    void Run(int workers)
    {
        std::vector<std::thread> threads;
        for (int w = 0; w < workers; ++w) threads.emplace_back([this] { Work(); });
        try {
            for (std::size_t batch = 0; batch < BatchCount; ++batch) {
                std::string text;
                {
                    std::unique_lock<std::mutex> lock(Mutex);
                    Changed.wait(lock, [&] { return Failure || Results[batch % Window].Ready; });
                    if (Failure) break;
                    text = std::move(Results[batch % Window].Text);
                    Results[batch % Window] = {};
                    Written = batch + 1;
                }
                Changed.notify_all();
                Out.WriteBuffer(text.data(), text.size());
            }
        } catch (...) {
            Fail(std::current_exception());
        }
        for (std::thread &t : threads) t.join();
        if (Failure) std::rethrow_exception(Failure);
    }

private:
    struct TResult {
        bool Ready = false;
        std::string Text;
    };
    static constexpr std::size_t Window = 4;

    void Work()
    {
        try {
            const std::unique_ptr<app::TReadSet> set = Job.List.NewReadSet();
            app::TListValues values = Job.Values.ForReadSet(*set);
            TLineWriter writer(Layout, Job, values);
            for (;;) {
                const std::size_t batch = Next++;
                if (batch >= BatchCount) return;
                {
                    std::unique_lock<std::mutex> lock(Mutex);
                    Changed.wait(lock, [&] { return Failure || batch < Written + Window; });
                    if (Failure) return;
                }
                writer.Out.clear();
                for (std::size_t p = Starts[batch]; p < Starts[batch + 1]; ++p) writer.WritePiece(Pieces[p]);
                {
                    std::lock_guard<std::mutex> lock(Mutex);
                    Results[batch % Window] = {true, std::move(writer.Out)};
                }
                Changed.notify_all();
            }
        } catch (...) {
            Fail(std::current_exception());
        }
    }

    void Fail(std::exception_ptr failure)
    {
        {
            std::lock_guard<std::mutex> lock(Mutex);
            if (!Failure) Failure = failure;
        }
        Changed.notify_all();
    }

    const TCsvLayout &Layout;
    const TOutputJob &Job;
    const std::vector<TPiece> &Pieces;
    platform::TStream &Out;
    const std::vector<std::size_t> Starts;
    const std::size_t BatchCount;
    std::atomic<std::size_t> Next{0};
    std::mutex Mutex;
    std::condition_variable Changed;
    std::vector<TResult> Results;
    std::size_t Written = 0;
    std::exception_ptr Failure;
};

void WriteBody(const TCsvLayout &layout, const TOutputJob &job, TLineWriter &writer, platform::TStream &out, int threads)
{
    const std::vector<TPiece> pieces = PiecesOf(job.Plan, RowsPerPiece);
    std::int64_t rows = 0;
    for (const TPiece &piece : pieces) rows += piece.Count;
    if (threads <= 0) threads = std::thread::hardware_concurrency() > 1 && rows > 2 * RowsPerPiece ? 2 : 1;
    if (threads > 1) {
        writer.WriteOutTo(out);
        TParallelBody(layout, job, pieces, out).Run(threads);
        return;
    }
    for (const TPiece &piece : pieces) {
        writer.WritePiece(piece);
        if (writer.Out.size() >= 1 << 20) writer.WriteOutTo(out);
    }
}

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

void WriteCsvFile(const std::string &target, const TOutputJob &job, int threads)
{
    const std::string separator =
        formats::SeparatorText(platform::AttributeText(job.Format.Root(), "columnseparator"));
    const TCsvLayout layout(job.Format, job.List.LevelCount(), separator);
    const TFormatSeparators separators(job.Format);
    platform::TFileStream file(target, platform::TFileStream::TMode::Create);
    TLineWriter writer(layout, job, job.Values);
    writer.WritePageHeaders();
    WriteBody(layout, job, writer, file, threads);
    writer.WriteTotal();
    writer.WritePageFooter();
    writer.WriteOutTo(file);
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
