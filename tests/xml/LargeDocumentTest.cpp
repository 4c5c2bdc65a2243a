// Documents far beyond libxml2's default bound of 10 MB per text load; documents that make the
// parser produce far more than they hold, or nest absurdly deep, are refused at once.
#include "platform/MemoryStream.h"
#include "xml/XpErrors.h"
#include "xml/XpObjModel.h"
#include "xml/XpTextUtf8.h"

#include <gtest/gtest.h>

#include <chrono>

namespace stellik {
namespace {

constexpr size_t MiB = size_t{1} << 20;

// base64-like text of the given size, with a line break every 76 characters.
std::string CipherText(size_t size) {
    static constexpr std::string_view Alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text(size, 'A');
    for (size_t i = 0; i < size; ++i) {
        text[i] = (i + 1) % 77 == 0 ? '\n' : Alphabet[(i * 7) % 64];
    }
    return text;
}

// An encrypted package member holding one cipher value of the given text.
std::string EncryptedMember(const std::string& cipherText, bool cdata) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
           "<EncryptedData xmlns=\"http://www.w3.org/2001/04/xmlenc#\"><CipherData><CipherValue>" +
           (cdata ? "<![CDATA[" + cipherText + "]]>" : cipherText) +
           "</CipherValue></CipherData></EncryptedData>";
}

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
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
    // Element content of that size in many pieces, as a large test has it.
    std::string document = "<test>";
    while (document.size() < 20 * MiB) {
        document +=
            "<single id=\"q\"><p>Вопрос <b>1</b></p><answer rating=\"1\">Да</answer></single>";
    }
    document += "</test>";
    TXpObjModel model;
    ASSERT_TRUE(model.LoadBytes(document));
    EXPECT_GT(model.DocumentElement().SelectNodes(u"single").Length(), 200000u);
}

TEST(LargeDocument, AHundredMegabyteCipherValueLoads) {
    const std::string cipherText = CipherText(100 * MiB);
    const std::string bytes = EncryptedMember(cipherText, true);
    const auto start = std::chrono::steady_clock::now();
    TXpObjModel model;
    ASSERT_TRUE(model.LoadBytes(bytes));
    EXPECT_EQ(SelectStringUtf8(model.DocumentElement(), u"CipherData/CipherValue").size(),
              cipherText.size());
    EXPECT_LT(MillisecondsSince(start), 5000);
}

// Each document must be refused, and quickly: without a bound the parser would expand
// gigabytes or recurse without end.
TEST(LargeDocument, EntityAmplificationAndAbsurdNestingAreRefusedQuickly) {
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
        const auto start = std::chrono::steady_clock::now();
        TXpObjModel model;
        EXPECT_FALSE(model.LoadBytes(bytes)) << name;
        EXPECT_TRUE(model.DocumentElement().IsNull()) << name;
        EXPECT_LT(MillisecondsSince(start), 1000) << name;
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
} // namespace stellik
