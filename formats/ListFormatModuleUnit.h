#pragma once
// The current list format: one XML document (`listformat`) that the format
// selection loads, the editors change in place, the default builder fills
// and the page layout, rendering and writers read. Reads the list type and
// list fields of the open list through the modules it borrows.
#include "dictionary/LanguageUnit.h"
#include "formats/FormatGeometryUnit.h"
#include "formats/TextMeasureUnit.h"
#include "model/ListFieldsModuleUnit.h"
#include "model/ListTypeModuleUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <pugixml.hpp>

#include <string>
#include <string_view>

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

    platform::TXmlDocument Format;

private:
    const model::TListTypeModule &ListTypeSource;
    const model::TListFieldsModule &ListFieldsSource;
    dictionary::TLanguageModule &LanguageSource;
    const TTextMeasure *Measure;
    std::string RememberedFormatType;
    std::string RememberedListFileName;
    int RememberedLevel = -1;
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
