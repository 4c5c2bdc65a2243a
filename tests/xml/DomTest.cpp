#include "XmlTestSupport.h"

#include "platform/MemoryStream.h"
#include "platform/Unicode.h"
#include "xml/XpErrors.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TEST(Save, CyrillicBecomesDecimalReferencesByteForByte) {
    TXpObjModel model;
    model.Document().AppendChild(
        model.CreateProcessingInstruction(u"xml", u"version=\"1.0\" encoding=\"utf-8\""));
    TXpNode root = model.Document().AppendChild(model.CreateElement(u"test-results"));
    TXpNode user = root.AppendElement(u"user");
    user.SetAttribute(u"last-name", W("Иванов"));
    user.AppendTextNode(W("ё\tа\n<&>\"𝄞"));
    TMemoryStream stream;
    model.SaveToStream(stream);
    EXPECT_EQ(stream.View(),
              "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
              "<test-results><user last-name=\"&#1048;&#1074;&#1072;&#1085;&#1086;&#1074;\">"
              "&#1105;\t&#1072;&#10;&lt;&amp;&gt;\"&#119070;</user></test-results>");

    // Read back, the same characters come out.
    TXpObjModel again;
    stream.SetPosition(0);
    again.SetNormalizeData(false);
    ASSERT_TRUE(again.LoadStream(stream));
    EXPECT_EQ(again.DocumentElement().SelectString(u"user/@last-name"), W("Иванов"));
    EXPECT_EQ(again.DocumentElement().SelectString(u"user"), W("ё\tа\n<&>\"𝄞"));

    model.SetWriteUTF8Signature(false);
    model.SetKeepCharacters(true);
    TMemoryStream kept;
    model.SaveToStream(kept);
    EXPECT_EQ(kept.View().substr(0, 5), "<?xml");
    EXPECT_NE(kept.View().find("last-name=\"Иванов\">ё\tа\n&lt;"), std::string_view::npos);
}

TEST(Save, OtherOutputEncodings) {
    TXpObjModel model;
    model.SetKeepCharacters(true);
    TXpNode root = model.Document().AppendChild(model.CreateElement(W("вопрос")));
    root.AppendTextNode(W("Ёж €"));
    model.SetOutCharSet(ceWindows1251);
    TMemoryStream cp1251;
    model.SaveToStream(cp1251);
    EXPECT_EQ(cp1251.View(), "<\xE2\xEE\xEF\xF0\xEE\xF1>\xA8\xE6 \x88</\xE2\xEE\xEF\xF0\xEE\xF1>");

    root.AppendTextNode(u"\u4E00");
    TMemoryStream failing;
    try {
        model.SaveToStream(failing);
        FAIL() << "no conversion error";
    } catch (const EXpStreamError& e) {
        EXPECT_STREQ(e.what(), "Cannot convert UCS-4 character to Windows-1251");
    }

    model.SetOutCharSet(ceUTF16LE);
    TMemoryStream utf16;
    model.SaveToStream(utf16);
    EXPECT_EQ(utf16.View().substr(0, 4), std::string_view("\xFF\xFE<\x00", 4));
    TXpObjModel back;
    utf16.SetPosition(0);
    ASSERT_TRUE(back.LoadStream(utf16));
    EXPECT_EQ(back.DocumentElement().GetText(), W("Ёж €\u4E00"));
    EXPECT_EQ(back.InCharSet(), ceUTF16LE);
}

TEST(XPath, NamesMatchLiterallyPrefixIncluded) {
    // Built as the encryption layer builds its documents.
    TXpObjModel model;
    TXpNode data = model.Document().AppendChild(model.CreateElement(u"EncryptedData"));
    data.SetAttribute(u"xmlns", u"http://www.w3.org/2001/04/xmlenc#");
    data.SetAttribute(u"xmlns:ds", u"http://www.w3.org/2000/09/xmldsig#");
    data.SetAttribute(u"xsi:schemaLocation", u"x y");
    TXpNode value = data.AppendElement(u"ds:KeyInfo")
                        .AppendElement(u"EncryptedKey")
                        .AppendElement(u"CipherData")
                        .AppendElement(u"CipherValue");
    value.AppendCDataSection(u"S0VZ");
    data.AppendElement(u"CipherData").AppendElement(u"CipherValue").AppendCDataSection(u"REFUQQ==");
    EXPECT_EQ(model.GetXmlText(),
              u"<EncryptedData xmlns=\"http://www.w3.org/2001/04/xmlenc#\" "
              u"xmlns:ds=\"http://www.w3.org/2000/09/xmldsig#\" xsi:schemaLocation=\"x y\">"
              u"<ds:KeyInfo><EncryptedKey><CipherData><CipherValue><![CDATA[S0VZ]]></CipherValue>"
              u"</CipherData></EncryptedKey></ds:KeyInfo><CipherData><CipherValue>"
              u"<![CDATA[REFUQQ==]]></CipherValue></CipherData></EncryptedData>");

    TXpObjModel loaded;
    ASSERT_TRUE(loaded.LoadBytes(Utf16ToUtf8(model.GetXmlText())));
    const TXpNode root = loaded.DocumentElement();
    EXPECT_EQ(root.SelectString(u"ds:KeyInfo/EncryptedKey/CipherData/CipherValue"), u"S0VZ");
    EXPECT_EQ(root.SelectString(u"CipherData/CipherValue"), u"REFUQQ==");
    EXPECT_EQ(root.AttributeAt(0).NodeName(), u"xmlns");
    EXPECT_EQ(root.AttributeCount(), 3u);

    TXpObjModel prefixed;
    ASSERT_TRUE(prefixed.LoadBytes(
        "<xenc:EncryptedData xmlns:xenc=\"u\"><ds:KeyInfo><xenc:EncryptedKey><xenc:CipherData>"
        "<xenc:CipherValue>K</xenc:CipherValue></xenc:CipherData></xenc:EncryptedKey>"
        "</ds:KeyInfo></xenc:EncryptedData>"));
    EXPECT_EQ(
        prefixed.DocumentElement().SelectString(u"ds:KeyInfo/EncryptedKey/CipherData/CipherValue"),
        u"");
    EXPECT_EQ(prefixed.DocumentElement().SelectString(u"other:KeyInfo"), u"");
    EXPECT_EQ(prefixed.DocumentElement().SelectString(
                  u"ds:KeyInfo/xenc:EncryptedKey/xenc:CipherData/xenc:CipherValue"),
              u"K");
    EXPECT_THROW(root.SelectNodes(u"a[["), Exception);
}

TEST(Dom, NameIsComparesTheWholeNameAsWritten) {
    TXpObjModel model;
    ASSERT_TRUE(model.LoadBytes("<test a=\"1\" ab=\"2\"><ds:KeyInfo/><t>text</t></test>"));
    const TXpNode root = model.DocumentElement();
    const TXpNode prefixed = root.FirstChild();
    const TXpNode text = prefixed.NextSibling().FirstChild();
    struct {
        TXpNode Node;
        const char* Name;
        bool Same;
    } const cases[] = {
        {root, "test", true},
        {root, "tes", false},
        {root, "tests", false},
        {root, "Test", false},
        {root, "", false},
        {root.AttributeAt(0), "a", true},
        {root.AttributeAt(0), "ab", false},
        {root.AttributeAt(1), "ab", true},
        {root.AttributeAt(1), "a", false},
        {prefixed, "ds:KeyInfo", true},
        {prefixed, "KeyInfo", false},
        {prefixed, "ds:", false},
        {prefixed, "dsKeyInfo", false},
        {text, "#text", true},
        {text, "text", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.Node.NameIs(c.Name), c.Same) << c.Node.NodeNameUtf8() << " / " << c.Name;
    }
}

TEST(XPath, SelectionRelativeToAContextNode) {
    TXpObjModel model;
    ASSERT_TRUE(model.LoadBytes(
        "<sk-settings><save-results><path> a </path><path>b</path></save-results>"
        "<rating-level>2</rating-level><x><answer/></x><img src=\"p.gif\"/></sk-settings>"));
    const TXpNode root = model.DocumentElement();
    EXPECT_TRUE(root.SelectBoolean(u"save-results"));
    EXPECT_FALSE(root.SelectBoolean(u"test-time"));
    EXPECT_EQ(root.SelectString(u"save-results/path"), u"a");
    EXPECT_EQ(root.SelectString(u"test-time"), u"");
    const TXpNode x = root.SelectSingleNode(u"x");
    EXPECT_TRUE(x.SelectBoolean(u"./answer"));
    EXPECT_FALSE(root.SelectBoolean(u"./answer"));
    EXPECT_TRUE(root.SelectSingleNode(u"nothing").IsNull());
    const TXpNodeList sources = x.SelectNodes(u"//@src");
    ASSERT_EQ(sources.Length(), 1u);
    EXPECT_EQ(sources.Item(0).ParentNode().NodeName(), u"img");
    EXPECT_EQ(root.SelectNodes(u"save-results/path").GetXmlText(), u"<path>a</path><path>b</path>");
}

TEST(Dom, EditingKeepsOrderAndOwnership) {
    TXpObjModel model;
    model.SetNormalizeData(false);
    ASSERT_TRUE(model.LoadBytes("<t><tr align=\"justify\" valign=\"baseline\" char=\".\">"
                                "<caption>c</caption><td>1</td></tr></t>"));
    TXpNode row = model.DocumentElement().SelectSingleNode(u"tr");
    row.SetAttribute(u"align", u"left");  // replaced in place
    row.SetAttribute(u"bgcolor", u"red"); // appended
    row.RemoveAttribute(u"char");
    row.RemoveAttribute(u"absent");
    EXPECT_EQ(row.GetAttribute(u"absent"), u"");
    TXpOwnedNode caption = row.RemoveChild(row.SelectSingleNode(u"caption"));
    EXPECT_EQ(TXpNode(caption.get()).GetText(), u"c");
    EXPECT_THROW(row.RemoveChild(model.DocumentElement()), Exception);
    TXpNode first = row.InsertBefore(model.CreateElement(u"th"), row.FirstChild());
    first.Rename(u"td");
    first.AppendTextNode(u"0");
    EXPECT_EQ(model.GetXmlText(), u"<t><tr align=\"left\" valign=\"baseline\" bgcolor=\"red\">"
                                  u"<td>0</td><td>1</td></tr></t>");

    // Text pieces: spaced text joins non-empty pieces; Normalize merges adjacent text nodes.
    TXpNode cell = row.LastChild();
    TXpNode middle = cell.AppendElement(u"b");
    middle.AppendTextNode(u"two");
    cell.AppendTextNode(u"three");
    cell.AppendCDataSection(u"");
    EXPECT_EQ(cell.GetSpacedText(), u"1 two three");
    EXPECT_EQ(cell.GetText(), u"1twothree");
    cell.RemoveChild(middle);
    EXPECT_EQ(cell.ChildNodes().size(), 3u);
    cell.Normalize();
    EXPECT_EQ(cell.ChildNodes().size(), 2u);
    EXPECT_EQ(cell.FirstChild().NodeValue(), u"1three");
}

// A loaded document keeps short texts and values inside its nodes and names in a
// dictionary; every edit must work on them as on any other.
TEST(Dom, ShortTextsAndValuesOfALoadedDocumentCanBeEdited) {
    TXpObjModel model;
    model.SetNormalizeData(false);
    ASSERT_TRUE(model.LoadBytes("<r a=\"1\" b=\"xy\" c=\"a value longer than sixteen\">"
                                "<t>ab</t><u>c</u>d<v>e</v></r>"));
    TXpNode root = model.DocumentElement();
    root.SetAttribute(u"a", u"2");
    root.SetAttribute(u"b", u"a much longer value than before");
    root.RemoveAttribute(u"c");
    root.SetAttribute(u"d", u"new");
    TXpNode t = root.FirstChild();
    t.FirstChild().SetNodeValue(u"abc");
    TXpNode u = t.NextSibling();
    u.AppendTextNode(u"cd"); // merged into the short text before it
    root.RemoveChild(u.NextSibling().NextSibling());
    root.AppendTextNode(u"f");
    root.Normalize(false); // "d" and "f" become one text node
    t.Rename(u"w");
    EXPECT_EQ(model.GetXmlText(),
              u"<r a=\"2\" b=\"a much longer value than before\" d=\"new\"><w>abc</w><u>ccd</u>"
              u"df</r>");
    EXPECT_EQ(root.SelectString(u"u"), u"ccd");
    EXPECT_EQ(root.LastChild().NodeValue(), u"df");
    model.ClearDocument();
    EXPECT_TRUE(model.DocumentElement().IsNull());
}

TEST(Dom, ANodeOfAnotherDocumentOutlivesItsFirstDocument) {
    TXpObjModel target;
    TXpNode root = target.Document().AppendChild(target.CreateElement(u"page"));
    {
        TXpObjModel source;
        ASSERT_TRUE(source.LoadBytes("<doc><ds:KeyInfo ds:x=\"1\"><item id=\"a\">text</item>"
                                     "</ds:KeyInfo><tail/></doc>"));
        TXpNode info = source.DocumentElement().FirstChild();
        root.AppendChild(source.DocumentElement().RemoveChild(info));
        root.InsertBefore(source.DocumentElement().RemoveChild(
                              source.DocumentElement().SelectSingleNode(u"tail")),
                          root.FirstChild());
    } // the source document and its names are gone
    EXPECT_EQ(
        target.GetXmlText(),
        u"<page><tail/><ds:KeyInfo ds:x=\"1\"><item id=\"a\">text</item></ds:KeyInfo></page>");
    EXPECT_EQ(root.SelectString(u"ds:KeyInfo/item/@id"), u"a");
    EXPECT_EQ(root.SelectString(u"ds:KeyInfo/@ds:x"), u"1");
}

} // namespace
} // namespace stellik::testing
