#include "platform/MemoryStream.h"
#include "xml/XpCharEncoding.h"
#include "xml/XpCharFilter.h"
#include "xml/XpErrors.h"
#include "xml/XpInputFilter.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <memory>

namespace stellik::testing {
namespace {

TEST(CharEncoding, NamesFormatsAndTheirFallbacks) {
    EXPECT_EQ(XpCharEncodingName(ceUnknown), u"Unknown");
    EXPECT_EQ(XpCharEncodingName(ceUTF8), u"UTF-8");
    EXPECT_EQ(XpCharEncodingName(ceUTF16LE), u"UTF-16");
    EXPECT_EQ(XpCharEncodingName(ceUTF16BE), u"UTF-16");
    EXPECT_EQ(XpCharEncodingName(ceISO88591), u"ISO-8859-1");
    EXPECT_EQ(XpCharEncodingName(ceWindows1251), u"Windows-1251");
    std::u16string name = u"kept";
    XpCharEncodingToName(static_cast<TXpCharEncoding>(6), name);
    EXPECT_EQ(name, u"kept");

    EXPECT_EQ(XpNameToCharEncoding(u"Windows-1251"), ceWindows1251);
    EXPECT_EQ(XpNameToCharEncoding(u"windows-1251"), ceUTF8); // exact comparison
    EXPECT_EQ(XpNameToCharEncoding(u"UTF-16"), ceUTF16LE);
    EXPECT_EQ(XpNameToCharEncoding(u"ISO-8859-1"), ceISO88591);
    EXPECT_EQ(XpNameToCharEncoding(u""), ceUTF8);
    EXPECT_EQ(XpNameToCharEncoding(u"KOI8-R"), ceUTF8);

    for (uint8_t format = 0; format <= 4; ++format) {
        EXPECT_EQ(XpCharEncodingToFormat(XpFormatToCharEncoding(format)), format);
    }
    EXPECT_EQ(XpCharEncodingToFormat(ceUnknown), 3);
    EXPECT_EQ(XpFormatToCharEncoding(5), ceUnknown);
}

TEST(CharEncoding, Win1251TableMatchesTheSystemConverterAndIsOneToOne) {
    for (int byte = 0; byte < 256; ++byte) {
        uint32_t c = 0;
        ASSERT_TRUE(XpWin1251ToUcs4(static_cast<uint8_t>(byte), c));
        uint8_t back = 0;
        ASSERT_TRUE(XpUcs4ToWin1251(c, back)) << byte;
        EXPECT_EQ(back, byte);
        if (byte == 0x98) {
            EXPECT_EQ(c, 0x98u); // no character in the code page
            continue;
        }
        const char in = static_cast<char>(byte);
        gsize written = 0;
        std::unique_ptr<gchar, decltype(&g_free)> utf8(
            g_convert(&in, 1, "UTF-8", "CP1251", nullptr, &written, nullptr), g_free);
        ASSERT_NE(utf8, nullptr) << byte;
        EXPECT_EQ(g_utf8_get_char(utf8.get()), c) << byte;
    }
    uint32_t c = 0;
    XpWin1251ToUcs4(0xB8, c);
    EXPECT_EQ(c, 0x0451u);
    uint8_t byte = 0;
    EXPECT_TRUE(XpUcs4ToWin1251(0x20AC, byte));
    EXPECT_EQ(byte, 0x88);
    EXPECT_FALSE(XpUcs4ToWin1251(0x4E00, byte));
}

TEST(CharFilter, WritesEachFormatAndRefusesWhatWin1251CannotHold) {
    TMemoryStream stream;
    TXpOutCharFilter filter(stream, cfWindows1251);
    filter.WriteSignature(); // none for a code page
    EXPECT_TRUE(filter.WriteString(u"A\u0451\u20AC"));
    filter.Flush();
    EXPECT_EQ(stream.View(), std::string_view("A\xB8\x88", 3));

    TMemoryStream failing;
    TXpOutCharFilter bad(failing, cfWindows1251);
    bad.WriteChar('x');
    try {
        bad.WriteChar(0x4E00);
        FAIL() << "no conversion error";
    } catch (const EXpStreamError& e) {
        EXPECT_STREQ(e.what(), "Cannot convert UCS-4 character to Windows-1251");
    }
    EXPECT_EQ(failing.GetSize(), 0u); // the buffered byte was not written by the failing call

    TMemoryStream utf16;
    TXpOutCharFilter wide(utf16, cfUTF16BE);
    wide.WriteSignature();
    EXPECT_TRUE(wide.WriteString(u"a\U0001D11E"));
    EXPECT_FALSE(wide.WriteString(std::u16string(1, char16_t(0xDC00)))); // lone low surrogate
    wide.Flush();
    EXPECT_EQ(utf16.View(), std::string_view("\xFE\xFF\x00"
                                             "a\xD8\x34\xDD\x1E",
                                             8));
    EXPECT_FALSE(wide.SetFormat(cfUTF8)); // output has started
}

TEST(InputDecoding, DeclarationSwitchesOnlySingleByteInputs) {
    // Windows-1251 named in any letter case, with and without a UTF-8 mark.
    for (const std::string& prefix : {std::string(), std::string("\xEF\xBB\xBF")}) {
        const std::string bytes = prefix + "<?xml version=\"1.0\" encoding=\"windows-1251\"?>"
                                           "<a>\xCF\xF0\xE8\xE2\xE5\xF2\xB8\x98</a>";
        const auto in = XpDecodeInput(bytes);
        EXPECT_EQ(in.Encoding, ceWindows1251);
        EXPECT_EQ(in.Utf8(),
                  "<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>Привет\u0451\u0098</a>");
        EXPECT_EQ(in.DeclarationData, "version=\"1.0\" encoding=\"windows-1251\"");
    }
    const auto latin = XpDecodeInput("<?xml version='1.0' encoding='iso-8859-1' ?><a>\xE9</a>");
    EXPECT_EQ(latin.Encoding, ceISO88591);
    EXPECT_EQ(latin.Utf8(), "<?xml version='1.0' encoding='iso-8859-1' ?><a>\u00E9</a>");

    const std::string koi8 = "<?xml version=\"1.0\" encoding=\"KOI8-R\"?><a>\xD0\x9F</a>";
    const auto other = XpDecodeInput(koi8);
    EXPECT_EQ(other.Encoding, ceUTF8);
    EXPECT_EQ(other.Utf8(), koi8);
    EXPECT_EQ(other.Utf8().data(), koi8.data()) << "UTF-8 input is parsed where it lies";

    // A UTF-16 mark wins over the declaration.
    const std::u16string text = u"<?xml version=\"1.0\" encoding=\"Windows-1251\"?><a>Ж</a>";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char16_t u : text) {
        le += static_cast<char>(u & 0xFF), le += static_cast<char>(u >> 8);
        be += static_cast<char>(u >> 8), be += static_cast<char>(u & 0xFF);
    }
    EXPECT_EQ(XpDecodeInput(le).Encoding, ceUTF16LE);
    EXPECT_EQ(XpDecodeInput(be).Encoding, ceUTF16BE);
    EXPECT_EQ(XpDecodeInput(be).Utf8(),
              "<?xml version=\"1.0\" encoding=\"Windows-1251\"?><a>Ж</a>");
    EXPECT_EQ(XpDecodeInput("<a/>").Encoding, ceUTF8);
    EXPECT_EQ(XpDecodeInput("\xFF\xFE").Encoding, ceUTF8); // two bytes only: no detection
}

TEST(InputDecoding, DeclarationErrorsCarryTheirMessages) {
    auto messageOf = [](std::string_view bytes) -> std::string {
        try {
            XpDecodeInput(bytes);
        } catch (const EXpParserError& e) {
            EXPECT_GE(e.GetLine(), 1);
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(messageOf("<?xml version=\"1.1\"?><a/>"),
              "XMLPartner does not support XML specification greater than 1.0");
    EXPECT_EQ(messageOf("<?xml version=\"1.0\" standalone=\"maybe\"?><a/>"),
              "Standalone value must equal 'yes' or 'no'");
    EXPECT_EQ(messageOf("<?xml version=\"1.0\" standalone=\"yes\"?><a/>"), "no error");
    EXPECT_NE(messageOf("<?xml encoding=\"UTF-8\"?><a/>"), "no error");
    EXPECT_NE(messageOf("<?xml version=\"1.0\" encoding=\"1251\"?><a/>"), "no error");
}

} // namespace
} // namespace stellik::testing
