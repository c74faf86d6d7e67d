#include "formats/ListFormatModuleUnit.h"

#include "formats/DefaultFormatBuilderUnit.h"
#include "formats/FormatXMLModuleUnit.h"
#include "platform/CodePageUnit.h"

#include <algorithm>
#include <charconv>

namespace formats {

TListFormatModule::TListFormatModule(const model::TListTypeModule &listType,
                                     const model::TListFieldsModule &listFields,
                                     dictionary::TLanguageModule &language)
    : ListTypeSource(listType), ListFieldsSource(listFields), LanguageSource(language),
      Measure(&DefaultTextMeasure())
{
}

void TListFormatModule::SetFormatType(std::string formatType)
{
    RememberedFormatType = std::move(formatType);
}

void TListFormatModule::SetListFileName(std::string identifier)
{
    RememberedListFileName = std::move(identifier);
}

void TListFormatModule::SetLevel(int level)
{
    RememberedLevel = level;
}

void TListFormatModule::ResetLevel()
{
    RememberedLevel = -1;
}

void TListFormatModule::NewFormat()
{
    Providers = {};
    // The values go in through the DOM so that no text of theirs can upset
    // the parser; the attribute order is that of the template.
    Format.LoadFromText("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" standalone=\"yes\"?>"
                        "<listformat name=\"\" formattype=\"\" language=\"\" ></listformat>");
    const pugi::xml_node root = Format.Root();
    SetAttribute(root, "formattype", RememberedFormatType);
    SetAttribute(root, "language", dictionary::LanguageIndex());
    SetAttribute(root, "listfilename", RememberedListFileName);
    int controlBreaks = 0;
    if (const pugi::xml_node breaks = ListTypeSource.ListType.Document().child("listtype").child("controlbreaks"))
        controlBreaks = std::max(0, platform::ElementChildCount(breaks) - std::max(0, RememberedLevel));
    SetAttribute(root, "controlbreaks", controlBreaks);
    if (RememberedFormatType == "csv") SetAttribute(root, "columnseparator", std::string_view(";"));
    SetAttribute(root, "dateseparator", std::string_view("/"));
    SetAttribute(root, "decimalsign", std::string_view(","));
    if (RememberedFormatType == "excel") SetAttribute(root, "liveexcel", true);
}

void TListFormatModule::SetOrientation(std::string_view orientation)
{
    const pugi::xml_node root = Format.Root();
    SetAttribute(root, "orientation", orientation);
    const bool portrait = orientation == "portrait";
    SetAttribute(root, "height", portrait ? 2972 : 2102);
    SetAttribute(root, "width", portrait ? 2102 : 2972);
}

int TListFormatModule::GetMaxCellCount() const
{
    int most = 0;
    const pugi::xml_node page = PageOf(Format.Root());
    for (pugi::xml_node band = page.first_child(); band; band = band.next_sibling())
        if (band.type() == pugi::node_element) most = std::max(most, platform::ElementChildCount(band));
    return most;
}

void TListFormatModule::SaveToFile(const std::string &path) const
{
    TFormatXMLModule writer;
    if (const pugi::xml_node root = Format.Root()) writer.Document.LoadFromText(platform::ElementXml(root));
    writer.WriteFile(path);
}

void TListFormatModule::BuildDefaultFormat(int level)
{
    if (level == RememberedLevel) return;
    RememberedLevel = level;
    TDefaultFormatBuilder(*this).Build(level);
}

void TListFormatModule::AlignItemColumns() { formats::AlignItemColumns(Format.Root()); }
void TListFormatModule::AlignTotalColumns() { formats::AlignTotalColumns(Format.Root()); }
void TListFormatModule::AlignSubtotalColumns(int level) { formats::AlignSubtotalColumns(Format.Root(), level); }
void TListFormatModule::AlignAllColumns() { formats::AlignAllColumns(Format.Root()); }
void TListFormatModule::DistributeHeaderByText() { formats::DistributeHeaderByText(Format.Root(), *Measure); }
void TListFormatModule::FitHeaderColumns() { formats::FitHeaderColumns(Format.Root()); }
void TListFormatModule::FitSubcells(pugi::xml_node element) { formats::FitSubcells(element); }
void TListFormatModule::RotatePage() { formats::RotatePage(Format.Root()); }
void TListFormatModule::MoveColumnLeft(pugi::xml_node cell) { formats::MoveColumnLeft(cell); }
void TListFormatModule::MoveColumnRight(pugi::xml_node cell) { formats::MoveColumnRight(cell); }
void TListFormatModule::SortCellsByIndex(pugi::xml_node element) { formats::SortCellsByIndex(element); }

dictionary::TRect TListFormatModule::GetAbsoluteRect(pugi::xml_node element) const
{
    return formats::GetAbsoluteRect(element);
}

// ---- page context ----------------------------------------------------------

namespace {

std::string WithFormatDateSeparator(const std::string &text, pugi::xml_node format)
{
    return ReplaceSeparator(text, dictionary::StartupDateSeparator(),
                            SeparatorText(platform::AttributeText(format, "dateseparator")));
}

}  // namespace

void TListFormatModule::SetDateText(const std::string &text)
{
    PageContext.DateText = WithFormatDateSeparator(text, Root());
}

void TListFormatModule::SetPeriodText(const std::string &firstDay, const std::string &lastDay)
{
    PageContext.PeriodText = WithFormatDateSeparator(firstDay, Root()) + " - " + WithFormatDateSeparator(lastDay, Root());
}

// ---- separators ------------------------------------------------------------

std::string SeparatorText(std::string_view value)
{
    if (CharacterCount(value) <= 1) return std::string(value);
    std::size_t first = 0;
    platform::NextUtf8(value, first);
    const std::string_view code = value.substr(first);
    int number = 0;
    const auto [end, ec] = std::from_chars(code.data(), code.data() + code.size(), number);
    if (ec != std::errc() || end != code.data() + code.size() || number < 0 || number > 255)
        throw platform::TConversionError("ListFormatModuleUnit: Invalid separator! " + std::string(value));
    if (number < 0x80) return std::string(1, char(number));
    return platform::SystemCodePage().Decode(std::string(1, char(number)));
}

char SeparatorByte(std::string_view value)
{
    const std::string text = SeparatorText(value);
    if (text.empty()) return '\0';
    const std::string bytes = platform::SystemCodePage().Encode(text);
    return bytes.empty() ? '\0' : bytes[0];
}

}  // namespace formats
