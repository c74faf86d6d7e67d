#include "formats/FormatGeometryUnit.h"

#include "platform/XmlDocumentUnit.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <vector>

namespace formats {

namespace {

std::vector<pugi::xml_node> VisibleChildren(pugi::xml_node node)
{
    std::vector<pugi::xml_node> out;
    for (pugi::xml_node c : platform::ElementChildren(node))
        if (IsVisible(c)) out.push_back(c);
    return out;
}

pugi::xml_node PreviousElement(pugi::xml_node node)
{
    pugi::xml_node p = node.previous_sibling();
    while (p && p.type() != pugi::node_element) p = p.previous_sibling();
    return p;
}

pugi::xml_node NextElement(pugi::xml_node node)
{
    pugi::xml_node n = node.next_sibling();
    while (n && n.type() != pugi::node_element) n = n.next_sibling();
    return n;
}

void CopyAttribute(pugi::xml_node from, pugi::xml_node to, const char *name)
{
    if (pugi::xml_attribute a = from.attribute(name)) SetAttribute(to, name, a.value());
}

// Shares width out among the visible children in proportion to their
// weights; the last visible child takes the remainder so that rounding never
// leaves a gap at the right edge. `placed` runs after each child has its width.
void ShareOut(pugi::xml_node element, const std::function<long long(pugi::xml_node)> &weight,
              const std::function<void(pugi::xml_node)> &placed)
{
    const long long width = IntegerAttribute(element, "width");
    const std::vector<pugi::xml_node> cells = VisibleChildren(element);
    std::vector<long long> weights;
    long long total = 0;
    for (pugi::xml_node c : cells) {
        weights.push_back(weight(c));
        total += weights.back();
    }
    if (total == 0) return;
    long long x = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const long long w = i + 1 == cells.size() ? width - x : RoundHalfEven(weights[i] * width, total);
        SetAttribute(cells[i], "left", int(x));
        SetAttribute(cells[i], "width", int(w));
        x += w;
        if (placed) placed(cells[i]);
    }
}

void ScaleHorizontally(pugi::xml_node element, long long parentWidth, long long w0, long long w1)
{
    const long long l = IntegerAttribute(element, "left");
    const long long w = IntegerAttribute(element, "width");
    const long long oldParentWidth = IntegerAttribute(element.parent(), "width");
    const long long left = RoundHalfEven(l * w1, w0);
    // An element that reached its parent's right edge keeps reaching it.
    const long long width = l + w == oldParentWidth ? parentWidth - left : RoundHalfEven(w * w1, w0);
    SetAttribute(element, "left", int(left));
    for (pugi::xml_node c : platform::ElementChildren(element)) ScaleHorizontally(c, width, w0, w1);
    SetAttribute(element, "width", int(width));
}

void MoveColumnFollowers(pugi::xml_node cell)
{
    const pugi::xml_node parent = cell.parent();
    const bool inHeader = std::string_view(parent.name()) == "header" ||
                          std::string_view(parent.parent().name()) == "header";
    if (!inHeader) return;
    pugi::xml_node format = cell;
    while (format.parent().type() == pugi::node_element) format = format.parent();
    const pugi::xml_node page = PageOf(format);
    AlignAllColumns(format);
    SortCellsByIndex(page.child("item"));
    SortCellsByIndex(page.child("total"));
    for (int k = 0; k < ControlBreakCount(format); ++k) SortCellsByIndex(page.child(SubtotalBandName(k).c_str()));
}

}  // namespace

// ---- attribute access -------------------------------------------------------

std::string IntegerText(int value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void SetAttribute(pugi::xml_node node, const char *name, std::string_view value)
{
    pugi::xml_attribute a = node.attribute(name);
    if (!a) a = node.append_attribute(name);
    a.set_value(std::string(value).c_str());
}

void SetAttribute(pugi::xml_node node, const char *name, const char *value)
{
    SetAttribute(node, name, std::string_view(value));
}

void SetAttribute(pugi::xml_node node, const char *name, int value)
{
    SetAttribute(node, name, IntegerText(value));
}

void SetAttribute(pugi::xml_node node, const char *name, bool value)
{
    SetAttribute(node, name, std::string_view(value ? "True" : "False"));
}

int IntegerAttribute(pugi::xml_node node, const char *name, int fallback)
{
    const pugi::xml_attribute a = node.attribute(name);
    return a ? platform::TextToInteger(a.value()) : fallback;
}

bool IsVisible(pugi::xml_node node)
{
    const pugi::xml_attribute a = node.attribute("visible");
    return !a || platform::TextToBoolean(a.value());
}

bool IsGroupColumn(pugi::xml_node cell)
{
    const std::string_view name = cell.name();
    return (name == "T" || name.find('_') != std::string_view::npos) && platform::HasElementChildren(cell);
}

std::string TranslatedFixText(pugi::xml_node cell)
{
    return dictionary::SelectLanguagePart(platform::AttributeText(cell, "fixtext"));
}

pugi::xml_node PageOf(pugi::xml_node format)
{
    return format.child("page");
}

int ControlBreakCount(pugi::xml_node format)
{
    return std::max(0, IntegerAttribute(format, "controlbreaks"));
}

std::string SubtotalBandName(int level)
{
    return "subtotal_" + IntegerText(level);
}

std::string ControlBreakBandName(int level)
{
    return "controlbreak_" + IntegerText(level);
}

long long RoundHalfEven(long long numerator, long long denominator)
{
    long long q = numerator / denominator;
    long long r = numerator % denominator;
    if (r < 0) {
        // Floor division, so that the remainder is never negative.
        --q;
        r += denominator;
    }
    if (2 * r > denominator || (2 * r == denominator && q % 2 != 0)) ++q;
    return q;
}

// ---- column alignment ------------------------------------------------------

void AlignColumns(pugi::xml_node format, const char *band)
{
    const pugi::xml_node page = PageOf(format);
    const pugi::xml_node header = page.child("header");
    const pugi::xml_node target = page.child(band);
    if (!header || !target) return;
    int p = 0;
    for (pugi::xml_node h : platform::ElementChildren(header)) {
        if (pugi::xml_node t = target.child(h.name())) {
            for (const char *name : {"left", "width", "visible"}) CopyAttribute(h, t, name);
            SetAttribute(t, "index", p);
            int q = 0;
            for (pugi::xml_node s : platform::ElementChildren(t)) {
                if (pugi::xml_node hs = h.child(s.name())) {
                    for (const char *name : {"left", "width", "visible"}) CopyAttribute(hs, s, name);
                    SetAttribute(s, "index", q);
                }
                ++q;
            }
        }
        ++p;
    }
}

void AlignItemColumns(pugi::xml_node format) { AlignColumns(format, "item"); }
void AlignTotalColumns(pugi::xml_node format) { AlignColumns(format, "total"); }

void AlignSubtotalColumns(pugi::xml_node format, int level)
{
    AlignColumns(format, SubtotalBandName(level).c_str());
}

void AlignAllColumns(pugi::xml_node format)
{
    AlignItemColumns(format);
    AlignTotalColumns(format);
    for (int k = 0; k < ControlBreakCount(format); ++k) AlignSubtotalColumns(format, k);
}

// ---- sharing widths out -------------------------------------------------------

void DistributeByText(pugi::xml_node element, const TTextMeasure &measure)
{
    const auto weight = [&measure](pugi::xml_node c) -> long long {
        const TTextFont font = EffectiveFont(c);
        // Two characters of room besides the text itself.
        return measure.TextWidth(c.attribute("fixtext").value(), font) + measure.TextWidth("00", font);
    };
    ShareOut(element, weight, [&](pugi::xml_node c) { ShareOut(c, weight, nullptr); });
}

void DistributeHeaderByText(pugi::xml_node format, const TTextMeasure &measure)
{
    DistributeByText(PageOf(format).child("header"), measure);
}

void FitSubcells(pugi::xml_node element)
{
    ShareOut(
        element, [](pugi::xml_node c) -> long long { return IntegerAttribute(c, "width"); },
        [](pugi::xml_node c) { FitSubcells(c); });
}

void FitHeaderColumns(pugi::xml_node format)
{
    FitSubcells(PageOf(format).child("header"));
    AlignAllColumns(format);
}

// ---- rotation ----------------------------------------------------------------

void RotatePage(pugi::xml_node format)
{
    const pugi::xml_node page = PageOf(format);
    const bool landscape = std::string_view(format.attribute("orientation").value()) == "landscape";
    SetAttribute(format, "orientation", std::string_view(landscape ? "portrait" : "landscape"));

    const int sheetWidth = IntegerAttribute(format, "width");
    const int sheetHeight = IntegerAttribute(format, "height");
    const int top = IntegerAttribute(format, "topmargin");
    const int bottom = IntegerAttribute(format, "bottommargin");
    const int left = IntegerAttribute(format, "leftmargin");
    const int right = IntegerAttribute(format, "rightmargin");
    SetAttribute(format, "width", sheetHeight);
    SetAttribute(format, "height", sheetWidth);
    // The margins turn with the sheet.
    SetAttribute(format, "topmargin", left);
    SetAttribute(format, "leftmargin", top);
    SetAttribute(format, "bottommargin", right);
    SetAttribute(format, "rightmargin", bottom);
    const int newLeft = top, newRight = bottom, newTop = left, newBottom = right;

    const long long w0 = IntegerAttribute(page, "width");
    const long long w1 = sheetHeight - newLeft - newRight;
    SetAttribute(page, "left", newLeft);
    if (w0 > 0) {
        std::vector<std::string> bands = {"pageheader", "pageheader1", "header", "item", "total", "pagefooter"};
        for (int k = 0; k < ControlBreakCount(format); ++k) {
            bands.push_back(ControlBreakBandName(k));
            bands.push_back(SubtotalBandName(k));
        }
        for (const std::string &name : bands)
            if (pugi::xml_node band = page.child(name.c_str())) ScaleHorizontally(band, w1, w0, w1);
    }
    SetAttribute(page, "width", int(w1));
    SetAttribute(page, "top", newTop);
    const int pageHeight = sheetWidth - newTop - newBottom;
    SetAttribute(page, "height", pageHeight);
    if (pugi::xml_node footer = page.child("pagefooter"))
        SetAttribute(footer, "top", pageHeight - IntegerAttribute(footer, "height"));
}

// ---- moving and sorting ------------------------------------------------------

void MoveColumnLeft(pugi::xml_node cell)
{
    const pugi::xml_node previous = PreviousElement(cell);
    if (!previous) return;
    SetAttribute(cell, "left", IntegerAttribute(previous, "left"));
    SetAttribute(previous, "left", IntegerAttribute(cell, "left") + IntegerAttribute(cell, "width"));
    pugi::xml_node parent = cell.parent();
    parent.insert_copy_after(previous, cell);
    parent.remove_child(previous);
    MoveColumnFollowers(cell);
}

void MoveColumnRight(pugi::xml_node cell)
{
    const pugi::xml_node next = NextElement(cell);
    if (!next) return;
    SetAttribute(next, "left", IntegerAttribute(cell, "left"));
    SetAttribute(cell, "left", IntegerAttribute(next, "left") + IntegerAttribute(next, "width"));
    pugi::xml_node parent = cell.parent();
    parent.insert_copy_before(next, cell);
    parent.remove_child(next);
    MoveColumnFollowers(cell);
}

void SortCellsByIndex(pugi::xml_node element)
{
    if (!element) return;
    std::vector<pugi::xml_node> cells = platform::ElementChildren(element);
    struct TKey { int Index, Left; };
    std::vector<std::pair<TKey, pugi::xml_node>> keyed;
    for (pugi::xml_node c : cells) keyed.push_back({{IntegerAttribute(c, "index", -1), IntegerAttribute(c, "left")}, c});
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto &a, const auto &b) {
        if (a.first.Index != b.first.Index) return a.first.Index < b.first.Index;
        return a.first.Left < b.first.Left;
    });
    for (auto &[key, c] : keyed) {
        SortCellsByIndex(c);
        element.append_copy(c);
        element.remove_child(c);
    }
}

// ---- placement -----------------------------------------------------------------

dictionary::TRect GetAbsoluteRect(pugi::xml_node element)
{
    dictionary::TRect r;
    const std::string_view name = element.name();
    if (name == "page") {
        r.Left = IntegerAttribute(element, "left");
        r.Top = IntegerAttribute(element, "top");
    } else if (name != "listformat" && element.parent().type() == pugi::node_element) {
        const dictionary::TRect parent = GetAbsoluteRect(element.parent());
        r.Left = parent.Left + IntegerAttribute(element, "left");
        r.Top = parent.Top + IntegerAttribute(element, "top");
    }
    r.Right = r.Left + IntegerAttribute(element, "width");
    r.Bottom = r.Top + IntegerAttribute(element, "height");
    return r;
}

}  // namespace formats
