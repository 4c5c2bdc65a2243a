#include "xml/XpCharEncoding.h"

#include <array>

namespace stellik {

const char16_t Win1251Table[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F, // F8
};

namespace {

const std::array<std::u16string_view, 6> EncodingNames = {
    u"Unknown", u"UTF-8", u"UTF-16", u"UTF-16", u"ISO-8859-1", u"Windows-1251"};

} // namespace

void XpCharEncodingToName(TXpCharEncoding encoding, std::u16string& name) {
    if (encoding < EncodingNames.size()) {
        name = EncodingNames[encoding];
    }
}

std::u16string XpCharEncodingName(TXpCharEncoding encoding) {
    std::u16string name;
    XpCharEncodingToName(encoding, name);
    return name;
}

TXpCharEncoding XpNameToCharEncoding(std::u16string_view name) {
    if (name == u"UTF-16") {
        return ceUTF16LE;
    }
    if (name == u"ISO-8859-1") {
        return ceISO88591;
    }
    if (name == u"Windows-1251") {
        return ceWindows1251;
    }
    return ceUTF8;
}

uint8_t XpCharEncodingToFormat(TXpCharEncoding encoding) {
    switch (encoding) {
    case ceUTF8:
        return cfUTF8;
    case ceUTF16LE:
        return cfUTF16LE;
    case ceUTF16BE:
        return cfUTF16BE;
    case ceWindows1251:
        return cfWindows1251;
    default:
        return cfISO88591;
    }
}

TXpCharEncoding XpFormatToCharEncoding(uint8_t format) {
    switch (format) {
    case cfUTF8:
        return ceUTF8;
    case cfUTF16LE:
        return ceUTF16LE;
    case cfUTF16BE:
        return ceUTF16BE;
    case cfISO88591:
        return ceISO88591;
    case cfWindows1251:
        return ceWindows1251;
    default:
        return ceUnknown;
    }
}

bool XpWin1251ToUcs4(uint8_t byte, uint32_t& character) {
    character = byte < 0x80 ? byte : Win1251Table[byte - 0x80];
    return true;
}

bool XpUcs4ToWin1251(uint32_t character, uint8_t& byte) {
    if (character < 0x80) {
        byte = static_cast<uint8_t>(character);
        return true;
    }
    // 128 entries: a linear search is as fast as a map and needs no set-up.
    for (int i = 0; i < 128; ++i) {
        if (Win1251Table[i] == character) {
            byte = static_cast<uint8_t>(0x80 + i);
            return true;
        }
    }
    return false;
}

bool XpUtf16ToUcs4(char16_t first, char16_t second, uint32_t& character, bool& twoUsed) {
    twoUsed = false;
    if (first >= 0xD800 && first <= 0xDBFF) {
        if (second < 0xDC00 || second > 0xDFFF) {
            return false;
        }
        character = 0x10000 + ((uint32_t(first) - 0xD800) << 10) + (uint32_t(second) - 0xDC00);
        twoUsed = true;
        return true;
    }
    if (first >= 0xDC00 && first <= 0xDFFF) {
        return false;
    }
    character = first;
    return true;
}

} // namespace stellik
