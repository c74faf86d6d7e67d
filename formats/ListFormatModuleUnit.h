#pragma once
// The current list format: one XML document (`listformat`) that the format
// selection loads, the editors change in place, the default builder fills
// and the page layout, rendering and writers read. Reads the list type and
// list fields of the open list through the modules it borrows.
#include "dictionary/LanguageUnit.h"
#include "formats/CellValueUnit.h"
#include "formats/FormatGeometryUnit.h"
#include "formats/TextMeasureUnit.h"
#include "model/ListFieldsModuleUnit.h"
#include "model/ListTypeModuleUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <pugixml.hpp>

#include <string>
#include <string_view>
#include <utility>

namespace formats {

class TListFormatModule {
public:
    TListFormatModule(const model::TListTypeModule &listType, const model::TListFieldsModule &listFields,
                      dictionary::TLanguageModule &language);

    // ---- document operations ----
    void SetFormatType(std::string formatType);     // what the next NewFormat writes
    void SetListFileName(std::string identifier);   // its `listfilename`
    void SetLevel(int level);
    void ResetLevel();                               // -1: the next default build starts afresh
    int Level() const { return RememberedLevel; }
    const std::string &FormatType() const { return RememberedFormatType; }
    void NewFormat();
    void SetOrientation(std::string_view orientation);
    int GetMaxCellCount() const;                     // most cells of one band
    void SaveToFile(const std::string &path) const;  // through TFormatXMLModule, atomically

    // ---- default format ----
    // Rebuilds the document for the remembered formattype unless the level
    // equals the remembered one.
    void BuildDefaultFormat(int level);

    // ---- geometry ----
    void AlignItemColumns();
    void AlignTotalColumns();
    void AlignSubtotalColumns(int level);
    void AlignAllColumns();
    void DistributeHeaderByText();
    void FitHeaderColumns();
    void FitSubcells(pugi::xml_node element);
    void RotatePage();
    void MoveColumnLeft(pugi::xml_node cell);
    void MoveColumnRight(pugi::xml_node cell);
    void SortCellsByIndex(pugi::xml_node element);
    dictionary::TRect GetAbsoluteRect(pugi::xml_node element) const;

    // Text widths for DistributeHeaderByText; borrowed, must outlive the module.
    void SetTextMeasure(const TTextMeasure &measure) { Measure = &measure; }
    const TTextMeasure &TextMeasure() const { return *Measure; }

    const model::TListTypeModule &ListType() const { return ListTypeSource; }
    const model::TListFieldsModule &ListFields() const { return ListFieldsSource; }
    dictionary::TLanguageModule &Language() const { return LanguageSource; }

    pugi::xml_node Root() const { return Format.Root(); }

    // ---- page context and values (set by an output before it runs) ----
    void SetPageNumber(int number) { PageContext.PageNumber = number; }
    // Both replace the start-up date separator by the format's `dateseparator`;
    // the period's days are joined by " - " after that, so a hyphen used as
    // date separator never reaches the joint.
    void SetDateText(const std::string &text);
    void SetPeriodText(const std::string &firstDay, const std::string &lastDay);
    void SetFirm(std::string text) { PageContext.Firm = std::move(text); }
    void SetRemark(std::string text) { PageContext.Remark = std::move(text); }
    void SetPageCount(std::string text) { PageContext.PageCount = std::move(text); }
    void SetRecordCount(std::string text) { PageContext.RecordCount = std::move(text); }
    void SetListId(std::string text) { PageContext.ListId = std::move(text); }
    const TPageContext &Context() const { return PageContext; }
    // NewFormat removes them, so a preview never shows values of a former output.
    void SetValueProviders(TValueProviders providers) { Providers = std::move(providers); }
    const TValueProviders &ValueProviders() const { return Providers; }
    std::string GetCellValue(pugi::xml_node element) const { return formats::GetCellValue(element, Providers); }

    platform::TXmlDocument Format;

private:
    const model::TListTypeModule &ListTypeSource;
    const model::TListFieldsModule &ListFieldsSource;
    dictionary::TLanguageModule &LanguageSource;
    const TTextMeasure *Measure;
    std::string RememberedFormatType;
    std::string RememberedListFileName;
    int RememberedLevel = -1;
    TPageContext PageContext;
    TValueProviders Providers;
};

// Separator attributes (`columnseparator`, `dateseparator`, `decimalsign`):
// a value longer than one character is "#" (or any first character) and the
// decimal code of the character meant ("#9" a tab, "#46" a full stop); any
// other value is the character itself. Codes 128 to 255 are characters of the
// system code page. The result is UTF-8 (empty for an empty value); a code
// that is no integer or above 255 raises platform::TConversionError.
std::string SeparatorText(std::string_view value);
// The same character as one byte of the system code page ('\0' when empty).
char SeparatorByte(std::string_view value);

}  // namespace formats
