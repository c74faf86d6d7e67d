#include "formats/CellValueUnit.h"

#include "formats/FormatGeometryUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <algorithm>
#include <array>

namespace formats {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

std::string Ask(const std::function<std::string(const std::string &)> &provider, const std::string &name)
{
    return provider ? provider(name) : MissingValueText;
}

std::string Ask(const std::function<std::string(int, const std::string &)> &provider, int level,
                const std::string &name)
{
    return provider ? provider(level, name) : MissingValueText;
}

int LevelAfter(std::string_view bandName, std::string_view prefix)
{
    return platform::TextToInteger(bandName.substr(prefix.size()));
}

bool NamesCounter(std::string_view name)
{
    static constexpr std::array<std::string_view, 7> counters = {"PIECE_",   "IMPULSE_", "DURATION_", "COST_",
                                                                 "READINCOST_", "RINGTIME_", "CALCDUR_"};
    return std::any_of(counters.begin(), counters.end(),
                       [&](std::string_view counter) { return name.find(counter) != std::string_view::npos; });
}

// Stands for a literal "%" while the placeholder is looked for.
constexpr char PercentMarker = '\x01';

}  // namespace

TCellSource ResolveCellSource(pugi::xml_node element)
{
    using TKind = TCellSource::TKind;
    const std::string name = element.name();
    const std::string_view parent = element.parent().name();
    const std::string_view grandparent = element.parent().parent().name();
    const bool leaf = !platform::HasElementChildren(element);

    // Its text in the current language: the whole "a|b" text would show every
    // language at once.
    if (name == "inserted")
        return {TKind::Fixed, 0, TranslatedFixText(element)};
    if ((parent == "item" || grandparent == "item") && leaf) return {TKind::Item, 0, name};
    if (StartsWith(parent, "controlbreak_")) return {TKind::ControlBreak, LevelAfter(parent, "controlbreak_"), name};
    if ((StartsWith(parent, "subtotal_") || StartsWith(grandparent, "subtotal_")) && leaf && name != "subtotalname") {
        const std::string_view band = StartsWith(parent, "subtotal_") ? parent : grandparent;
        return {TKind::Subtotal, LevelAfter(band, "subtotal_"), name};
    }
    if ((parent == "total" || grandparent == "total") && leaf && name != "totalname") return {TKind::Total, 0, name};
    if (NamesCounter(name) && grandparent != "header") return {TKind::Item, 0, name};
    return {};
}

std::string CellValue(const TCellSource &source, const TValueProviders &providers)
{
    using TKind = TCellSource::TKind;
    switch (source.Kind) {
    case TKind::None: return "";
    case TKind::Fixed: return source.Name;
    case TKind::Item: return Ask(providers.Item, source.Name);
    case TKind::ControlBreak: return Ask(providers.ControlBreak, source.Level, source.Name);
    case TKind::Subtotal: return Ask(providers.Subtotal, source.Level, source.Name);
    case TKind::Total: return Ask(providers.Total, source.Name);
    }
    return "";
}

std::string GetCellValue(pugi::xml_node element, const TValueProviders &providers)
{
    return CellValue(ResolveCellSource(element), providers);
}

std::string FillPlaceholder(std::string_view fixedText, std::string_view value)
{
    if (fixedText.empty()) return std::string(value);   // most data cells
    std::string text(fixedText);
    if (const std::size_t escaped = text.find("%%"); escaped != std::string::npos)
        text = text.substr(0, escaped) + PercentMarker + text.substr(escaped + 2, 255);
    std::string result;
    if (const std::size_t place = text.find('%'); place != std::string::npos)
        result = value.empty() ? std::string() : text.substr(0, place) + std::string(value) + text.substr(place + 1);
    else
        result = value.empty() ? text : std::string(value);
    std::replace(result.begin(), result.end(), PercentMarker, '%');
    return result;
}

std::string ReplaceSeparator(std::string text, char from, std::string_view to)
{
    if (to.empty() || from == '\0') return text;
    std::string result;
    for (char c : text) {
        if (c == from)
            result += to;
        else
            result += c;
    }
    return result;
}

}  // namespace formats
