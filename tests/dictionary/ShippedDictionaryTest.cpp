// The dictionary shipped beside the program: readable, complete for every
// key the program's sources ask for.
#include "dictionary/LanguageUnit.h"
#include "platform/FileUnit.h"
#include "platform/XmlDocumentUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kSourceDir = TARVILEX_SOURCE_DIR;
const std::string kDictionary = kSourceDir + "/data/Language.XML";

// Literals that have the shape of a key but are no dictionary key, with why.
const std::set<std::string> kNotKeys = {
};

// The string literals of a C++ source, comments skipped.
std::vector<std::string> StringLiterals(const std::string &src)
{
    std::vector<std::string> out;
    const std::size_t n = src.size();
    std::size_t i = 0;
    auto isIdent = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; };
    while (i < n) {
        const char c = src[i];
        if (c == '/' && i + 1 < n && src[i + 1] == '/') {
            i = src.find('\n', i);
            if (i == std::string::npos) break;
        } else if (c == '/' && i + 1 < n && src[i + 1] == '*') {
            i = src.find("*/", i + 2);
            if (i == std::string::npos) break;
            i += 2;
        } else if (c == '"' && i > 0 && src[i - 1] == 'R') {
            const std::size_t open = src.find('(', i);
            if (open == std::string::npos) break;
            const std::string close = ")" + src.substr(i + 1, open - i - 1) + "\"";
            const std::size_t end = src.find(close, open);
            if (end == std::string::npos) break;
            out.push_back(src.substr(open + 1, end - open - 1));
            i = end + close.size();
        } else if (c == '"') {
            std::string text;
            ++i;
            while (i < n && src[i] != '"' && src[i] != '\n') {
                if (src[i] == '\\' && i + 1 < n) {
                    text += src[i];
                    ++i;
                }
                text += src[i++];
            }
            out.push_back(text);
            ++i;
        } else if (c == '\'' && !(i > 0 && std::isxdigit(static_cast<unsigned char>(src[i - 1])) && i + 1 < n &&
                                  std::isxdigit(static_cast<unsigned char>(src[i + 1])))) {
            // A character literal; a quote between digits is a digit separator.
            ++i;
            while (i < n && src[i] != '\'' && src[i] != '\n') i += src[i] == '\\' ? 2 : 1;
            ++i;
        } else {
            ++i;
            while (i < n && isIdent(src[i - 1]) && isIdent(src[i])) ++i;
        }
    }
    return out;
}

// "_" + letter + letters or digits, an optional "&" for a menu accelerator,
// and one optional suffix character.
bool LooksLikeKey(const std::string &text)
{
    std::string t = text;
    if (!t.empty() && std::string_view("!*:?").find(t.back()) != std::string_view::npos) t.pop_back();
    t.erase(std::remove(t.begin(), t.end(), '&'), t.end());
    if (t.size() < 2 || t[0] != '_' || !std::isalpha(static_cast<unsigned char>(t[1]))) return false;
    return std::all_of(t.begin() + 1, t.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); });
}

std::string WordName(std::string key)
{
    if (std::string_view("!*:?").find(key.back()) != std::string_view::npos) key.pop_back();
    key.erase(std::remove(key.begin(), key.end(), '&'), key.end());
    return key;
}

TEST(ShippedDictionary, ScannerFindsLiteralsOutsideComments)
{
    const std::string src =
        "// \"_InComment\"\n/* \"_InBlock\" */ auto a = Translate(\"_Open:\");\n"
        "char q = '\"'; int big = 1'000'000; auto b = \"esc\\\"aped\"; auto r = R\"x(_Raw\")x\";\n"
        "auto c = \"_Second\";";
    const std::vector<std::string> expected = {"_Open:", "esc\\\"aped", "_Raw\"", "_Second"};
    EXPECT_EQ(StringLiterals(src), expected);
    struct Case { const char *text; bool key; };
    const Case cases[] = {
        {"_Open", true},   {"_Open:", true},  {"_&Open", true},    {"_NumberOfItemRecords?", true},
        {"_T2", true},     {"_", false},      {"_0", false},       {"_Two words", false},
        {"Open", false},   {"_Open::", false}, {"_Per/Cent", false}, {"", false},
    };
    for (const Case &c : cases) EXPECT_EQ(LooksLikeKey(c.text), c.key) << c.text;
}

TEST(ShippedDictionary, EveryKeyOfTheSourcesHasBothTexts)
{
    platform::TXmlDocument words;
    ASSERT_NO_THROW(words.LoadFromFile(kDictionary));
    const pugi::xml_node root = words.Root();

    std::map<std::string, std::set<std::string>> missing;   // word -> files asking for it
    int files = 0;
    for (const char *folder : {"app", "dictionary", "model", "formats", "output", "editors"}) {
        const std::filesystem::path dir = kSourceDir + "/" + folder;
        if (!std::filesystem::is_directory(dir)) continue;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(dir)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h")) continue;
            ++files;
            for (const std::string &literal : StringLiterals(platform::ReadWholeFile(entry.path().string()))) {
                if (!LooksLikeKey(literal) || kNotKeys.count(literal)) continue;
                const std::string name = WordName(literal);
                const pugi::xml_node word = root.child(name.c_str());
                if (!word || !*word.attribute("language0").value() || !*word.attribute("language1").value())
                    missing[name].insert(std::filesystem::relative(entry.path(), kSourceDir).string());
            }
        }
    }
    EXPECT_GT(files, 0);
    std::string report;
    for (const auto &[name, where] : missing) {
        report += "\n  " + name + " (";
        for (const std::string &file : where) report += (file == *where.begin() ? "" : ", ") + file;
        report += ")";
    }
    EXPECT_TRUE(missing.empty()) << "Keys without both texts in data/Language.XML:" << report;
}

TEST(ShippedDictionary, EveryWordHasBothTextsAndReadsBackInItsCodePage)
{
    platform::TXmlDocument words;
    ASSERT_NO_THROW(words.LoadFromFile(kDictionary));
    EXPECT_EQ(words.Encoding(), "ISO-8859-2");
    EXPECT_STREQ(words.Root().name(), "words");
    int count = 0;
    for (pugi::xml_node word = words.Root().first_child(); word; word = word.next_sibling(), ++count) {
        EXPECT_NE(*word.attribute("language0").value(), '\0') << word.name();
        EXPECT_NE(*word.attribute("language1").value(), '\0') << word.name();
    }
    EXPECT_GT(count, 100);

    dictionary::SetLanguageIndex(0);
    dictionary::SetStartupSeparatorsForTesting('.', ',', ':');
    {
        // Loaded as the program does, from a copy: a missing word would be
        // written back at the end.
        testsupport::TTempFolder folder;
        const std::string copy = folder.File("Language.XML");
        std::filesystem::copy_file(kDictionary, copy);
        const std::string before = platform::ReadWholeFile(copy);
        dictionary::TLanguageModule module(copy, "TESTPROGRAM");
        EXPECT_TRUE(module.LoadError().empty()) << module.LoadError();
        EXPECT_EQ(module.Translate("_NumberOfItemRecords:"), "Tételrekordok száma:");
        EXPECT_EQ(module.Translate("_CannotOpenList"), "A lista nem nyitható meg");
        EXPECT_EQ(dictionary::FormatDate(dictionary::EncodeDate(2013, 3, 31)), "2013.03.31");
        EXPECT_EQ(dictionary::FormatDateAndTime(dictionary::EncodeDateTime(2013, 3, 31, 7, 5, 9)),
                  "2013.03.31 07:05:09");
        dictionary::SetLanguageIndex(1);
        EXPECT_EQ(module.Translate("_NumberOfItemRecords"), "Number of item records");
        EXPECT_EQ(module.Translate("_CannotOpenList"), "The list cannot be opened");
        dictionary::SetStartupSeparatorsForTesting('/', '.', ':');
        EXPECT_EQ(dictionary::FormatDate(dictionary::EncodeDate(2013, 3, 31)), "31/03/2013");
        EXPECT_FALSE(module.Modified());
        EXPECT_EQ(platform::ReadWholeFile(copy), before);
    }
    dictionary::SetLanguageIndex(0);
}

}  // namespace
