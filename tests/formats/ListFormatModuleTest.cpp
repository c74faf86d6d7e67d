// The format document's own operations, the separator rule and the writer.
#include "formats/FormatXMLModuleUnit.h"
#include "formats/ListFormatModuleUnit.h"
#include "platform/FileUnit.h"
#include "tests/formats/FormatTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using formattest::AttributeList;
using formattest::TFormatFixture;

TEST(ListFormatModule, NewFormatAttributesPerFormatType)
{
    TFormatFixture f(formattest::kDetailedType);
    struct Case { const char *type; int level; const char *attributes; };
    const Case cases[] = {
        {"normal", 0, "name= formattype=normal language=0 listfilename=LIST-IDENTIFIER controlbreaks=1 "
                      "dateseparator=/ decimalsign=,"},
        {"csv", 0, "name= formattype=csv language=0 listfilename=LIST-IDENTIFIER controlbreaks=1 "
                   "columnseparator=; dateseparator=/ decimalsign=,"},
        {"excel", 0, "name= formattype=excel language=0 listfilename=LIST-IDENTIFIER controlbreaks=1 "
                     "dateseparator=/ decimalsign=, liveexcel=True"},
        // The one break is folded into the rows.
        {"normal", 1, "name= formattype=normal language=0 listfilename=LIST-IDENTIFIER controlbreaks=0 "
                      "dateseparator=/ decimalsign=,"},
    };
    for (const Case &c : cases) {
        f.Module.SetFormatType(c.type);
        f.Module.SetLevel(c.level);
        f.Module.Format.FileName = "old.XML";
        f.Module.NewFormat();
        EXPECT_EQ(AttributeList(f.Module.Format.Root()), c.attributes) << c.type << " " << c.level;
        EXPECT_EQ(f.Module.Format.FileName, "");
        EXPECT_EQ(formattest::ChildNames(f.Module.Format.Root()), "");
    }
}

TEST(ListFormatModule, NewFormatTakesLanguageAndBreaklessListTypes)
{
    TFormatFixture f("<listtype type=\"summary\" title=\"T\"><columns/></listtype>");
    f.Module.SetFormatType("normal");
    f.Module.SetLevel(2);
    dictionary::SetLanguageIndex(1);
    f.Module.NewFormat();
    dictionary::SetLanguageIndex(0);
    EXPECT_EQ(AttributeList(f.Module.Format.Root()),
              "name= formattype=normal language=1 listfilename=LIST-IDENTIFIER controlbreaks=0 "
              "dateseparator=/ decimalsign=,");
}

TEST(ListFormatModule, OrientationSetsSheetSize)
{
    TFormatFixture f(formattest::kDetailedType);
    f.Module.SetFormatType("normal");
    f.Module.NewFormat();
    const pugi::xml_node root = f.Module.Format.Root();
    f.Module.SetOrientation("portrait");
    EXPECT_EQ(std::string(root.attribute("width").value()) + "x" + root.attribute("height").value(), "2102x2972");
    f.Module.SetOrientation("landscape");
    EXPECT_EQ(std::string(root.attribute("width").value()) + "x" + root.attribute("height").value(), "2972x2102");
    EXPECT_STREQ(root.attribute("orientation").value(), "landscape");
}

TEST(ListFormatModule, MaxCellCountIsTheFullestBand)
{
    TFormatFixture f(formattest::kDetailedType);
    EXPECT_EQ(f.Module.GetMaxCellCount(), 0);   // no document at all
    f.Module.Format.LoadFromText("<listformat><page><a><x/></a><b><x/><y><s/><s/><s/></y><z/></b></page></listformat>");
    EXPECT_EQ(f.Module.GetMaxCellCount(), 3);   // sub-cells do not count
}

TEST(ListFormatModule, SeparatorRule)
{
    struct Case { const char *value; const char *text; char byte; };
    const Case cases[] = {
        {"#46", ".", '.'}, {"#9", "\t", '\t'}, {"#59", ";", ';'}, {"#", "#", '#'}, {";", ";", ';'},
        {"", "", '\0'},    {"X46", ".", '.'},   // any first character introduces the code
        {"ő", "ő", '\xF5'},                      // one character, two UTF-8 bytes
        {"#245", "ő", '\xF5'},                   // a code of the Windows-1250 page
    };
    for (const Case &c : cases) {
        EXPECT_EQ(formats::SeparatorText(c.value), c.text) << c.value;
        EXPECT_EQ(formats::SeparatorByte(c.value), c.byte) << c.value;
    }
    for (const char *bad : {"ab", "#4x", "#256", "#-1", "# 9"})
        EXPECT_THROW(formats::SeparatorText(bad), platform::TConversionError) << bad;
}

TEST(FormatXMLModule, WritesTheExactText)
{
    formats::TFormatXMLModule writer;
    writer.Document.LoadFromText("<listformat><page><band a=\"1\"/></page><empty/></listformat>");
    pugi::xml_node root = writer.Document.Root();
    root.prepend_attribute("t").set_value("ő€");
    root.prepend_attribute("q").set_value("<x> \"y\" 'z'");
    root.prepend_attribute("name").set_value("a&amp;b");
    root.child("empty").append_attribute("none");
    EXPECT_EQ(writer.FormatText(),
              "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" standalone=\"yes\"?>\r\n"
              "<listformat name=\"a&amp;amp;b\" q=\"&lt;x&gt; &quot;y&quot; &apos;z&apos;\" t=\"\xF5&#8364;\" >\r\n"
              "  <page >\r\n"
              "    <band a=\"1\" />\r\n"
              "  </page>\r\n"
              "  <empty none=\"\" />\r\n"
              "</listformat>\r\n");
    writer.SetIndent("\t");
    EXPECT_NE(writer.FormatText().find("\r\n\t<page >\r\n\t\t<band a=\"1\" />\r\n\t</page>\r\n"), std::string::npos);
}

TEST(FormatXMLModule, SavedFormatReadsBackAndReplacesTheFile)
{
    TFormatFixture f(formattest::kDetailedType);
    f.Module.Format.LoadFromText("<listformat name=\"Hívások &lt;új&gt;\"><page><item/></page></listformat>");
    const std::string path = f.Folder.File("format.XML");
    testsupport::WriteFile(path, "old contents that are longer than the new file will be, by far, really");
    f.Module.SaveToFile(path);
    platform::TXmlDocument back;
    back.LoadFromFile(path);
    EXPECT_EQ(back.Encoding(), "ISO-8859-2");
    EXPECT_EQ(platform::ElementXml(back.Root()), platform::ElementXml(f.Module.Format.Root()));
    EXPECT_EQ(testsupport::ReadFile(path).find("old contents"), std::string::npos);
}

TEST(FormatXMLModule, FailedSaveLeavesNoPartialFile)
{
    TFormatFixture f(formattest::kDetailedType);
    f.Module.Format.LoadFromText("<listformat><page/></listformat>");
    // A folder stands where the file should go: the rename fails.
    const std::string target = f.Folder.File("taken.XML");
    std::filesystem::create_directory(target);
    EXPECT_ANY_THROW(f.Module.SaveToFile(target));
    EXPECT_TRUE(platform::DirectoryExists(target));
    int entries = 0;
    for (const auto &entry : std::filesystem::directory_iterator(f.Folder.Path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 2);   // the dictionary and the folder, no temporary left over
}

}  // namespace
