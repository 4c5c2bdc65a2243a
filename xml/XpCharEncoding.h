// xml/XpCharEncoding.h -- the character encodings of the XML layer and the Windows-1251 code page
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stellik {

enum TXpCharEncoding : uint8_t {
    ceUnknown = 0,
    ceUTF8 = 1,
    ceUTF16LE = 2,
    ceUTF16BE = 3,
    ceISO88591 = 4,
    ceWindows1251 = 5,
};

// Byte formats of the character filters.
enum TXpCharFormat : uint8_t {
    cfUTF8 = 0,
    cfUTF16LE = 1,
    cfUTF16BE = 2,
    cfISO88591 = 3,
    cfWindows1251 = 4,
};

// "Unknown", "UTF-8", "UTF-16" (either byte order), "ISO-8859-1", "Windows-1251";
// a value above ceWindows1251 leaves name as it was.
void XpCharEncodingToName(TXpCharEncoding encoding, std::u16string& name);
// Convenience form of the above ("" for a value outside the enumeration).
std::u16string XpCharEncodingName(TXpCharEncoding encoding);

// Exact, case-sensitive: "UTF-8", "UTF-16", "ISO-8859-1", "Windows-1251"; anything else is UTF-8.
TXpCharEncoding XpNameToCharEncoding(std::u16string_view name);

// ceUnknown and out-of-range values give ISO-8859-1 (format 3).
uint8_t XpCharEncodingToFormat(TXpCharEncoding encoding);
// Out-of-range formats give ceUnknown.
TXpCharEncoding XpFormatToCharEncoding(uint8_t format);

// Characters of the bytes 0x80..0xFF; 0x98 has no character in the code page and stands for U+0098.
extern const char16_t Win1251Table[128];

// Always true: every byte has a character.
bool XpWin1251ToUcs4(uint8_t byte, uint32_t& character);
// False when the code page has no byte for the character.
bool XpUcs4ToWin1251(uint32_t character, uint8_t& byte);

// The characters XML 1.0 allows: TAB, LF, CR, U+0020..U+D7FF, U+E000..U+FFFD and
// U+10000..U+10FFFF (no other control, no surrogate, neither U+FFFE nor U+FFFF).
constexpr bool XpIsXmlChar(uint32_t c) {
    return c >= 0x20
               ? (c <= 0xD7FF || (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF))
               : (c == 0x09 || c == 0x0A || c == 0x0D);
}

// UTF-16 code unit (or surrogate pair) to a character; false when the units form none.
// twoUsed tells whether the second unit was consumed.
bool XpUtf16ToUcs4(char16_t first, char16_t second, uint32_t& character, bool& twoUsed);

} // namespace stellik
