#pragma once
// Single-byte code page of list-file strings, CSV output and the log.
// Windows-1250 unless TARVILEX_CODEPAGE names another iconv code page.
#include <array>
#include <utility>
#include <string>
#include <string_view>

namespace platform {

class TCodePage {
public:
    // Builds the tables of a single-byte code page known to iconv; raises
    // std::runtime_error for an unknown or multi-byte name.
    explicit TCodePage(const std::string &name);
    const std::string &Name() const { return CodePageName; }

    std::string Decode(std::string_view bytes) const;   // code page -> UTF-8
    // UTF-8 -> code page; a character the page cannot hold becomes Replacement.
    std::string Encode(std::string_view utf8, char replacement = '?') const;
    // The same, appended to out (writers build their output this way).
    void AppendEncoded(std::string &out, std::string_view utf8, char replacement = '?') const;
    // Code of one Unicode character in this page, or -1.
    int ByteOf(char32_t c) const;

private:
    std::string CodePageName;
    std::array<char32_t, 256> ToUnicode{};
    // The upper half by character, for a binary search when encoding; the
    // Latin letters below U+0180 (those of the Central European pages) by
    // direct look-up, -1 where the page lacks them.
    std::array<std::pair<char32_t, unsigned char>, 128> FromUnicode{};
    std::array<short, 0x100> FromLatin{};
};

// The process code page (TARVILEX_CODEPAGE or "WINDOWS-1250"), built once.
const TCodePage &SystemCodePage();

// Converts between any iconv encoding and UTF-8; raises std::runtime_error
// naming the encoding when iconv does not know it or the text is invalid.
std::string ConvertToUtf8(std::string_view bytes, const std::string &encoding);
// A character the target cannot hold is written as "&#N;" when
// characterReferences is set, else raises.
std::string ConvertFromUtf8(std::string_view utf8, const std::string &encoding, bool characterReferences);

// Next code point of a UTF-8 text from position i (advanced); invalid bytes
// are taken one by one as U+FFFD.
char32_t NextUtf8(std::string_view text, std::size_t &i);
void AppendUtf8(std::string &out, char32_t c);

}  // namespace platform
