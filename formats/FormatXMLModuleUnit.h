#pragma once
// Pretty-printer of list formats and the screen format: one element per line,
// attributes in document order, CR LF line ends, the ISO-8859-2 declaration.
// The exact text matters because format files travel between installations
// and are compared by people with text tools.
#include "platform/XmlDocumentUnit.h"

#include <pugixml.hpp>

#include <string>
#include <string_view>

namespace formats {

class TFormatXMLModule {
public:
    TFormatXMLModule();                 // indentation unit: two spaces
    void SetIndent(std::string indent);
    const std::string &Indent() const { return IndentUnit; }

    // Replaces the file atomically: a failed write leaves the old file as it
    // was and raises the platform's stream error.
    void WriteFile(const std::string &path) const;
    // The bytes WriteFile writes: the declared encoding, characters it cannot
    // hold as numeric character references.
    std::string FormatText() const;

    platform::TXmlDocument Document;

private:
    std::string IndentUnit;
};

// Attribute value escaping of the writer: "&" first, then ">", "<", '"', "'".
std::string EscapeAttributeValue(std::string_view value);

}  // namespace formats
