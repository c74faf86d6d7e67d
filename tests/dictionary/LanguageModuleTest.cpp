// The dictionary module: lookups, self-extension, the file it leaves behind.
#include "dictionary/LanguageUnit.h"
#include "platform/FileUnit.h"
#include "platform/XmlDocumentUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

using dictionary::TLanguageModule;
using testsupport::ReadFile;
using testsupport::TTempFolder;
using testsupport::WriteFile;

namespace {

const char *const kTag = "TESTPROGRAM";

// A small dictionary as a translator would leave it (UTF-8 declared so the
// accents are readable here).
const char *const kSmallDictionary =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<words>\n"
    "  <_Open language0=\"Megnyitás\" language1=\"Open\" />\n"
    "  <_Cost language0=\"Költség\" language1=\"Cost\" />\n"
    "  <_subtotal language0=\"részösszeg\" language1=\"subtotal\" />\n"
    "  <_pcs language0=\"db\" language1=\"pcs\"><TESTPROGRAM /></_pcs>\n"
    "  <_Blank language0=\"\" language1=\"Blank\" />\n"
    "</words>\n";

class LanguageModuleTest : public ::testing::Test {
protected:
    void SetUp() override { dictionary::SetLanguageIndex(0); }
    void TearDown() override { dictionary::SetLanguageIndex(0); }

    std::string WriteSmallDictionary()
    {
        const std::string path = Folder.File("Language.XML");
        WriteFile(path, kSmallDictionary);
        return path;
    }

    TTempFolder Folder;
};

int CountChildren(pugi::xml_node node, const char *name)
{
    int n = 0;
    for (pugi::xml_node c = node.child(name); c; c = c.next_sibling(name)) ++n;
    return n;
}

TEST_F(LanguageModuleTest, LooksUpWordsWithSuffixesAndAmpersands)
{
    TLanguageModule module(WriteSmallDictionary(), kTag);
    struct Case { int language; const char *key; const char *text; };
    const Case cases[] = {
        {0, "_Open", "Megnyitás"},
        {1, "_Open", "Open"},
        {0, "_Open:", "Megnyitás:"},
        {1, "_Open!", "Open!"},
        {1, "_Open*", "Open*"},
        {1, "_Open?", "Open?"},
        {0, "_&Open", "Megnyitás"},      // menu accelerator
        {1, "_Op&en:", "Open:"},
        {0, "_Blank:", ":"},             // a present but empty text is used as it is
        {1, "_Blank", "Blank"},
        {0, "", ""},
        {0, "Open", "Open"},             // not a key
        {1, "Plain & simple", "Plain & simple"},
    };
    for (const Case &c : cases) {
        dictionary::SetLanguageIndex(c.language);
        EXPECT_EQ(module.Translate(c.key), c.text) << c.key << " language " << c.language;
    }
    EXPECT_FALSE(module.Modified());
}

TEST_F(LanguageModuleTest, UnknownKeyIsAddedAndWrittenAtExit)
{
    const std::string path = Folder.File("Language.XML");
    {
        TLanguageModule module(path, kTag);
        EXPECT_EQ(module.Translate("_Total:"), "_Total:");
        EXPECT_EQ(module.Translate("_&Print"), "_Print");
        EXPECT_TRUE(module.Modified());
        // Asked again, the word is found instead of added twice.
        EXPECT_EQ(module.Translate("_Total"), "_Total");
        EXPECT_FALSE(platform::FileExists(path));
    }
    ASSERT_TRUE(platform::FileExists(path));
    const std::string bytes = ReadFile(path);
    EXPECT_EQ(bytes.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" standalone=\"yes\"?>", 0), 0u) << bytes;

    platform::TXmlDocument saved;
    saved.LoadFromFile(path);
    pugi::xml_node root = saved.Root();
    EXPECT_STREQ(root.name(), "words");
    EXPECT_EQ(CountChildren(root, "_Total"), 1);
    for (const char *name : {"_Total", "_Print"}) {
        pugi::xml_node word = root.child(name);
        ASSERT_TRUE(word) << name;
        EXPECT_STREQ(word.attribute("language0").value(), name);
        EXPECT_STREQ(word.attribute("language1").value(), name);
        EXPECT_TRUE(word.child(kTag)) << name;
    }
}

TEST_F(LanguageModuleTest, NothingIsWrittenWithoutANewWord)
{
    // No file and no key asked: no file appears.
    const std::string missing = Folder.File("Missing.XML");
    { TLanguageModule module(missing, kTag); }
    EXPECT_FALSE(platform::FileExists(missing));

    // Only known words asked: the file keeps its bytes even though the
    // module added program tags and a language attribute in memory.
    const std::string path = WriteSmallDictionary();
    {
        TLanguageModule module(path, kTag);
        module.Translate("_Open");
        dictionary::SetLanguageIndex(2);
        EXPECT_EQ(module.Translate("_Cost:"), "_Cost:");
        pugi::xml_node cost = module.Words.Root().child("_Cost");
        EXPECT_STREQ(cost.attribute("language2").value(), "_Cost");
        EXPECT_TRUE(cost.child(kTag));
        EXPECT_TRUE(module.Words.Root().child("_Open").child(kTag));
        EXPECT_EQ(CountChildren(module.Words.Root().child("_pcs"), kTag), 1);
        module.Translate("_pcs");
        EXPECT_EQ(CountChildren(module.Words.Root().child("_pcs"), kTag), 1);
        EXPECT_FALSE(module.Modified());
    }
    EXPECT_EQ(ReadFile(path), kSmallDictionary);
}

TEST_F(LanguageModuleTest, InMemoryAdditionsTravelWithANewWord)
{
    const std::string path = WriteSmallDictionary();
    {
        TLanguageModule module(path, kTag);
        dictionary::SetLanguageIndex(2);
        module.Translate("_Open");
        module.Translate("_Brand");
    }
    platform::TXmlDocument saved;
    saved.LoadFromFile(path);
    pugi::xml_node open = saved.Root().child("_Open");
    EXPECT_STREQ(open.attribute("language0").value(), "Megnyitás");
    EXPECT_STREQ(open.attribute("language2").value(), "_Open");
    EXPECT_TRUE(open.child(kTag));
    // A new word gets the two composed languages only.
    pugi::xml_node brand = saved.Root().child("_Brand");
    EXPECT_STREQ(brand.attribute("language0").value(), "_Brand");
    EXPECT_FALSE(brand.attribute("language2"));
}

TEST_F(LanguageModuleTest, KeyThatIsNoElementNameIsRefused)
{
    TLanguageModule module(Folder.File("Language.XML"), kTag);
    for (const char *key : {"_Two words", "_Per/Cent", "_a<b", "_x\"y", "_Colon:in:key", "_Tab\tkey"}) {
        EXPECT_THROW(module.Translate(key), platform::TXmlError) << key;
    }
    EXPECT_FALSE(module.Modified());
    EXPECT_EQ(platform::ElementChildCount(module.Words.Root()), 0);
    // Digits, hyphens and dots are name characters after the first one.
    EXPECT_EQ(module.Translate("_Page-2.1"), "_Page-2.1");
}

TEST_F(LanguageModuleTest, MalformedFileIsKeptByteForByte)
{
    const std::string path = Folder.File("Language.XML");
    const std::string broken = "<?xml version=\"1.0\"?>\n<words><_Open language0=\"x\"></words>\n";
    WriteFile(path, broken);
    {
        TLanguageModule module(path, kTag);
        EXPECT_FALSE(module.LoadError().empty());
        EXPECT_NE(module.LoadError().find(path), std::string::npos) << module.LoadError();
        // The module still works on the empty dictionary.
        EXPECT_EQ(module.Translate("_Open"), "_Open");
        EXPECT_TRUE(module.Modified());
        EXPECT_NO_THROW(module.Save());
        EXPECT_EQ(ReadFile(path), broken);
    }
    EXPECT_EQ(ReadFile(path), broken);
}

TEST_F(LanguageModuleTest, SaveWritesAtOnceAndClearsModified)
{
    const std::string path = Folder.File("Language.XML");
    TLanguageModule module(path, kTag);
    module.Translate("_Brand");
    module.Save();
    EXPECT_FALSE(module.Modified());
    EXPECT_NE(ReadFile(path).find("<_Brand language0=\"_Brand\" language1=\"_Brand\">"), std::string::npos);
    EXPECT_TRUE(module.LoadError().empty());
}

TEST_F(LanguageModuleTest, FailedSaveRaisesButDestructionDoesNot)
{
    const std::string path = Folder.File("NoSuchFolder/Language.XML");
    auto module = std::make_unique<TLanguageModule>(path, kTag);
    module->Translate("_Brand");
    EXPECT_ANY_THROW(module->Save());
    EXPECT_NO_THROW(module.reset());
}

TEST_F(LanguageModuleTest, FirstModuleIsTheProcessDictionary)
{
    EXPECT_EQ(dictionary::LanguageModule(), nullptr);
    // Without a dictionary a key loses only its ampersands.
    EXPECT_EQ(dictionary::Translate("_&Open:"), "_Open:");
    EXPECT_EQ(dictionary::Translate("Save & exit"), "Save & exit");
    {
        TLanguageModule first(WriteSmallDictionary(), kTag);
        TLanguageModule second(Folder.File("Other.XML"), kTag);
        EXPECT_EQ(dictionary::LanguageModule(), &first);
        EXPECT_EQ(dictionary::Translate("_Open"), "Megnyitás");
    }
    EXPECT_EQ(dictionary::LanguageModule(), nullptr);
}

TEST_F(LanguageModuleTest, CompositionsJoinEveryLanguageAndRestoreTheIndex)
{
    TLanguageModule module(WriteSmallDictionary(), kTag);
    dictionary::SetLanguageIndex(1);
    EXPECT_EQ(module.AllLanguagesTitle("_Cost"), "Költség|Cost");
    EXPECT_EQ(module.TitleWithValue("_Cost"), "Költség: %|Cost: %");
    EXPECT_EQ(module.SubtotalLabel("_Cost"), "Költség részösszeg:|Cost subtotal:");
    EXPECT_EQ(module.SubtotalCountLabel("_Cost", "_pcs"), "Költség részösszeg: % db|Cost subtotal: % pcs");
    EXPECT_EQ(dictionary::LanguageIndex(), 1);
    // An unknown key composes as itself in both languages.
    EXPECT_EQ(module.AllLanguagesTitle("_Brand"), "_Brand|_Brand");
    EXPECT_THROW(module.TitleWithValue("_Bad key"), platform::TXmlError);
    EXPECT_EQ(dictionary::LanguageIndex(), 1);
    // Field titles that are multi-language texts keep one part per language.
    EXPECT_EQ(module.AllLanguagesTitle("Dátum|Date"), "Dátum|Date");
    EXPECT_EQ(module.TitleWithValue("Dátum|Date"), "Dátum: %|Date: %");
    EXPECT_EQ(module.SubtotalLabel("Dátum|Date"), "Dátum részösszeg:|Date subtotal:");
}

TEST_F(LanguageModuleTest, ConcurrentLookupsAddEachWordOnce)
{
    TLanguageModule module(WriteSmallDictionary(), kTag);
    constexpr int threads = 4, keys = 150;
    std::vector<std::thread> workers;
    std::vector<int> wrong(threads, 0);
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int k = 0; k < keys; ++k) {
                const std::string key = "_Key" + std::to_string(k);
                if (module.Translate(key) != key) ++wrong[t];
                if (module.Translate("_Open") != "Megnyitás") ++wrong[t];
            }
        });
    }
    for (auto &w : workers) w.join();
    for (int t = 0; t < threads; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;
    std::set<std::string> names;
    int words = 0;
    for (pugi::xml_node w = module.Words.Root().first_child(); w; w = w.next_sibling(), ++words) names.insert(w.name());
    EXPECT_EQ(words, 5 + keys);
    EXPECT_EQ(names.size(), std::size_t(5 + keys));
}

}  // namespace
