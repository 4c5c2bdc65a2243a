// What the serialiser writes must always read back: characters XML forbids are left out,
// comments, processing instructions and CDATA sections are kept well-formed, and UTF-8 goes
// to the stream as the serialiser makes it.
#include "platform/MemoryStream.h"
#include "platform/Unicode.h"
#include "tests/support/Growth.h"
#include "xml/XpObjModel.h"
#include "xml/XpTextUtf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace stellik::testing {
namespace {

// Vertical tab, SOH, U+FFFE, U+FFFF, an encoded surrogate, then an overlong "<" (no UTF-8).
const std::string Forbidden = "a\x0B"
                              "b\x01"
                              "c\xEF\xBF\xBE"
                              "d\xEF\xBF\xBF"
                              "e\xED\xA0\x80"
                              "f\xC0\xBC"
                              "g";
const std::u16string Kept = u"abcdef\uFFFD\uFFFDg";

// A node of the given kind holding the UTF-8 bytes as they are, beside the root's attribute.
void AddRaw(TXpObjModel& model, TXpNodeType kind, const std::string& bytes) {
    TXpNode root = model.DocumentElement();
    xmlDoc* doc = model.Handle();
    const xmlChar* text = ToXmlChar(bytes);
    const int length = static_cast<int>(bytes.size());
    switch (kind) {
    case TXpNodeType::Attribute:
        xmlNewProp(root.Handle(), ToXmlChar("v"), text);
        break;
    case TXpNodeType::Text:
        xmlAddChild(root.Handle(), xmlNewDocTextLen(doc, text, length));
        break;
    case TXpNodeType::CDataSection:
        AppendCDataSectionUtf8(root, bytes);
        break;
    case TXpNodeType::Comment:
        xmlAddChild(root.Handle(), xmlNewDocComment(doc, text));
        break;
    default:
        xmlAddChild(root.Handle(), xmlNewDocPI(doc, ToXmlChar("pi"), text));
        break;
    }
}

TEST(Save, WhatIsWrittenAlwaysReadsBack) {
    struct TCase {
        TXpNodeType Kind;
        std::string Bytes;
        std::u16string ReadBack;
    };
    const std::vector<TCase> cases = {
        {TXpNodeType::Text, Forbidden, Kept},
        {TXpNodeType::Attribute, Forbidden, Kept},
        // Written as they are, a parser would read these three as spaces.
        {TXpNodeType::Attribute, "a\tb\nc\rd\r\ne", u"a\tb\nc\rd\r\ne"},
        {TXpNodeType::CDataSection, Forbidden, Kept},
        {TXpNodeType::CDataSection, "x]]\x01>y]]>", u"x]]>y]]>"},
        {TXpNodeType::Comment, Forbidden, Kept},
        {TXpNodeType::Comment, "x--y\x0B-", u"x- -y- "},
        {TXpNodeType::Comment, "-\x01--", u"- - - "},
        {TXpNodeType::ProcessingInstruction, Forbidden, Kept},
        {TXpNodeType::ProcessingInstruction, "x?\x01>y?>", u"x? >y? >"},
    };
    for (bool keep : {false, true}) {
        for (const TCase& c : cases) {
            TXpObjModel model;
            model.SetKeepCharacters(keep);
            model.Document().AppendChild(model.CreateElement(u"r"));
            AddRaw(model, c.Kind, c.Bytes);
            TMemoryStream saved;
            model.SaveToStream(saved);
            const std::string_view bytes = saved.View();
            for (unsigned char b : bytes) {
                EXPECT_TRUE(b >= 0x20 || b == '\t' || b == '\n' || b == '\r') << bytes;
            }
            for (const char* reference : {"&#11;", "&#1;", "&#65534;", "&#65535;", "&#55296;"}) {
                EXPECT_EQ(bytes.find(reference), std::string_view::npos) << bytes;
            }
            TXpObjModel back;
            back.SetNormalizeData(false);
            saved.SetPosition(0);
            ASSERT_TRUE(back.LoadStream(saved)) << bytes;
            const TXpNode root = back.DocumentElement();
            const TXpNode node =
                c.Kind == TXpNodeType::Attribute ? root.GetAttributeNode(u"v") : root.FirstChild();
            EXPECT_EQ(node.NodeType(), c.Kind) << bytes;
            EXPECT_EQ(node.NodeValue(), c.ReadBack) << bytes << (keep ? " kept" : " references");
        }
    }
}

// Large CDATA text is checked and written a block at a time (blocks of 128 KB); whatever
// falls where a block ends -- "]]>" across the boundary, a run of "]", a forbidden character
// or a character of several bytes after plain blocks -- the section is written as a whole
// would be: without the forbidden characters, split between "]]" and ">".
TEST(Save, LargeCDataSectionsAreWrittenTheSameWhereverTheirBlocksEnd) {
    constexpr size_t Block = size_t{128} << 10;
    const std::string plain(Block, 'Q');
    const auto at = [&](size_t offset, const std::string& piece) {
        return std::string(offset, 'Q') + piece + plain + plain;
    };
    const std::vector<std::pair<std::string, std::string>> cases = {
        {at(Block - 2, "]]>"), at(Block - 2, "]]]]><![CDATA[>")},
        {at(Block - 1, "]]>"), at(Block - 1, "]]]]><![CDATA[>")},
        {at(Block - 3, std::string(7, ']') + ">"), at(Block - 3, "]]]]]]]]]><![CDATA[>")},
        {std::string(Block + 5, ']'), std::string(Block + 5, ']')},
        {at(2 * Block + 7, "]]\x01>"), at(2 * Block + 7, "]]]]><![CDATA[>")},
        {at(Block + 1, "\xD0\x81\x0B"), at(Block + 1, "\xD0\x81")},
        {plain + plain + "]", plain + plain + "]"},
    };
    for (const auto& [content, written] : cases) {
        TXpObjModel model;
        AppendCDataSectionUtf8(model.Document().AppendChild(model.CreateElement(u"r")), content);
        TMemoryStream saved;
        model.SaveToStream(saved);
        EXPECT_TRUE(saved.View() == "\xEF\xBB\xBF<r><![CDATA[" + written + "]]></r>")
            << content.size();
    }
}

TEST(Save, Utf8GoesToTheStreamAsTheTextOfTheDocument) {
    TXpObjModel model;
    model.Document().AppendChild(
        model.CreateProcessingInstruction(u"xml", u"version=\"1.0\" encoding=\"utf-8\""));
    TXpNode root = model.Document().AppendChild(model.CreateElement(u"EncryptedData"));
    root.SetAttribute(u"title", W("Тест"));
    std::string cipher(300000, 'Q'); // above the block the serialiser gathers
    for (size_t i = 76; i < cipher.size(); i += 77) {
        cipher[i] = '\n';
    }
    AppendCDataSectionUtf8(root.AppendElement(u"CipherValue"), cipher);
    root.AppendTextNode(W("ёж"));
    const std::string text = "\xEF\xBB\xBF" + Utf16ToUtf8(model.GetXmlText());
    EXPECT_NE(text.find("title=\"&#1058;&#1077;&#1089;&#1090;\""), std::string::npos);

    // Written at the position: what stands before it stays, and so does a longer tail.
    for (const std::string& before :
         {std::string(), std::string("head"), std::string(400000, 't')}) {
        TMemoryStream stream(before);
        stream.SetPosition(before.empty() ? 0 : 2);
        model.SaveToStream(stream);
        const size_t start = before.empty() ? 0 : 2;
        EXPECT_EQ(stream.GetPosition(), start + text.size());
        EXPECT_EQ(stream.GetSize(), std::max(before.size(), start + text.size()));
        EXPECT_TRUE(stream.View().substr(0, start) == std::string_view(before).substr(0, start));
        EXPECT_TRUE(stream.View().substr(start, text.size()) == text);
        if (before.size() > start + text.size()) {
            EXPECT_TRUE(stream.View().substr(start + text.size()) ==
                        std::string_view(before).substr(start + text.size()));
        }
    }
}

// A large member is saved whole, in time that grows with its size and no faster.
TEST(Save, ALargeMemberIsSavedInTimeLinearInItsSize) {
    constexpr size_t MiB = size_t{1} << 20;
    std::map<size_t, TXpObjModel> models;
    for (size_t size : {16 * MiB, 64 * MiB}) {
        std::string cipher(size, 'Q');
        for (size_t i = 76; i < cipher.size(); i += 77) {
            cipher[i] = '\n';
        }
        TXpObjModel& model = models[size];
        AppendCDataSectionUtf8(model.Document().AppendChild(model.CreateElement(u"CipherValue")),
                               cipher);
    }
    // Streams of their own, kept between runs: the first run pays for the fresh pages.
    std::map<size_t, TMemoryStream> streams;
    const auto save = [&](size_t size) {
        TMemoryStream& stream = streams[size];
        stream.Clear();
        models.at(size).SaveToStream(stream);
        EXPECT_EQ(
            stream.GetSize(),
            size + std::string_view("\xEF\xBB\xBF<CipherValue><![CDATA[]]></CipherValue>").size());
    };
    EXPECT_TRUE(ScalesLinearly(BestCpuSeconds(save), 16 * MiB));
}

} // namespace
} // namespace stellik::testing
