#include "platform/CodePageUnit.h"
#include "platform/FileUnit.h"
#include "platform/StreamUnit.h"
#include "platform/XmlDocumentUnit.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace platform;

TEST(CodePage, Windows1250RoundTrip)
{
    const TCodePage page("WINDOWS-1250");
    // "Árvíztűrő" in Windows-1250 bytes, worked from the code chart.
    const std::string bytes = "\xC1rv\xEDzt\xFBr\xF5";
    EXPECT_EQ(page.Decode(bytes), "Árvíztűrő");
    EXPECT_EQ(page.Encode("Árvíztűrő"), bytes);
    EXPECT_EQ(page.Encode("a€b"), "a\x80" "b");       // the euro sign is 0x80 there
    EXPECT_EQ(page.Encode("a\xE4\xB8\xAD" "b"), "a?b");  // a CJK character has no byte
}

TEST(Xml, DeclaredEncodingIsHonouredBothWays)
{
    // ő is 0xF5 in ISO-8859-2; € has no code there and must survive as a reference.
    const std::string text = "<?xml version=\"1.0\" encoding=\"ISO-8859-2\" standalone=\"yes\"?>"
                             "<words><_Total language0=\"\xD6sszesen\" language1=\"Total\"/></words>";
    TXmlDocument doc;
    doc.LoadFromText(text);
    EXPECT_EQ(AttributeText(doc.Root().child("_Total"), "language0"), "Összesen");
    EXPECT_EQ(AttributeText(doc.Root().child("_Total"), "missing"), "");
    doc.Root().child("_Total").attribute("language1").set_value("x\xE2\x82\xAC" "y");  // x€y
    const std::string saved = doc.SaveToText();
    EXPECT_EQ(saved.rfind("<?xml version=\"1.0\" encoding=\"ISO-8859-2\" standalone=\"yes\"?>", 0), 0u) << saved;
    EXPECT_NE(saved.find("language0=\"\xD6sszesen\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("x&#8364;y"), std::string::npos) << saved;
    TXmlDocument back;
    back.LoadFromText(saved);
    EXPECT_EQ(AttributeText(back.Root().child("_Total"), "language1"), "x€y");
}

TEST(Xml, ElementOrderAndParseErrors)
{
    TXmlDocument doc;
    doc.LoadFromText("<r b=\"2\" a=\"1\"><z/><y/></r>");
    EXPECT_EQ(ElementXml(doc.Root()), "<r b=\"2\" a=\"1\"><z/><y/></r>");
    EXPECT_THROW(doc.LoadFromText("<r><unclosed></r>"), TXmlError);
    EXPECT_TRUE(doc.IsEmpty());
    EXPECT_THROW(doc.LoadFromText(""), TXmlError);
    EXPECT_THROW(doc.LoadFromText("{?xml version=\"1.0\"?><r/>"), TXmlError);   // stray text
    EXPECT_THROW(doc.LoadFromText("<r/><s/>"), TXmlError);
    EXPECT_THROW(doc.LoadFromText("<r a=\"\xF3\"/>"), TXmlError);                // not UTF-8, none declared
}

TEST(Xml, ConversionsOfAttributes)
{
    TXmlDocument doc;
    doc.LoadFromText("<r t=\"TRUE\" f=\"false\" n=\"2\" z=\"0\" bad=\"yes\" i=\"-17\" x=\"1.5\"/>");
    const auto r = doc.Root();
    EXPECT_TRUE(AttributeAsBoolean(r, "t"));
    EXPECT_FALSE(AttributeAsBoolean(r, "f"));
    EXPECT_TRUE(AttributeAsBoolean(r, "n"));
    EXPECT_FALSE(AttributeAsBoolean(r, "z"));
    EXPECT_THROW(AttributeAsBoolean(r, "bad"), TConversionError);
    EXPECT_THROW(AttributeAsBoolean(r, "missing"), TConversionError);
    EXPECT_EQ(AttributeAsInteger(r, "i"), -17);
    EXPECT_THROW(AttributeAsInteger(r, "x"), TConversionError);
    EXPECT_THROW(AttributeAsInteger(r, "missing"), TConversionError);
    EXPECT_EQ(ElementChildCount(r), 0);
    EXPECT_THROW(ElementChild(r, 0), std::out_of_range);
}

TEST(FileStream, WindowedReadsAndReadErrors)
{
    testsupport::TTempFolder folder;
    std::string bytes(200000, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7);
    testsupport::WriteFile(folder.File("f.bin"), bytes);
    TFileStream stream(folder.File("f.bin"), TFileStream::TMode::Read);
    EXPECT_EQ(stream.Size(), 200000);
    char got[10];
    for (std::int64_t pos : {0LL, 65530LL, 199990LL, 100LL}) {  // across the window edge and back
        stream.Seek(pos);
        stream.ReadBuffer(got, 10);
        EXPECT_EQ(std::string(got, 10), bytes.substr(std::size_t(pos), 10)) << pos;
    }
    stream.Seek(199995);
    EXPECT_THROW(stream.ReadBuffer(got, 10), TStreamError);
    EXPECT_THROW(TFileStream(folder.File("missing"), TFileStream::TMode::Read), TStreamError);
}

TEST(FileStream, WritesLittleEndianAndSeeksBack)
{
    testsupport::TTempFolder folder;
    {
        TFileStream out(folder.File("o.bin"), TFileStream::TMode::Create);
        out.WriteInt32(0x01020304);
        out.WriteDouble(1.0);
        out.Seek(0);
        out.WriteInt32(-2);
        out.Flush();
    }
    EXPECT_EQ(testsupport::ReadFile(folder.File("o.bin")),
              std::string("\xFE\xFF\xFF\xFF" "\x00\x00\x00\x00\x00\x00\xF0\x3F", 12));
}

TEST(AtomicWrite, ReplacesWholeFileAndFailsCleanly)
{
    testsupport::TTempFolder folder;
    const std::string target = folder.File("Screen.XML");
    testsupport::WriteFile(target, "old");
    WriteFileAtomically(target, "new text");
    EXPECT_EQ(testsupport::ReadFile(target), "new text");
    // A folder that does not exist: the write fails and leaves nothing behind.
    EXPECT_THROW(WriteFileAtomically(folder.File("missing/x.XML"), "x"), TStreamError);
    if (::geteuid() != 0) {  // root writes through any mode
        ::chmod(folder.Path().c_str(), 0500);
        EXPECT_THROW(WriteFileAtomically(target, "lost"), TStreamError);
        ::chmod(folder.Path().c_str(), 0700);
        EXPECT_EQ(testsupport::ReadFile(target), "new text");
    }
}

TEST(Paths, NamesAndExtensions)
{
    EXPECT_EQ(ExtractFileExt("/a/b.c/list.TarvilexList"), ".TarvilexList");
    EXPECT_EQ(ExtractFileExt("/a/b.c/noext"), "");
    EXPECT_EQ(ChangeFileExt("/p/TarvilexViewer", ".LOG"), "/p/TarvilexViewer.LOG");
    EXPECT_EQ(NativePath("C:\\TARVILEX\\USERS"), "C:/TARVILEX/USERS");
}
