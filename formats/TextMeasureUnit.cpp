#include "formats/TextMeasureUnit.h"

#include "platform/CodePageUnit.h"
#include "platform/XmlDocumentUnit.h"

namespace formats {

int CharacterCount(std::string_view utf8)
{
    int count = 0;
    for (std::size_t i = 0; i < utf8.size(); ++count) platform::NextUtf8(utf8, i);
    return count;
}

int TCharacterCountMeasure::TextWidth(std::string_view text, const TTextFont &) const
{
    return CharacterCount(text);
}

const TTextMeasure &DefaultTextMeasure()
{
    static const TCharacterCountMeasure measure;
    return measure;
}

TTextFont EffectiveFont(pugi::xml_node element)
{
    pugi::xml_node e = element;
    while (e && e.type() == pugi::node_element && std::string_view(e.attribute("parentfont").value()) == "True")
        e = e.parent();
    TTextFont font;
    if (!e || e.type() != pugi::node_element) return font;
    if (pugi::xml_attribute name = e.attribute("fontname")) font.Name = name.value();
    if (pugi::xml_attribute size = e.attribute("fontsize")) {
        try {
            font.Size = platform::TextToInteger(size.value());
        } catch (const platform::TConversionError &) {
            // A hand-edited size that is no number keeps the default size.
        }
    }
    font.Styles = dictionary::WordsToFontStyle(e.attribute("fontstyles").value());
    return font;
}

}  // namespace formats
