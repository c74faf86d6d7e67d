#include "formats/FormatXMLModuleUnit.h"

#include "platform/CodePageUnit.h"
#include "platform/FileUnit.h"

namespace formats {

namespace {

constexpr const char *kDeclaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" standalone=\"yes\"?>";
constexpr const char *kEncoding = "ISO-8859-2";
constexpr const char *kLineEnd = "\r\n";

void WriteElement(std::string &out, pugi::xml_node node, const std::string &indent, int depth)
{
    std::string prefix;
    for (int i = 0; i < depth; ++i) prefix += indent;
    out += prefix;
    out += '<';
    out += node.name();
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        out += ' ';
        out += a.name();
        out += "=\"";
        out += EscapeAttributeValue(a.value());
        out += '"';
    }
    // Formats carry no text content, so only element children count.
    if (!platform::HasElementChildren(node)) {
        out += " />";
        out += kLineEnd;
        return;
    }
    out += " >";
    out += kLineEnd;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) WriteElement(out, c, indent, depth + 1);
    out += prefix;
    out += "</";
    out += node.name();
    out += '>';
    out += kLineEnd;
}

}  // namespace

std::string EscapeAttributeValue(std::string_view value)
{
    // The order is part of the file format: "&" must go first so that the
    // entities written by the later steps are not escaped again.
    std::string text(value);
    const std::pair<char, const char *> steps[] = {
        {'&', "&amp;"}, {'>', "&gt;"}, {'<', "&lt;"}, {'"', "&quot;"}, {'\'', "&apos;"}};
    for (const auto &[c, entity] : steps) {
        std::string next;
        next.reserve(text.size());
        for (char t : text) {
            if (t == c) next += entity;
            else next += t;
        }
        text = std::move(next);
    }
    return text;
}

TFormatXMLModule::TFormatXMLModule() : IndentUnit("  ") {}

void TFormatXMLModule::SetIndent(std::string indent)
{
    IndentUnit = std::move(indent);
}

std::string TFormatXMLModule::FormatText() const
{
    std::string out = kDeclaration;
    out += kLineEnd;
    if (pugi::xml_node root = Document.Root()) WriteElement(out, root, IndentUnit, 0);
    return platform::ConvertFromUtf8(out, kEncoding, true);
}

void TFormatXMLModule::WriteFile(const std::string &path) const
{
    platform::WriteFileAtomically(path, FormatText());
}

}  // namespace formats
