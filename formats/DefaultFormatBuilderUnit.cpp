#include "formats/DefaultFormatBuilderUnit.h"

#include "formats/FormatGeometryUnit.h"
#include "formats/ListFormatModuleUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <algorithm>

namespace formats {

namespace {

constexpr int kMargin = 100;
constexpr int kSummaryHeight = 100;    // control-break, subtotal and total bands
constexpr int kFooterHeight = 50;
constexpr int kExcelHeaderBackground = 15790320;   // light grey

enum class TZoneRow { Header, Item, Summary };

struct TSubcell {
    const char *Prefix;
    const char *Name;
    const char *FixText;
    bool Visible;
    int DataType;
    int Decimals;
};

// The quantities of one zone column group, in column order. The ring time
// has its own label; it used to repeat the duration's.
const TSubcell kSubcells[] = {
    {"PIECE_", "_piece", "db.|pcs.", true, 4, 0},
    {"IMPULSE_", "_impulse", "imp.|imp.", false, 4, 0},
    {"DURATION_", "_duration", "időt.|dur.", false, 3, 0},
    {"COST_", "_cost", "ár|cost", true, 5, 2},
    {"READINCOST_", "_readincost", "beolv.|read.", false, 5, 2},
    {"CALCDUR_", "_calcdur", "szám.időt.|calc.dur.", false, 3, 0},
    {"RINGTIME_", "_ringtime", "csöng.|ring", false, 3, 0},
};

// Number format of an Excel item column by its field identifier.
struct TExcelItemFormat {
    int Horizontal, Vertical, DataType, Decimals;
};

TExcelItemFormat ExcelItemFormat(std::string_view id)
{
    if (id == "IMPULSE") return {2, 1, 4, 0};
    if (id == "ITIME" || id == "DURATION" || id == "RINGTIME" || id == "CALCDUR") return {2, 1, 3, 0};
    if (id == "PRICE" || id == "READINPRICE") return {2, 1, 5, 2};
    if (id == "STRDATE") return {1, 1, 2, 0};
    return {0, 1, 1, 0};
}

void SetNumberFormat(pugi::xml_node cell, const TExcelItemFormat &f)
{
    SetAttribute(cell, "horizontalalignment", f.Horizontal);
    SetAttribute(cell, "verticalalignment", f.Vertical);
    SetAttribute(cell, "datatype", f.DataType);
    SetAttribute(cell, "decimals", f.Decimals);
}

void SetExcelHeaderLook(pugi::xml_node cell)
{
    SetAttribute(cell, "horizontalalignment", 1);
    SetAttribute(cell, "verticalalignment", 1);
    for (const char *side : {"leftvisible", "topvisible", "rightvisible", "bottomvisible"}) SetAttribute(cell, side, true);
    for (const char *side : {"leftwidth", "topwidth", "rightwidth", "bottomwidth"}) SetAttribute(cell, side, 2);
    for (const char *side : {"leftcolor", "topcolor", "rightcolor", "bottomcolor"}) SetAttribute(cell, side, 0);
    SetAttribute(cell, "backgroundcolor", kExcelHeaderBackground);
    SetAttribute(cell, "fontname", std::string_view("Calibri"));
    SetAttribute(cell, "fontsize", 11);
    SetAttribute(cell, "fontcolor", 0);
    SetAttribute(cell, "fontbold", true);
    SetAttribute(cell, "fontitalic", false);
    SetAttribute(cell, "fontunderline", false);
}

// A boolean attribute of the list type; missing or unreadable counts as false.
bool IsTrue(pugi::xml_node node, const char *name)
{
    const pugi::xml_attribute a = node.attribute(name);
    if (!a) return false;
    try {
        return platform::TextToBoolean(a.value());
    } catch (const platform::TConversionError &) {
        return false;
    }
}

// A plain column holds a field of its own; "T" and the "S_" zone groups and
// counters do not.
bool IsPlainColumn(std::string_view name)
{
    return name != "T" && name.find('_') == std::string_view::npos;
}

}  // namespace

// Values of one band or cell; print formats write all of them, CSV and Excel
// formats only visible, fixtext, fieldid and name.
struct TDefaultFormatBuilder::TCell {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    std::string FontName = "Times New Roman";
    int FontSize = 10;
    dictionary::TFontStyles Styles = 0;
    bool ParentFont = true;
    bool Frames = false;
    int PenWidth = 0;
    bool Visible = true;
    std::string FixText, FieldId;
    int Alignment = -1;   // -1: no alignment attribute
    std::string Name;
};

TDefaultFormatBuilder::TDefaultFormatBuilder(TListFormatModule &module) : Module(module) {}

// ---- look-ups -------------------------------------------------------------

pugi::xml_node TDefaultFormatBuilder::ListTypeRoot() const
{
    return Module.ListType().ListType.Document().child("listtype");
}

pugi::xml_node TDefaultFormatBuilder::BreakLevel(int level) const
{
    return platform::ElementChild(ListTypeRoot().child("controlbreaks"), level);
}

std::string TDefaultFormatBuilder::TitleKey(std::string_view id) const
{
    return Module.ListFields().FieldTitle(id, Kind);
}

std::vector<std::string> TDefaultFormatBuilder::VisibleBreakIds(int level) const
{
    std::vector<std::string> ids;
    for (pugi::xml_node column : platform::ElementChildren(BreakLevel(level)))
        if (IsTrue(column, "visible")) ids.push_back(column.attribute("id").value());
    return ids;
}

std::string TDefaultFormatBuilder::FirstBreakId(int level) const
{
    const pugi::xml_node first = platform::ElementChildren(BreakLevel(level)).empty() ? pugi::xml_node() : platform::ElementChildren(BreakLevel(level))[0];
    return first.attribute("id").value();
}

std::vector<TDefaultFormatBuilder::TZone> TDefaultFormatBuilder::IncludedZones() const
{
    const bool statistics = Kind == "statistics";
    const pugi::xml_node root = ListTypeRoot();
    std::vector<TZone> zones;
    const pugi::xml_node fields = Module.ListFields().ListFields.Document().child("fields");
    for (pugi::xml_node zone : platform::ElementChildren(fields.child("summarizedzones"))) {
        const std::string code = zone.attribute("code").value();
        if (!statistics || IsTrue(root, ("code" + code).c_str())) zones.push_back({code, zone.attribute("title").value()});
    }
    if (!statistics || IsTrue(root, "codeT")) zones.push_back({"T", "_Total"});
    return zones;
}

// ---- element writers ---------------------------------------------------------

pugi::xml_node TDefaultFormatBuilder::AddCell(pugi::xml_node parent, const char *element, const TCell &c)
{
    pugi::xml_node node = parent.append_child(element);
    if (!Print) {
        SetAttribute(node, "visible", c.Visible);
        SetAttribute(node, "fixtext", c.FixText);
        SetAttribute(node, "fieldid", c.FieldId);
        SetAttribute(node, "name", c.Name);
        return node;
    }
    SetAttribute(node, "left", c.Left);
    SetAttribute(node, "top", c.Top);
    SetAttribute(node, "width", c.Width);
    SetAttribute(node, "height", c.Height);
    SetAttribute(node, "fontname", c.FontName);
    SetAttribute(node, "fontsize", c.FontSize);
    SetAttribute(node, "fontcolor", 0);
    SetAttribute(node, "fontstyles", dictionary::FontStyleToWords(c.Styles));
    SetAttribute(node, "parentfont", c.ParentFont);
    for (const char *side : {"leftframe", "rightframe", "topframe", "bottomframe"}) SetAttribute(node, side, c.Frames);
    SetAttribute(node, "penwidth", c.PenWidth);
    SetAttribute(node, "pencolor", 0);
    SetAttribute(node, "brushcolor", 16777215);
    SetAttribute(node, "isbackground", false);
    SetAttribute(node, "visible", c.Visible);
    SetAttribute(node, "margin", 2);
    SetAttribute(node, "fixtext", c.FixText);
    SetAttribute(node, "fieldid", c.FieldId);
    if (c.Alignment >= 0) SetAttribute(node, "alignment", c.Alignment);
    SetAttribute(node, "name", c.Name);
    SetAttribute(node, "expanded", false);
    return node;
}

pugi::xml_node TDefaultFormatBuilder::AddInserted(pugi::xml_node parent)
{
    TCell c;
    c.FieldId = "inserted";
    c.Name = "_Inserted";
    return AddCell(parent, "inserted", c);
}

pugi::xml_node TDefaultFormatBuilder::AddBand(pugi::xml_node page, const std::string &element, TCell band)
{
    band.Width = PageWidth;
    return AddCell(page, element.c_str(), band);
}

// ---- the whole format -------------------------------------------------------------

void TDefaultFormatBuilder::Build(int level)
{
    Level = std::max(0, level);
    const std::string formatType = Module.FormatType();
    Print = formatType != "csv" && formatType != "excel";
    Excel = formatType == "excel";
    Kind = Module.ListType().ListKind();
    DetailedAtZero = Kind == "detailed" && Level == 0;
    const pugi::xml_node breaks = ListTypeRoot().child("controlbreaks");
    BreakCount = breaks ? platform::ElementChildCount(breaks) : 0;
    KeptBreaks = std::max(0, BreakCount - Level);

    Module.NewFormat();
    Root = Module.Format.Root();
    SetAttribute(Root, "level", Level);
    SetAttribute(Root, "title", std::string_view(ListTypeRoot().attribute("title").value()));
    SetAttribute(Root, "controlbreaks", KeptBreaks);
    if (Print) {
        const bool portrait = Level == 0 && (Kind == "detailed" || Kind == "statistics");
        Module.SetOrientation(portrait ? "portrait" : "landscape");
        BuildPageFrame();
    } else {
        BuildCsvHeaderBands();
    }
    BuildControlBreaks();
    BuildHeaderAndItem();
    BuildSubtotals();
    BuildTotal();
    BuildPageFooter();
}

void TDefaultFormatBuilder::BuildPageFrame()
{
    for (const char *margin : {"topmargin", "bottommargin", "leftmargin", "rightmargin"}) SetAttribute(Root, margin, kMargin);
    PageWidth = IntegerAttribute(Root, "width") - 2 * kMargin;
    const int pageHeight = IntegerAttribute(Root, "height") - 2 * kMargin;
    Page = Root.append_child("page");
    SetAttribute(Page, "left", kMargin);
    SetAttribute(Page, "top", kMargin);
    SetAttribute(Page, "width", PageWidth);
    SetAttribute(Page, "height", pageHeight);
    SetAttribute(Page, "fontname", std::string_view("Times New Roman"));
    SetAttribute(Page, "fontsize", 10);
    SetAttribute(Page, "fontcolor", 0);
    SetAttribute(Page, "fontstyles", std::string_view(""));
    SetAttribute(Page, "parentfont", false);
    SetAttribute(Page, "visible", true);
    SetAttribute(Page, "name", std::string_view("_ParamsOfPage"));

    const int half = PageWidth / 2;
    TCell band;
    band.Height = 300;
    band.Name = "_PageHeader";
    const pugi::xml_node header = AddBand(Page, "pageheader", band);
    const auto headerCell = [&](pugi::xml_node parent, const char *element, int left, int width, int top, int alignment,
                                const char *fixText, const char *name) {
        TCell c;
        c.Left = left;
        c.Width = width;
        c.Top = top;
        c.Height = 100;
        c.Styles = dictionary::fsBold;
        c.ParentFont = false;
        c.FixText = fixText;
        c.FieldId = element;
        c.Alignment = alignment;
        c.Name = name;
        return AddCell(parent, element, c);
    };
    headerCell(header, "firm", half, half, 0, 6, "", "_FirmName");
    headerCell(header, "date", 0, half, 200, 4, "A lista készült: %|List is produced: %", "_DateOfListing");
    headerCell(header, "pagenumber", half, half, 200, 6, "%. oldal|Page: %", "_PageNumber");

    band.Top = 300;
    band.Name = "_PageHeader1";
    const pugi::xml_node header1 = AddBand(Page, "pageheader1", band);
    SetAttribute(header1, "firstpageonly", false);
    SetAttribute(headerCell(header1, "title", 0, PageWidth, 0, 5, "", "_TitleOfList"), "fontsize", 20);
    headerCell(header1, "period", 0, PageWidth, 100, 5, "Listázási időszak: %|Listing period: %", "_ListingPeriod");
    headerCell(header1, "remark", 0, PageWidth, 200, 5, "Megjegyzés: %|Remark: %", "_Remark");
}

void TDefaultFormatBuilder::BuildCsvHeaderBands()
{
    Page = Root.append_child("page");
    SetAttribute(Page, "visible", true);
    SetAttribute(Page, "name", std::string_view("_ParamsOfPage"));
    const auto cell = [&](pugi::xml_node band, const char *element, const std::string &fixText, const char *name) {
        TCell c;
        c.FixText = fixText;
        c.FieldId = element;
        c.Name = name;
        return AddCell(band, element, c);
    };
    const auto band = [&](const char *element, const char *fieldId, const char *name) {
        TCell b;
        b.FieldId = fieldId;
        b.Name = name;
        pugi::xml_node node = AddCell(Page, element, b);
        // The leading place keeps these lines in step with the detailed
        // list's first column, which holds the counters.
        if (DetailedAtZero) AddInserted(node);
        return node;
    };

    const pugi::xml_node header = band("pageheader", "", "_PageHeader");
    const pugi::xml_node title = cell(header, "title", ListTypeRoot().attribute("title").value(), "_TitleOfList");
    if (Excel) {
        SetAttribute(title, "fontname", std::string_view("Times New Roman"));
        SetAttribute(title, "fontsize", 24);
        SetAttribute(title, "fontbold", true);
        SetAttribute(title, "fontitalic", false);
        SetAttribute(title, "fontunderline", false);
    }
    AddInserted(header);
    cell(header, "firm", "A cég neve: %|Firm name: %", "_FirmName");

    const pugi::xml_node header1 = band("pageheader1", "pageheader1", "_PageHeader1");
    cell(header1, "period", "Listázási időszak: %|Listing period: %", "_ListingPeriod");
    AddInserted(header1);
    cell(header1, "date", "A lista készült: %|List is produced: %", "_DateOfListing");

    const pugi::xml_node header2 = band("pageheader2", "pageheader2", "_PageHeader2");
    cell(header2, "remark", "Megjegyzés: %|Remark: %", "_Remark");
}

void TDefaultFormatBuilder::BuildControlBreaks()
{
    dictionary::TLanguageModule &language = Module.Language();
    for (int k = 0; k < KeptBreaks; ++k) {
        TCell b;
        b.Height = kSummaryHeight;
        b.Styles = dictionary::fsBold;
        b.ParentFont = false;
        b.PenWidth = 2;
        b.Name = "_Controlbreak";
        const pugi::xml_node band = AddBand(Page, ControlBreakBandName(k), b);
        if (Print) {
            SetAttribute(band, "newpage", false);
            SetAttribute(band, "repeatonnewpage", true);
        } else if (DetailedAtZero) {
            AddInserted(band);
        }
        const std::vector<std::string> ids = VisibleBreakIds(k);
        const int width = ids.empty() ? 0 : int(RoundHalfEven(PageWidth, static_cast<long long>(ids.size())));
        for (std::size_t i = 0; i < ids.size(); ++i) {
            const std::string key = TitleKey(ids[i]);
            TCell c;
            c.Left = int(i) * width;
            c.Width = width;
            c.Height = b.Height;
            c.PenWidth = 2;
            c.FixText = language.TitleWithValue(key);
            c.FieldId = ids[i];
            c.Alignment = 4;
            c.Name = key;
            const pugi::xml_node cell = AddCell(band, ids[i].c_str(), c);
            if (Excel) {
                SetAttribute(cell, "horizontalalignment", 0);
                SetAttribute(cell, "verticalalignment", 1);
            }
        }
    }
}

void TDefaultFormatBuilder::AddColumnPair(pugi::xml_node header, pugi::xml_node item, const std::string &id)
{
    const std::string key = TitleKey(id);
    TCell h;
    h.Height = HeaderHeight;
    h.Frames = true;
    h.PenWidth = 2;
    h.FixText = Module.Language().AllLanguagesTitle(key);
    h.FieldId = id;
    h.Alignment = 5;
    h.Name = key;
    const pugi::xml_node headerCell = AddCell(header, id.c_str(), h);
    TCell i;
    i.Height = ItemHeight;
    i.FieldId = id;
    i.Alignment = Module.ListFields().FieldAlignment(id, Kind) | model::dtVCenter;
    i.Name = key;
    const pugi::xml_node itemCell = AddCell(item, id.c_str(), i);
    if (Excel) {
        SetExcelHeaderLook(headerCell);
        SetNumberFormat(itemCell, ExcelItemFormat(id));
    }
}

void TDefaultFormatBuilder::AddZoneGroups(pugi::xml_node header, pugi::xml_node item)
{
    dictionary::TLanguageModule &language = Module.Language();
    for (const TZone &zone : IncludedZones()) {
        const std::string groupName = zone.Code == "T" ? "T" : "S_" + zone.Code;
        TCell g;
        g.Height = HeaderHeight;
        g.Frames = true;
        g.PenWidth = 2;
        g.FieldId = zone.Code;
        g.Alignment = 1;
        g.FixText = language.AllLanguagesTitle(zone.Title);
        g.Name = zone.Title;
        const pugi::xml_node headerGroup = AddCell(header, groupName.c_str(), g);
        g.Frames = false;
        g.PenWidth = 0;
        g.Alignment = 5;
        g.FixText.clear();
        g.Height = ItemHeight;
        const pugi::xml_node itemGroup = AddCell(item, groupName.c_str(), g);
        if (Excel) SetExcelHeaderLook(headerGroup);
        for (const TSubcell &s : kSubcells) {
            const std::string name = s.Prefix + zone.Code;
            TCell h;
            h.Top = HeaderHeight / 2;
            h.Height = HeaderHeight - h.Top;
            h.Frames = true;
            h.PenWidth = 2;
            h.Alignment = 5;
            h.Visible = s.Visible;
            h.FixText = zone.Code == "T" && std::string_view(s.Prefix) == "IMPULSE_" ? "imp..|imp." : s.FixText;
            h.FieldId = name;
            h.Name = s.Name;
            const pugi::xml_node headerCell = AddCell(headerGroup, name.c_str(), h);
            TCell i = h;
            i.Top = 0;
            i.Height = ItemHeight;
            i.Frames = false;
            i.Alignment = 6;
            i.FixText.clear();
            const pugi::xml_node itemCell = AddCell(itemGroup, name.c_str(), i);
            if (Excel) {
                SetExcelHeaderLook(headerCell);
                SetNumberFormat(itemCell, {2, 1, s.DataType, s.Decimals});
            }
        }
    }
}

void TDefaultFormatBuilder::BuildHeaderAndItem()
{
    HeaderHeight = DetailedAtZero ? 50 : 100;
    TCell b;
    b.Height = HeaderHeight;
    b.Styles = dictionary::fsBold;
    b.ParentFont = false;
    b.Frames = true;
    b.PenWidth = 2;
    b.Name = "_Header";
    const pugi::xml_node header = AddBand(Page, "header", b);
    TCell i;
    i.Height = ItemHeight;
    i.ParentFont = false;
    i.Name = "_Item";
    const pugi::xml_node item = AddBand(Page, "item", i);

    if (Level == 0) {
        if (DetailedAtZero && !Print) {
            AddInserted(header);
            AddInserted(item);
        }
        if (Kind == "statistics") {
            TCell h;
            h.Height = HeaderHeight;
            h.Frames = true;
            h.PenWidth = 2;
            h.FixText = "Megnevezés|Naming";
            h.FieldId = "CLASS";
            h.Alignment = 5;
            h.Name = "_ClassNaming";
            const pugi::xml_node headerCell = AddCell(header, "CLASS", h);
            TCell c = h;
            c.Height = ItemHeight;
            c.Frames = false;
            c.PenWidth = 0;
            c.FixText.clear();
            const pugi::xml_node itemCell = AddCell(item, "CLASS", c);
            if (Excel) {
                SetExcelHeaderLook(headerCell);
                SetNumberFormat(itemCell, ExcelItemFormat("CLASS"));
            }
        } else {
            for (pugi::xml_node column : platform::ElementChildren(ListTypeRoot().child("columns")))
                AddColumnPair(header, item, column.attribute("id").value());
        }
        if (Kind != "detailed") AddZoneGroups(header, item);
    } else {
        // The item rows are the groups of the innermost summarized level.
        const int summarized = BreakCount - Level;
        if (summarized >= 0) {
            const std::vector<std::string> ids = VisibleBreakIds(summarized);
            if (!ids.empty()) AddColumnPair(header, item, ids.front());
        }
        AddZoneGroups(header, item);
    }
    if (Print) {
        DistributeHeaderByText(Root, Module.TextMeasure());
        AlignItemColumns(Root);
    }
}

void TDefaultFormatBuilder::AddSummaryZoneGroups(pugi::xml_node band)
{
    const int height = IntegerAttribute(band, "height");
    for (const TZone &zone : IncludedZones()) {
        TCell g;
        g.Height = height;
        g.FieldId = zone.Code;
        g.Alignment = 5;
        g.Name = zone.Title;
        const pugi::xml_node group = AddCell(band, zone.Code == "T" ? "T" : ("S_" + zone.Code).c_str(), g);
        for (const TSubcell &s : kSubcells) {
            const std::string name = s.Prefix + zone.Code;
            TCell c;
            c.Height = height;
            c.PenWidth = 2;
            c.Alignment = 6;
            c.Visible = s.Visible;
            c.FieldId = name;
            c.Name = s.Name;
            const pugi::xml_node cell = AddCell(group, name.c_str(), c);
            if (!Print) SetNumberFormat(cell, {2, 1, s.DataType, s.Decimals});
        }
    }
}

// The counter or name cell `lead`, then what stands under the header columns.
void TDefaultFormatBuilder::AddSummaryCells(pugi::xml_node band, TCell lead)
{
    const pugi::xml_node page = Page;
    const pugi::xml_node header = page.child("header");
    const pugi::xml_node item = page.child("item");
    const std::string element = lead.FieldId;
    AddCell(band, element.c_str(), lead);
    const std::vector<pugi::xml_node> columns = platform::ElementChildren(header);
    if (DetailedAtZero) {
        // Print: the summable columns where the header has them. CSV and
        // Excel: one place per header column after the first, which the
        // counter takes.
        for (std::size_t p = Print ? 0 : 1; p < columns.size(); ++p) {
            const std::string name = columns[p].name();
            if (!Module.ListFields().FieldSummable(name, Kind)) {
                if (!Print) AddInserted(band);
                continue;
            }
            TCell c;
            c.Left = IntegerAttribute(columns[p], "left");
            c.Width = IntegerAttribute(columns[p], "width");
            c.Height = IntegerAttribute(band, "height");
            c.PenWidth = 2;
            c.FieldId = name;
            c.Alignment = IntegerAttribute(item.child(name.c_str()), "alignment");
            c.Name = TitleKey(name);
            AddCell(band, name.c_str(), c);
        }
        return;
    }
    if (!Print) {
        // The name cell stands in the first plain column, as the counter does
        // in a detailed list; so the zone fields stay under their headings.
        const auto plain = std::count_if(columns.begin(), columns.end(),
                                         [](pugi::xml_node c) { return IsPlainColumn(c.name()); });
        for (long i = 1; i < plain; ++i) AddInserted(band);
    }
    AddSummaryZoneGroups(band);
}

void TDefaultFormatBuilder::BuildSubtotals()
{
    if (Kind == "statistics" && Level == 0) return;
    dictionary::TLanguageModule &language = Module.Language();
    for (int k = KeptBreaks - 1; k >= 0; --k) {
        TCell b;
        b.Height = kSummaryHeight;
        b.Styles = dictionary::fsBold;
        b.ParentFont = false;
        b.PenWidth = 2;
        b.Name = "_Subtotal";
        const pugi::xml_node band = AddBand(Page, SubtotalBandName(k), b);
        const std::string key = TitleKey(FirstBreakId(k));
        AddSummaryCells(band, SummaryLeadCell(b.Height, "subtotalname",
                                              DetailedAtZero ? language.SubtotalCountLabel(key, "_pcs")
                                                             : language.SubtotalLabel(key)));
        if (Print && !DetailedAtZero) AlignSubtotalColumns(Root, k);
    }
}

// The first cell of a subtotal or total band: the record counter in
// detailed lists at level 0, otherwise the band's name cell (nameField).
TDefaultFormatBuilder::TCell TDefaultFormatBuilder::SummaryLeadCell(int height, const std::string &nameField,
                                                                    const std::string &fixText) const
{
    TCell lead;
    lead.Height = height;
    lead.FixText = fixText;
    if (DetailedAtZero) {
        lead.Width = 260;
        lead.PenWidth = 2;
        lead.FieldId = "counter";
        lead.Alignment = 6;
        lead.Name = "_counter";
    } else {
        lead.Width = 350;
        lead.FieldId = nameField;
        lead.Alignment = 4;
        lead.Name = "_" + nameField;
    }
    return lead;
}

void TDefaultFormatBuilder::BuildTotal()
{
    TCell b;
    b.Height = kSummaryHeight;
    b.Styles = dictionary::fsBold;
    b.ParentFont = false;
    b.FieldId = "total";
    b.Alignment = 5;
    b.Name = "_total";
    const pugi::xml_node band = AddBand(Page, "total", b);
    AddSummaryCells(band, SummaryLeadCell(b.Height, "totalname",
                                          DetailedAtZero ? "Összesen: % db|List total: % pcs"
                                                         : "Lista összesen:|List total:"));
    if (Print && !DetailedAtZero) AlignTotalColumns(Root);
}

void TDefaultFormatBuilder::BuildPageFooter()
{
    TCell b;
    b.Height = kFooterHeight;
    b.FontSize = 6;
    b.ParentFont = false;
    b.FieldId = "pagefooter";
    b.Alignment = 5;
    b.Name = "_PageFooter";
    if (Print) b.Top = IntegerAttribute(Page, "height") - kFooterHeight;
    const pugi::xml_node footer = AddBand(Page, "pagefooter", b);
    const int half = PageWidth / 2;
    TCell c;
    c.Height = kFooterHeight;
    if (Print) {
        c.Width = half;
        c.FixText = "Tételszám: # Oldalszám: %/@|Items: # Page: %/@";
        c.FieldId = "pageinfo";
        c.Alignment = 4;
        c.Name = "_PageInfo";
        AddCell(footer, "pageinfo", c);
    } else if (DetailedAtZero) {
        AddInserted(footer);
    }
    c.Left = half;
    c.Width = half;
    c.FixText.clear();
    c.FieldId = "listid";
    c.Alignment = 6;
    c.Name = "_ListId";
    AddCell(footer, "listid", c);
}

}  // namespace formats
