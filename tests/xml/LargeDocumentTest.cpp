// Documents far beyond libxml2's default bound of 10 MB per text load; documents that make the
// parser produce far more than they hold, or nest absurdly deep, are refused at once.
#include "platform/MemoryStream.h"
#include "platform/Unicode.h"
#include "tests/support/Growth.h"
#include "tests/xml/CipherText.h"
#include "xml/XpErrors.h"
#include "xml/XpObjModel.h"
#include "xml/XpTextUtf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace stellik::testing {
namespace {

constexpr size_t MiB = size_t{1} << 20;

// An encrypted package member holding one cipher value of the given text.
std::string EncryptedMember(const std::string& cipherText, bool cdata) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
           "<EncryptedData xmlns=\"http://www.w3.org/2001/04/xmlenc#\"><CipherData><CipherValue>" +
           (cdata ? "<![CDATA[" + cipherText + "]]>" : cipherText) +
           "</CipherValue></CipherData></EncryptedData>";
}

TEST(LargeDocument, ATextOrCDataSectionAboveTenMegabytesLoads) {
    const std::string cipherText = CipherText(12 * MiB + 5);
    for (bool cdata : {false, true}) {
        TXpObjModel model;
        model.SetRaiseErrors(true);
        model.SetNormalizeData(false);
        TMemoryStream stream(EncryptedMember(cipherText, cdata));
        ASSERT_TRUE(model.LoadStream(stream)) << cdata;
        // Compared as a whole, never printed.
        EXPECT_TRUE(SelectStringUtf8(model.DocumentElement(), u"CipherData/CipherValue") ==
                    cipherText)
            << cdata;
    }
}

TEST(LargeDocument, AHundredMegabyteCipherValueLoads) {
    const std::string cipherText = CipherText(100 * MiB);
    TXpObjModel model;
    ASSERT_TRUE(model.LoadBytes(EncryptedMember(cipherText, true)));
    EXPECT_EQ(SelectStringUtf8(model.DocumentElement(), u"CipherData/CipherValue").size(),
              cipherText.size());
}

TEST(LargeDocument, ACipherValueLoadsInTimeLinearInItsSize) {
    std::map<size_t, std::string> members;
    for (size_t size : {2 * MiB, 8 * MiB}) {
        members[size] = EncryptedMember(CipherText(size), true);
    }
    const auto load = [&](size_t size) {
        TXpObjModel model;
        EXPECT_TRUE(model.LoadBytes(members.at(size)));
    };
    EXPECT_TRUE(ScalesLinearly(BestCpuSeconds(load), 2 * MiB));
}

// However a large section stands in the text, it reads as the parser reads any section.
TEST(LargeDocument, LargeCDataSectionsReadAsAnySection) {
    const std::string plain = CipherText(100000);
    const std::string section = "<![CDATA[" + plain + "]]>";
    std::string withCr = plain;
    withCr[500] = '\r';
    const std::string cyrillic = Utf16ToUtf8(std::u16string(60000, u'Ж'));
    struct TCase {
        std::string Document;
        std::vector<std::string> Values; // of the root's children
    };
    const std::vector<TCase> cases = {
        {"<r>" + section + "<b/>" + section + "</r>", {plain, "", plain}},
        {"<r><!--" + section + "-->" + section + "</r>", {section, plain}},
        {"<r><?pi " + section + "?><x>" + section + "</x></r>", {section, plain}},
        {"<r><!--" + section + "--></r>", {section}},
        {"<r><![CDATA[" + withCr + "]]></r>", {plain.substr(0, 500) + "\n" + plain.substr(501)}},
        {"<r><![CDATA[" + cyrillic + "]]></r>", {cyrillic}},
    };
    for (const TCase& c : cases) {
        TXpObjModel model;
        model.SetNormalizeData(false);
        ASSERT_TRUE(model.LoadBytes(c.Document));
        std::vector<std::string> values;
        for (const TXpNode child : model.DocumentElement().ChildNodes()) {
            values.push_back(Utf16ToUtf8(
                child.NodeType() == TXpNodeType::Element ? child.GetText() : child.NodeValue()));
        }
        EXPECT_TRUE(values == c.Values) << c.Document.substr(0, 40);
    }
    // A document that is not well-formed after such a section gets the parser's own report.
    TXpObjModel model;
    model.SetRaiseErrors(true);
    try {
        model.LoadBytes("<r>\n" + section + "\n<b></r>");
        FAIL() << "no error";
    } catch (const EXpParserError& e) {
        EXPECT_EQ(e.GetLine(), 3 + static_cast<int>(std::count(plain.begin(), plain.end(), '\n')));
    }
}

// Each document must be refused: without a bound the parser would expand gigabytes or recurse
// without end.
TEST(LargeDocument, EntityAmplificationAndAbsurdNestingAreRefused) {
    std::string laughs = "<!DOCTYPE lolz [<!ENTITY lol0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        laughs += "<!ENTITY lol" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) {
            laughs += "&lol" + std::to_string(i - 1) + ";";
        }
        laughs += "\">";
    }
    laughs += "]>";
    const std::string bigEntity = "<!ENTITY x \"" + std::string(100000, 'a') + "\">";
    const std::string bigParameter = "<!ENTITY % p \"" + std::string(100000, ' ') + "\">";
    std::string references, parameterReferences;
    for (int i = 0; i < 20000; ++i) {
        references += "&x;";
        parameterReferences += "%p;";
    }
    std::string deep;
    for (int i = 0; i < 100000; ++i) {
        deep += "<a>";
    }
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"billion laughs in text", laughs + "<lolz>&lol9;</lolz>"},
        {"billion laughs in an attribute", laughs + "<lolz a=\"&lol9;\"/>"},
        {"one entity many times in text",
         "<!DOCTYPE a [" + bigEntity + "]><a>" + references + "</a>"},
        {"one entity many times in an attribute",
         "<!DOCTYPE a [" + bigEntity + "]><a b=\"" + references + "\"/>"},
        {"one parameter entity many times",
         "<!DOCTYPE a [" + bigParameter + parameterReferences + "]><a/>"},
        {"a reference loop", "<!DOCTYPE a [<!ENTITY x \"&y;\"><!ENTITY y \"&x;\">]><a>&x;</a>"},
        {"absurd nesting", deep},
    };
    for (const auto& [name, bytes] : cases) {
        TXpObjModel model;
        EXPECT_FALSE(model.LoadBytes(bytes)) << name;
        EXPECT_TRUE(model.DocumentElement().IsNull()) << name;
    }
    // Within the bounds both are used as usual.
    std::string nested, closing;
    for (int i = 0; i < 256; ++i) {
        nested += "<a>";
        closing += "</a>";
    }
    TXpObjModel model;
    EXPECT_TRUE(model.LoadBytes(nested + "x" + closing));
    EXPECT_TRUE(model.LoadBytes(laughs.substr(0, laughs.find("<!ENTITY lol4")) +
                                "]><lolz b=\"&lol3;\">&lol3;&lol3;</lolz>"));
    EXPECT_EQ(model.DocumentElement().GetText().size(), 6000u);
    EXPECT_EQ(model.DocumentElement().GetAttribute(u"b").size(), 3000u);
}

} // namespace
} // namespace stellik::testing
