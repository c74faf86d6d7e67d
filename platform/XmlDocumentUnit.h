#pragma once
// XML document wrapper over pugixml. Text is UTF-8 in memory; a file or text
// is converted from the encoding its declaration names before parsing and
// saved back in it, a character the code page cannot hold becoming a numeric
// character reference. Element and attribute order are kept.
#include <pugixml.hpp>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A document that is not well-formed; the text is the parser's message.
class TXmlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A value that does not convert to the number or boolean asked for.
class TConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TXmlDocument {
public:
    TXmlDocument() = default;
    TXmlDocument(const TXmlDocument &other);
    TXmlDocument &operator=(const TXmlDocument &other);
    TXmlDocument(TXmlDocument &&) noexcept = default;
    TXmlDocument &operator=(TXmlDocument &&) noexcept = default;

    // Both replace the whole document; on a parse error the document is left
    // empty and TXmlError names the source and the parser's reason.
    void LoadFromFile(const std::string &path);
    void LoadFromText(std::string_view text);   // bytes; UTF-8 unless declared otherwise
    // Saves atomically in the declared encoding (UTF-8 when none), indented.
    void SaveToFile(const std::string &path) const;
    std::string SaveToText() const;             // bytes in the declared encoding

    pugi::xml_document &Document() { return Doc; }
    const pugi::xml_document &Document() const { return Doc; }
    pugi::xml_node Root() const { return Doc.document_element(); }
    std::string Encoding() const;               // of the declaration, "" when none
    bool IsEmpty() const { return !Doc.first_child(); }
    void Clear() { Doc.reset(); }

    std::string FileName;  // the file last loaded or saved; "" when made from text

private:
    void Parse(std::string_view bytes, const std::string &source);
    pugi::xml_document Doc;
};

// The element's XML text (UTF-8, no declaration), as a document can load it.
std::string ElementXml(pugi::xml_node node);

// A missing attribute reads as null: empty as text, an error as a number.
std::string AttributeText(pugi::xml_node node, const char *name);
int AttributeAsInteger(pugi::xml_node node, const char *name);
// "true"/"false" in any letter case, or a number (non-zero is true).
bool AttributeAsBoolean(pugi::xml_node node, const char *name);
int TextToInteger(std::string_view text);          // raises TConversionError
bool TextToBoolean(std::string_view text);         // raises TConversionError

// The n-th element child (0-based) of node; raises std::out_of_range naming
// the parent when there is none, as a list index error.
pugi::xml_node ElementChild(pugi::xml_node node, int index);
int ElementChildCount(pugi::xml_node node);
// The element children of node in document order (text and comments left out).
std::vector<pugi::xml_node> ElementChildren(pugi::xml_node node);
bool HasElementChildren(pugi::xml_node node);

}  // namespace platform
