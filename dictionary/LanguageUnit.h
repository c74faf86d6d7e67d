#pragma once
// The translation dictionary ("Language.XML" beside the program), the
// multi-language text rules and the formatting helpers that the record
// display and every output share. Plain C++: windows are translated by
// TranslateWindowUnit.
#include "dictionary/DateTimeUnit.h"
#include "platform/XmlDocumentUnit.h"

#include <mutex>
#include <string>
#include <string_view>

namespace dictionary {

constexpr int LanguageCount = 2;   // languages the composition routines build
constexpr int MoneyDecimals = 2;

// Process-wide current language index: 0 at start, set from every opened list.
int LanguageIndex();
void SetLanguageIndex(int index);

// Taken once at start-up, before any window exists (InitStartupValues).
void InitStartupValues();
char StartupDateSeparator();
char StartupDecimalSeparator();
char StartupTimeSeparator();
// Outputs put their format's separators here for their run and restore them.
void SetStartupSeparators(char date, char decimal, char time = ':');
void SetStartupSeparatorsForTesting(char date, char decimal, char time = ':');
TDateTime ReferenceDate();
void SetReferenceDate(TDateTime date);

class TLanguageModule {
public:
    // Loads fileName when it exists; otherwise starts from the empty
    // dictionary text. A file that cannot be read or parsed does not make
    // creation fail: its message is kept in LoadError(), the module runs on
    // the empty dictionary and never writes over that file. programTag is
    // the upper-cased file name of the running program. The first module
    // created is the process's dictionary (LanguageModule()).
    explicit TLanguageModule(std::string fileName = DefaultFileName(), std::string programTag = DefaultProgramTag());
    // Writes the dictionary back when a word was added; never throws.
    ~TLanguageModule();
    TLanguageModule(const TLanguageModule &) = delete;
    TLanguageModule &operator=(const TLanguageModule &) = delete;

    std::string Translate(std::string_view key);
    std::string AllLanguagesTitle(std::string_view key);
    std::string TitleWithValue(std::string_view key);
    std::string SubtotalLabel(std::string_view key);
    std::string SubtotalCountLabel(std::string_view key, std::string_view secondKey);

    bool Modified() const { return IsModified; }
    // Atomic; raises on failure. Writes nothing after a failed load.
    void Save();
    const std::string &LoadError() const { return DictionaryLoadError; }
    const std::string &FileName() const { return DictionaryFileName; }

    static std::string DefaultFileName();       // program folder + "Language.XML"
    static std::string DefaultProgramTag();     // e.g. "TARVILEXVIEWER"

    platform::TXmlDocument Words;

private:
    std::string TranslateLocked(std::string_view key);
    std::string LanguagePart(std::string_view key);
    template <typename Part>
    std::string ComposeAllLanguages(Part part);
    std::recursive_mutex Lock;
    std::string DictionaryFileName;
    std::string ProgramTag;
    bool IsModified = false;
    std::string DictionaryLoadError;
};

// The process's dictionary: the module created first; nullptr before that.
TLanguageModule *LanguageModule();
// Translate through the process's dictionary; without one, the key's text
// with "&" removed.
// A key that is not yet a word is added; one that is no valid element name
// raises platform::TXmlError.
std::string Translate(std::string_view key);

std::string SelectLanguagePart(std::string_view text);

std::string FormatDuration(int seconds);
TDateTime ParseCompactTimestamp(std::string_view text);     // never fails
std::string FormatCompactTimestamp(std::string_view text);
std::string FormatCompactDate(std::string_view text);        // raises on bad text
std::string FormatIsoTimestamp(std::string_view text);       // raises on bad text
// The date part of a YYYY-MM-DD... text (characters 1-4, 6-7, 9-10).
TDateTime ParseIsoDate(std::string_view text);               // raises on bad text
std::string FormatDate(TDateTime value);                     // "_DateFormat"
std::string FormatDateAndTime(TDateTime value);              // "_DateTimeFormat"
std::string FormatMoney(double value);
std::string FormatNumber(double value);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
std::string FontStyleToWords(TFontStyles styles);
TFontStyles WordsToFontStyle(std::string_view text);

int DaysInMonth(int year, int month);
TDateTime ResolveRelativeDate(int year, int month, int day);  // raises on invalid dates

struct TRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    bool operator==(const TRect &) const = default;
};
TRect InsetRect(TRect r, int n);

}  // namespace dictionary
