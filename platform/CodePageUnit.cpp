#include "platform/CodePageUnit.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <iconv.h>
#include <memory>
#include <stdexcept>

namespace platform {

namespace {

struct TIconv {
    iconv_t Handle;
    TIconv(const std::string &to, const std::string &from) : Handle(iconv_open(to.c_str(), from.c_str()))
    {
        if (Handle == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error("CodePageUnit: Unknown encoding " + (to == "UTF-8" ? from : to));
    }
    ~TIconv() { iconv_close(Handle); }
};

std::string UpperName(std::string name)
{
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return name;
}

bool IsUtf8Name(const std::string &encoding)
{
    const std::string n = UpperName(encoding);
    return n.empty() || n == "UTF-8" || n == "UTF8";
}

}  // namespace

char32_t NextUtf8(std::string_view text, std::size_t &i)
{
    const auto b0 = static_cast<unsigned char>(text[i]);
    const int extra = b0 < 0x80 ? 0 : (b0 >> 5) == 6 ? 1 : (b0 >> 4) == 14 ? 2 : (b0 >> 3) == 30 ? 3 : -1;
    if (extra == 0) { ++i; return b0; }
    if (extra < 0 || i + std::size_t(extra) >= text.size()) { ++i; return 0xFFFD; }
    char32_t c = b0 & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if ((b & 0xC0) != 0x80) { ++i; return 0xFFFD; }
        c = c << 6 | (b & 0x3F);
    }
    i += std::size_t(extra) + 1;
    return c;
}

void AppendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

TCodePage::TCodePage(const std::string &name) : CodePageName(name)
{
    TIconv cd("UTF-32LE", name);
    for (int b = 0; b < 256; ++b) {
        char in = char(b);
        char *inPtr = &in;
        std::size_t inLeft = 1;
        unsigned char out[8];
        char *outPtr = reinterpret_cast<char *>(out);
        std::size_t outLeft = sizeof out;
        iconv(cd.Handle, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd.Handle, &inPtr, &inLeft, &outPtr, &outLeft) == std::size_t(-1) || sizeof out - outLeft != 4) {
            if (errno == EINVAL) throw std::runtime_error("CodePageUnit: Not a single-byte code page: " + name);
            ToUnicode[b] = 0xFFFD;  // byte undefined in this page
            continue;
        }
        ToUnicode[b] = char32_t(out[0]) | char32_t(out[1]) << 8 | char32_t(out[2]) << 16 | char32_t(out[3]) << 24;
    }
    for (int b = 0x80; b < 256; ++b) FromUnicode[std::size_t(b - 0x80)] = {ToUnicode[b], static_cast<unsigned char>(b)};
    // Stable: of two bytes with the same character the lower one wins, as before.
    std::stable_sort(FromUnicode.begin(), FromUnicode.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    FromLatin.fill(-1);
    for (int b = 255; b >= 0x80; --b)   // downwards: the lower byte wins, as in the search
        if (ToUnicode[b] >= 0x80 && ToUnicode[b] < 0x180) FromLatin[ToUnicode[b] - 0x80] = short(b);
}

namespace {

// Eight bytes at a time: list texts and CSV lines are mostly ASCII.
std::size_t AsciiRunEnd(std::string_view text, std::size_t i)
{
    constexpr std::uint64_t HighBits = 0x8080808080808080ULL;
    for (std::uint64_t word; i + 8 <= text.size(); i += 8) {
        std::memcpy(&word, text.data() + i, 8);
        if (word & HighBits) break;
    }
    while (i < text.size() && static_cast<unsigned char>(text[i]) < 0x80) ++i;
    return i;
}

}  // namespace

std::string TCodePage::Decode(std::string_view bytes) const
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t asciiEnd = AsciiRunEnd(bytes, i);
        if (asciiEnd > i) {
            out.append(bytes.data() + i, asciiEnd - i);
            i = asciiEnd;
            continue;
        }
        AppendUtf8(out, ToUnicode[static_cast<unsigned char>(bytes[i++])]);
    }
    return out;
}

int TCodePage::ByteOf(char32_t c) const
{
    if (c < 0x80) return int(c);
    if (c < 0x180) return FromLatin[c - 0x80];
    const auto found = std::lower_bound(FromUnicode.begin(), FromUnicode.end(), c,
                                        [](const auto &entry, char32_t value) { return entry.first < value; });
    return found != FromUnicode.end() && found->first == c && c != 0xFFFD ? int(found->second) : -1;
}

std::string TCodePage::Encode(std::string_view utf8, char replacement) const
{
    std::string out;
    AppendEncoded(out, utf8, replacement);
    return out;
}

void TCodePage::AppendEncoded(std::string &out, std::string_view utf8, char replacement) const
{
    if (out.empty()) out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t asciiEnd = AsciiRunEnd(utf8, i);
        if (asciiEnd > i) {
            out.append(utf8.data() + i, asciiEnd - i);
            i = asciiEnd;
            continue;
        }
        const int b = ByteOf(NextUtf8(utf8, i));
        out += b < 0 ? replacement : char(b);
    }
}

const TCodePage &SystemCodePage()
{
    static const TCodePage page = [] {
        const char *name = std::getenv("TARVILEX_CODEPAGE");
        return TCodePage(name && *name ? name : "WINDOWS-1250");
    }();
    return page;
}

std::string ConvertToUtf8(std::string_view bytes, const std::string &encoding)
{
    if (IsUtf8Name(encoding)) return std::string(bytes);
    TIconv cd("UTF-8", encoding);
    std::string out(bytes.size() * 4 + 16, '\0');
    char *inPtr = const_cast<char *>(bytes.data());
    std::size_t inLeft = bytes.size();
    char *outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd.Handle, &inPtr, &inLeft, &outPtr, &outLeft) == std::size_t(-1))
        throw std::runtime_error("CodePageUnit: Text is not valid " + encoding + " at byte " +
                                 std::to_string(bytes.size() - inLeft));
    out.resize(out.size() - outLeft);
    return out;
}

std::string ConvertFromUtf8(std::string_view utf8, const std::string &encoding, bool characterReferences)
{
    if (IsUtf8Name(encoding)) return std::string(utf8);
    TIconv cd(encoding, "UTF-8");
    std::string out;
    out.reserve(utf8.size());
    char buffer[16];
    // One character at a time, so that an unrepresentable one can be replaced.
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t start = i;
        if (static_cast<unsigned char>(utf8[i]) < 0x80) { out += utf8[i++]; continue; }
        const char32_t c = NextUtf8(utf8, i);
        char *inPtr = const_cast<char *>(utf8.data() + start);
        std::size_t inLeft = i - start;
        char *outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        if (iconv(cd.Handle, &inPtr, &inLeft, &outPtr, &outLeft) == std::size_t(-1)) {
            iconv(cd.Handle, nullptr, nullptr, nullptr, nullptr);
            if (!characterReferences)
                throw std::runtime_error("CodePageUnit: Character U+" + std::to_string(unsigned(c)) +
                                         " cannot be written in " + encoding);
            out += "&#" + std::to_string(unsigned(c)) + ";";
            continue;
        }
        out.append(buffer, sizeof buffer - outLeft);
    }
    return out;
}

}  // namespace platform
