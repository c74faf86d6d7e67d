#include "platform/XmlDocumentUnit.h"

#include "platform/CodePageUnit.h"
#include "platform/FileUnit.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

namespace platform {

namespace {

// The encoding named by an XML declaration at the start of raw bytes.
std::string DeclaredEncoding(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return "UTF-8";
    if (bytes.substr(0, 5) != "<?xml") return "";
    const auto end = bytes.find("?>");
    const std::string_view decl = bytes.substr(0, end);
    const auto key = decl.find("encoding");
    if (key == std::string_view::npos) return "";
    auto quote = decl.find_first_of("\"'", key);
    if (quote == std::string_view::npos) return "";
    const auto close = decl.find(decl[quote], quote + 1);
    if (close == std::string_view::npos) return "";
    return std::string(decl.substr(quote + 1, close - quote - 1));
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        if (extra < 0 || i + std::size_t(extra) >= text.size() + (extra == 0 ? 1 : 0)) return false;
        for (int k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        i += std::size_t(extra) + 1;
    }
    return true;
}

struct TStringWriter : pugi::xml_writer {
    std::string Text;
    void write(const void *data, std::size_t size) override { Text.append(static_cast<const char *>(data), size); }
};

}  // namespace

TXmlDocument::TXmlDocument(const TXmlDocument &other) : FileName(other.FileName)
{
    Doc.reset(other.Doc);
}

TXmlDocument &TXmlDocument::operator=(const TXmlDocument &other)
{
    if (this != &other) {
        Doc.reset(other.Doc);
        FileName = other.FileName;
    }
    return *this;
}

void TXmlDocument::Parse(std::string_view bytes, const std::string &source)
{
    Doc.reset();
    std::string utf8;
    try {
        const std::string encoding = DeclaredEncoding(bytes);
        if (!IsValidUtf8(bytes) && (encoding.empty() || encoding == "UTF-8" || encoding == "utf-8"))
            throw std::runtime_error("Text is not valid UTF-8");
        utf8 = ConvertToUtf8(bytes, encoding);
    } catch (const std::runtime_error &e) {
        throw TXmlError(source + ": " + e.what());
    }
    const auto result = Doc.load_buffer(utf8.data(), utf8.size(),
                                        pugi::parse_default | pugi::parse_declaration | pugi::parse_fragment,
                                        pugi::encoding_utf8);
    if (!result) {
        Doc.reset();
        throw TXmlError(source + ": " + result.description() + " at offset " + std::to_string(result.offset));
    }
    if (!Doc.document_element()) {
        Doc.reset();
        throw TXmlError(source + ": No document element");
    }
    // Parsed as a fragment so that stray text and a second root show up
    // here; pugixml would otherwise pass over them.
    int roots = 0;
    for (pugi::xml_node n = Doc.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_element) ++roots;
        const bool text = n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata;
        if (roots > 1 || (text && std::string_view(n.value()).find_first_not_of(" \t\r\n") != std::string_view::npos)) {
            Doc.reset();
            throw TXmlError(source + (roots > 1 ? ": More than one document element" : ": Text outside the document element"));
        }
    }
}

void TXmlDocument::LoadFromFile(const std::string &path)
{
    const std::string bytes = ReadWholeFile(path);
    Parse(bytes, path);
    FileName = path;
}

void TXmlDocument::LoadFromText(std::string_view text)
{
    Parse(text, "XML text");
    FileName.clear();
}

std::string TXmlDocument::Encoding() const
{
    for (pugi::xml_node n = Doc.first_child(); n; n = n.next_sibling())
        if (n.type() == pugi::node_declaration) return n.attribute("encoding").value();
    return "";
}

std::string TXmlDocument::SaveToText() const
{
    // An existing declaration node prints itself; none is invented.
    TStringWriter writer;
    Doc.save(writer, "  ", pugi::format_indent | pugi::format_no_declaration, pugi::encoding_utf8);
    return ConvertFromUtf8(writer.Text, Encoding(), true);
}

void TXmlDocument::SaveToFile(const std::string &path) const
{
    WriteFileAtomically(path, SaveToText());
    const_cast<TXmlDocument *>(this)->FileName = path;
}

std::string ElementXml(pugi::xml_node node)
{
    TStringWriter writer;
    node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return writer.Text;
}

std::string AttributeText(pugi::xml_node node, const char *name)
{
    return node.attribute(name).value();
}

int TextToInteger(std::string_view text)
{
    std::string_view t = text;
    while (!t.empty() && t.front() == ' ') t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ') t.remove_suffix(1);
    if (!t.empty() && t.front() == '+') t.remove_prefix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (t.empty() || ec != std::errc() || end != t.data() + t.size())
        throw TConversionError("'" + std::string(text) + "' is not a valid integer value");
    return value;
}

bool TextToBoolean(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (lower == "true") return true;
    if (lower == "false") return false;
    try {
        return TextToInteger(text) != 0;
    } catch (const TConversionError &) {
        throw TConversionError("'" + std::string(text) + "' is not a valid boolean value");
    }
}

int AttributeAsInteger(pugi::xml_node node, const char *name)
{
    return TextToInteger(AttributeText(node, name));
}

bool AttributeAsBoolean(pugi::xml_node node, const char *name)
{
    return TextToBoolean(AttributeText(node, name));
}

pugi::xml_node ElementChild(pugi::xml_node node, int index)
{
    int i = 0;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element && i++ == index) return c;
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ") in element " +
                            std::string(node.name()));
}

int ElementChildCount(pugi::xml_node node)
{
    int n = 0;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) ++n;
    return n;
}

std::vector<pugi::xml_node> ElementChildren(pugi::xml_node node)
{
    std::vector<pugi::xml_node> children;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) children.push_back(c);
    return children;
}

bool HasElementChildren(pugi::xml_node node)
{
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        if (c.type() == pugi::node_element) return true;
    return false;
}

}  // namespace platform
