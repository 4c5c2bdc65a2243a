// platform/Unicode.h -- UTF-8/UTF-16 conversion and letter case
#pragma once

#include <string>
#include <string_view>

namespace stellik {

// Invalid input never throws: malformed sequences become U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Shorthand for literals in UTF-8 source files.
inline std::u16string W(std::string_view utf8) {
    return Utf8ToUtf16(utf8);
}

// Unicode upper-casing, character by character (Cyrillic included).
std::u16string UpperCase(std::u16string_view text);
char16_t UpperChar(char16_t c);

// Comparison without regard to letter case: both sides are Unicode case-folded, then
// compared code point by code point (0 when equal).
int CompareTextW(std::u16string_view a, std::u16string_view b);
inline bool SameTextW(std::u16string_view a, std::u16string_view b) {
    return CompareTextW(a, b) == 0;
}

// Removes the characters below code 33 at both ends.
std::u16string TrimW(std::u16string_view text);
std::string Trim(std::string_view text);

// ASCII-only upper case for technical names (resources, ZIP members).
std::string AsciiUpper(std::string_view text);

// Equality and prefix of technical names (encodings, URL schemes, form fields) with the
// ASCII letters compared without regard to case; other bytes must match exactly.
bool SameAsciiText(std::string_view a, std::string_view b);
bool StartsWithAsciiText(std::string_view text, std::string_view prefix);

} // namespace stellik
