#pragma once
// Width of a text as a cell would draw it, for sharing a band's width out by
// its texts. The formats code stays free of a GUI toolkit: the drawing side
// supplies a measure from real font metrics, while the default counts
// characters so that default formats come out the same on every machine.
#include "dictionary/LanguageUnit.h"

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace formats {

struct TTextFont {
    std::string Name = "Times New Roman";
    int Size = 10;                          // points
    dictionary::TFontStyles Styles = 0;
    bool operator==(const TTextFont &) const = default;
};

class TTextMeasure {
public:
    virtual ~TTextMeasure() = default;
    // Width in page units of the text (UTF-8) drawn on one line in the font.
    virtual int TextWidth(std::string_view text, const TTextFont &font) const = 0;
};

// One unit per character (Unicode code point), whatever the font. With it the
// header shares are the stored text lengths plus two, as the format files of
// the system have always been laid out.
class TCharacterCountMeasure : public TTextMeasure {
public:
    int TextWidth(std::string_view text, const TTextFont &font) const override;
};

const TTextMeasure &DefaultTextMeasure();   // a TCharacterCountMeasure

int CharacterCount(std::string_view utf8);

// The font an element draws with: its own four font attributes, or, while
// `parentfont` is "True", those of the nearest ancestor that has its own.
TTextFont EffectiveFont(pugi::xml_node element);

}  // namespace formats
