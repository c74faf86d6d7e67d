#include "dictionary/LanguageUnit.h"

#include "platform/CodePageUnit.h"
#include "platform/FileUnit.h"
#include "platform/SystemLocaleUnit.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <cctype>
#include <cmath>
#include <cstdlib>

namespace dictionary {

namespace {

constexpr const char *EmptyDictionaryText =
    "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" standalone=\"yes\"?><words></words>";

// Used when the dictionary has no pattern yet, so that dates stay readable.
constexpr const char *FallbackDateFormat = "yyyy/mm/dd";
constexpr const char *FallbackDateTimeFormat = "yyyy/mm/dd hh:nn:ss";

std::atomic<int> CurrentLanguage{0};
// Changes whenever the process's dictionary may have: remembered patterns
// are then read again.
std::atomic<unsigned> DictionaryGeneration{0};
std::atomic<char> DateSeparator{'/'};
std::atomic<char> DecimalSeparator{'.'};
std::atomic<char> TimeSeparator{':'};
std::atomic<TDateTime> Reference{0.0};
std::atomic<TLanguageModule *> Instance{nullptr};

bool IsNameStart(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

bool IsNameChar(unsigned char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// An XML element name without a namespace prefix. Bytes of multi-byte UTF-8
// characters are taken as letters; pugixml itself accepts any name.
bool IsElementName(std::string_view name)
{
    if (name.empty() || !IsNameStart(static_cast<unsigned char>(name.front()))) return false;
    if (name.size() >= 3 && (name[0] | 0x20) == 'x' && (name[1] | 0x20) == 'm' && (name[2] | 0x20) == 'l')
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) { return IsNameChar(static_cast<unsigned char>(c)); });
}

std::string WithoutAmpersands(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '&') out += c;
    return out;
}

// The start of text holding at most count characters (UTF-8 code points).
std::string_view FirstCharacters(std::string_view text, std::size_t count)
{
    std::size_t i = 0;
    for (std::size_t n = 0; n < count && i < text.size(); ++n) platform::NextUtf8(text, i);
    return text.substr(0, i);
}

// Fixed-point text of value with the given decimals, rounded half away from
// zero on its 15 significant decimal digits, so that 2.675 (stored as
// 2.67499...) shows as 2.68 like the typed amount. A result of zero shows
// no sign.
std::string FixedDecimal(double value, int decimals)
{
    if (!std::isfinite(value)) return "0";
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    if (ec != std::errc()) return "0";
    const std::string_view text(buffer, std::size_t(end - buffer));
    const bool negative = text.front() == '-';
    const std::size_t mantissa = negative ? 1 : 0;
    const std::size_t e = text.find('e');
    // Money is formatted on every row: the digits are worked on in place.
    char digits[32];                           // 15 significant digits
    std::size_t digitCount = 0;
    for (std::size_t i = mantissa; i < e && digitCount < sizeof digits; ++i)
        if (text[i] != '.') digits[digitCount++] = text[i];
    int exponent = 0;
    std::string_view exponentText = text.substr(e + 1);
    if (!exponentText.empty() && exponentText.front() == '+') exponentText.remove_prefix(1);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);

    // Digits of value * 10^decimals as an integer, rounded; integer[0] is
    // kept free for a carry out of the first digit. Money amounts fit the
    // string's own small buffer.
    const int keep = exponent + 1 + decimals;   // digits before the cut
    std::string integer(std::size_t(std::max(keep, 1)) + 1, '0');
    char *first = integer.data() + 1;
    std::size_t length = 0;
    if (keep <= 0) {
        first[length++] = keep == 0 && digits[0] >= '5' ? '1' : '0';
    } else if (std::size_t(keep) >= digitCount) {
        std::memcpy(first, digits, digitCount);
        std::memset(first + digitCount, '0', std::size_t(keep) - digitCount);
        length = std::size_t(keep);
    } else {
        std::memcpy(first, digits, std::size_t(keep));
        length = std::size_t(keep);
        if (digits[keep] >= '5') {
            std::ptrdiff_t i = std::ptrdiff_t(length) - 1;
            while (i >= 0 && first[i] == '9') first[i--] = '0';
            if (i < 0) {
                *--first = '1';
                ++length;
            } else {
                ++first[i];
            }
        }
    }
    std::string out;
    out.reserve(length + std::size_t(decimals) + 3);
    const std::size_t whole = length > std::size_t(decimals) ? length - std::size_t(decimals) : 0;
    if (whole == 0) out += '0';
    out.append(first, whole);
    if (decimals > 0) {
        out += '.';
        out.append(std::size_t(decimals) - (length - whole), '0');
        out.append(first + whole, length - whole);
    }
    if (negative && out.find_first_not_of("0.") != std::string::npos) out.insert(0, 1, '-');
    return out;
}

std::string ReplaceDecimalPoint(std::string text)
{
    std::replace(text.begin(), text.end(), '.', StartupDecimalSeparator());
    return text;
}

// Sets the language index for one part of a composition and puts the
// caller's index back even when a lookup throws.
class TLanguageSwitch {
public:
    TLanguageSwitch() : Saved(LanguageIndex()) {}
    ~TLanguageSwitch() { SetLanguageIndex(Saved); }
    TLanguageSwitch(const TLanguageSwitch &) = delete;
    TLanguageSwitch &operator=(const TLanguageSwitch &) = delete;

private:
    int Saved;
};

std::string Pattern(std::string_view key, const char *fallback)
{
    std::string pattern = Translate(key);
    // Untranslated, the key itself would be read as pattern letters.
    if (pattern.empty() || pattern.front() == '_') return fallback;
    return pattern;
}

int DigitsAt(std::string_view text, std::size_t first, std::size_t count)
{
    if (first >= text.size()) throw platform::TConversionError("missing digits");
    const std::string_view part = text.substr(first, count);
    // Plain digits, as timestamps of every row carry them, need no general reading.
    if (!part.empty() && part.size() <= 9 &&
        std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        int value = 0;
        for (const char c : part) value = value * 10 + (c - '0');
        return value;
    }
    return platform::TextToInteger(part);
}

}  // namespace

int LanguageIndex() { return CurrentLanguage.load(); }
void SetLanguageIndex(int index) { CurrentLanguage.store(index); }

void InitStartupValues()
{
    const platform::TSystemSeparators s = platform::ReadSystemSeparators();
    SetStartupSeparators(s.Date, s.Decimal, s.Time);
    SetReferenceDate(Today());
}

char StartupDateSeparator() { return DateSeparator.load(); }
char StartupDecimalSeparator() { return DecimalSeparator.load(); }
char StartupTimeSeparator() { return TimeSeparator.load(); }

void SetStartupSeparators(char date, char decimal, char time)
{
    DateSeparator.store(date);
    DecimalSeparator.store(decimal);
    TimeSeparator.store(time);
}

void SetStartupSeparatorsForTesting(char date, char decimal, char time)
{
    SetStartupSeparators(date, decimal, time);
}

TDateTime ReferenceDate() { return Reference.load(); }
void SetReferenceDate(TDateTime date) { Reference.store(date); }

// ---------------------------------------------------------------------------

TLanguageModule::TLanguageModule(std::string fileName, std::string programTag)
    : DictionaryFileName(std::move(fileName)), ProgramTag(std::move(programTag))
{
    if (platform::FileExists(DictionaryFileName)) {
        try {
            Words.LoadFromFile(DictionaryFileName);
        } catch (const std::exception &e) {
            // Keep the translator's file: run on the key texts and never
            // write over what we could not read.
            DictionaryLoadError = e.what();
        }
    }
    if (Words.IsEmpty()) Words.LoadFromText(EmptyDictionaryText);
    Words.FileName = DictionaryFileName;
    // A tag that is no element name (e.g. starting with a digit) is left out.
    if (!IsElementName(ProgramTag)) ProgramTag.clear();
    TLanguageModule *none = nullptr;
    Instance.compare_exchange_strong(none, this);
    ++DictionaryGeneration;
}

TLanguageModule::~TLanguageModule()
{
    TLanguageModule *self = this;
    Instance.compare_exchange_strong(self, nullptr);
    ++DictionaryGeneration;
    try {
        std::lock_guard<std::recursive_mutex> guard(Lock);
        if (IsModified) Save();
    } catch (...) {
        // Nothing can be reported from here; Save() reports to its callers.
    }
}

void TLanguageModule::Save()
{
    std::lock_guard<std::recursive_mutex> guard(Lock);
    if (!DictionaryLoadError.empty()) return;
    Words.SaveToFile(DictionaryFileName);
    IsModified = false;
}

std::string TLanguageModule::DefaultFileName()
{
    return platform::ProgramFolder() + "Language.XML";
}

std::string TLanguageModule::DefaultProgramTag()
{
    std::string name = platform::ExtractFileName(platform::ProgramPath());
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return c < 0x80 ? char(std::toupper(c)) : char(c); });
    return name;
}

std::string TLanguageModule::Translate(std::string_view key)
{
    std::lock_guard<std::recursive_mutex> guard(Lock);
    return TranslateLocked(key);
}

std::string TLanguageModule::TranslateLocked(std::string_view key)
{
    if (key.empty()) return "";
    if (key.front() != '_') return std::string(key);
    std::string_view suffix;
    if (std::string_view("!*:?").find(key.back()) != std::string_view::npos) {
        suffix = key.substr(key.size() - 1);
        key.remove_suffix(1);
    }
    const std::string name = WithoutAmpersands(key);
    pugi::xml_node root = Words.Root();
    pugi::xml_node word = root.child(name.c_str());
    if (!word) {
        if (!IsElementName(name))
            throw platform::TXmlError("LanguageUnit: The key is not a valid element name: '" + name + "'");
        IsModified = true;
        word = root.append_child(name.c_str());
        word.append_attribute("language0").set_value(name.c_str());
        word.append_attribute("language1").set_value(name.c_str());
        if (!ProgramTag.empty()) word.append_child(ProgramTag.c_str());
        return name + std::string(suffix);
    }
    const std::string attributeName = "language" + std::to_string(LanguageIndex());
    std::string text;
    if (pugi::xml_attribute attribute = word.attribute(attributeName.c_str())) {
        text = attribute.value();
    } else {
        word.append_attribute(attributeName.c_str()).set_value(name.c_str());
        text = name;
    }
    if (!ProgramTag.empty() && !word.child(ProgramTag.c_str())) word.append_child(ProgramTag.c_str());
    text += suffix;
    return text;
}

// A title that is itself a multi-language text ("Dátum|Date") contributes
// only its part of the language being built.
std::string TLanguageModule::LanguagePart(std::string_view key)
{
    return SelectLanguagePart(TranslateLocked(key));
}

// One part per language, joined by "|", each made with that language current.
template <typename Part>
std::string TLanguageModule::ComposeAllLanguages(Part part)
{
    std::lock_guard<std::recursive_mutex> guard(Lock);
    TLanguageSwitch restore;
    std::string out;
    for (int i = 0; i < LanguageCount; ++i) {
        SetLanguageIndex(i);
        if (i) out += '|';
        out += part();
    }
    return out;
}

std::string TLanguageModule::AllLanguagesTitle(std::string_view key)
{
    return ComposeAllLanguages([&] { return LanguagePart(key); });
}

std::string TLanguageModule::TitleWithValue(std::string_view key)
{
    return ComposeAllLanguages([&] { return LanguagePart(key) + ": %"; });
}

std::string TLanguageModule::SubtotalLabel(std::string_view key)
{
    return ComposeAllLanguages([&] { return LanguagePart(key) + " " + LanguagePart("_subtotal") + ":"; });
}

std::string TLanguageModule::SubtotalCountLabel(std::string_view key, std::string_view secondKey)
{
    return ComposeAllLanguages([&] {
        return LanguagePart(key) + " " + LanguagePart("_subtotal") + ": % " + LanguagePart(secondKey);
    });
}

TLanguageModule *LanguageModule() { return Instance.load(); }

std::string Translate(std::string_view key)
{
    TLanguageModule *module = LanguageModule();
    if (!module) return key.empty() || key.front() != '_' ? std::string(key) : WithoutAmpersands(key);
    // Writers ask for the same few words on every row (date patterns, the
    // words of yes/no fields): each thread keeps the last ones it was given.
    // A found translation never changes while the dictionary stays the same.
    struct TMemo {
        unsigned Generation = 0;
        int Language = -1;
        std::string Key, Text;
    };
    thread_local std::array<TMemo, 8> memos;
    thread_local std::size_t next = 0;
    const unsigned generation = DictionaryGeneration.load();
    const int language = LanguageIndex();
    for (const TMemo &memo : memos)
        if (memo.Generation == generation && memo.Language == language && memo.Key == key) return memo.Text;
    std::string text = module->Translate(key);
    memos[next] = {generation, language, std::string(key), text};
    next = (next + 1) % memos.size();
    return text;
}

// ---------------------------------------------------------------------------

std::string SelectLanguagePart(std::string_view text)
{
    if (text.find('|') == std::string_view::npos) return std::string(text);
    std::string_view rest = text;
    std::string_view part;
    const int n = std::max(0, LanguageIndex());
    for (int i = 0; i <= n; ++i) {
        const std::size_t bar = rest.find('|');
        part = bar == std::string_view::npos ? rest : rest.substr(0, bar);
        if (bar == std::string_view::npos || part.empty()) part = rest;
        rest = bar == std::string_view::npos ? FirstCharacters(rest, 255) : FirstCharacters(rest.substr(bar + 1), 255);
    }
    if (!part.empty()) return std::string(part);
    return std::string(text.substr(0, text.find('|')));
}

std::string FormatDuration(int seconds)
{
    const std::int64_t a = seconds < 0 ? -std::int64_t(seconds) : std::int64_t(seconds);
    const std::int64_t minutes = a / 60 % 60, secs = a % 60;
    char buffer[32];
    char *p = buffer;
    if (seconds < 0) *p++ = '-';
    p = std::to_chars(p, buffer + sizeof buffer, a / 3600).ptr;
    *p++ = ':';
    *p++ = char('0' + minutes / 10);
    *p++ = char('0' + minutes % 10);
    *p++ = ':';
    *p++ = char('0' + secs / 10);
    *p++ = char('0' + secs % 10);
    return std::string(buffer, p);
}

TDateTime ParseCompactTimestamp(std::string_view text)
{
    try {
        return EncodeDateTime(DigitsAt(text, 0, 4), DigitsAt(text, 4, 2), DigitsAt(text, 6, 2), DigitsAt(text, 8, 2),
                              DigitsAt(text, 10, 2), DigitsAt(text, 12, 2));
    } catch (const platform::TConversionError &) {
        return Now();
    }
}

std::string FormatCompactTimestamp(std::string_view text)
{
    return FormatDateTime(Pattern("_DateTimeFormat", FallbackDateTimeFormat), ParseCompactTimestamp(text),
                          StartupDateSeparator(), StartupTimeSeparator());
}

std::string FormatCompactDate(std::string_view text)
{
    TDateTime value = 0;
    try {
        value = EncodeDate(DigitsAt(text, 0, 4), DigitsAt(text, 4, 2), DigitsAt(text, 6, 2));
    } catch (const platform::TConversionError &e) {
        throw platform::TConversionError("LanguageUnit: Invalid date '" + std::string(text) + "': " + e.what());
    }
    return FormatDateTime(Pattern("_DateFormat", FallbackDateFormat), value, StartupDateSeparator(),
                          StartupTimeSeparator());
}

std::string FormatIsoTimestamp(std::string_view text)
{
    TDateTime value = 0;
    try {
        value = EncodeDateTime(DigitsAt(text, 0, 4), DigitsAt(text, 5, 2), DigitsAt(text, 8, 2), DigitsAt(text, 11, 2),
                               DigitsAt(text, 14, 2), DigitsAt(text, 17, 2));
    } catch (const platform::TConversionError &e) {
        throw platform::TConversionError("LanguageUnit: Invalid date and time '" + std::string(text) +
                                         "': " + e.what());
    }
    return FormatDateTime(Pattern("_DateTimeFormat", FallbackDateTimeFormat), value, StartupDateSeparator(),
                          StartupTimeSeparator());
}

TDateTime ParseIsoDate(std::string_view text)
{
    try {
        return EncodeDate(DigitsAt(text, 0, 4), DigitsAt(text, 5, 2), DigitsAt(text, 8, 2));
    } catch (const platform::TConversionError &e) {
        throw platform::TConversionError("LanguageUnit: Invalid date '" + std::string(text) + "': " + e.what());
    }
}

std::string FormatDate(TDateTime value)
{
    return FormatDateTime(Pattern("_DateFormat", FallbackDateFormat), value, StartupDateSeparator(),
                          StartupTimeSeparator());
}

std::string FormatDateAndTime(TDateTime value)
{
    return FormatDateTime(Pattern("_DateTimeFormat", FallbackDateTimeFormat), value, StartupDateSeparator(),
                          StartupTimeSeparator());
}

std::string FormatMoney(double value)
{
    return ReplaceDecimalPoint(FixedDecimal(value, MoneyDecimals));
}

std::string FormatNumber(double value)
{
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return ReplaceDecimalPoint(ec == std::errc() ? std::string(buffer, end) : std::string("0"));
}

std::string FontStyleToWords(TFontStyles styles)
{
    std::string out;
    if (styles & fsBold) out += "Bold";
    if (styles & fsItalic) out += "Italic";
    if (styles & fsUnderline) out += "Underline";
    if (styles & fsStrikeOut) out += "Strikeout";
    return out;
}

TFontStyles WordsToFontStyle(std::string_view text)
{
    TFontStyles styles = 0;
    if (text.find("Bold") != std::string_view::npos) styles |= fsBold;
    if (text.find("Italic") != std::string_view::npos) styles |= fsItalic;
    if (text.find("Underline") != std::string_view::npos) styles |= fsUnderline;
    if (text.find("Strikeout") != std::string_view::npos) styles |= fsStrikeOut;
    return styles;
}

int DaysInMonth(int year, int month)
{
    switch (month) {
    case 2: return IsLeapYear(year) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    default: return 31;
    }
}

TDateTime ResolveRelativeDate(int year, int month, int day)
{
    const TDateTime reference = std::trunc(ReferenceDate());
    if (day <= 0) return reference + day;
    const TDateParts t = DecodeDateTime(reference);
    auto invalid = [&] {
        return platform::TConversionError("LanguageUnit: Invalid relative date " + std::to_string(year) + "/" +
                                          std::to_string(month) + "/" + std::to_string(day));
    };
    int y = 0, m = 0;
    if (month <= 0) {
        if (day > 31) throw invalid();
        // Months counted from January of year 0 step across year ends.
        const long long months = (long long)t.Year * 12 + (t.Month - 1) + month;
        y = int(months >= 0 ? months / 12 : (months - 11) / 12);
        m = int(months - (long long)y * 12) + 1;
    } else {
        if (month > 12) throw invalid();
        y = year <= 0 ? t.Year + year : year;
        m = month;
    }
    try {
        return EncodeDate(y, m, std::min(day, DaysInMonth(y, m)));
    } catch (const platform::TConversionError &) {
        throw invalid();
    }
}

TRect InsetRect(TRect r, int n)
{
    return {r.Left + n, r.Top + n, r.Right - n, r.Bottom - n};
}

}  // namespace dictionary
