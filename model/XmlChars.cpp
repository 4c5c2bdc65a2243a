// model/XmlChars.cpp -- keeping typed text inside the characters an XML document may hold
#include "model/XmlChars.h"

namespace stellik {

namespace {

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

std::u16string DropNonXmlChars(std::u16string_view text) {
    std::u16string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (IsHighSurrogate(c)) {
            if (i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
                result += c;
                result += text[++i];
            }
            continue;
        }
        const bool allowed = c >= 0x20 ? !IsLowSurrogate(c) && c != 0xFFFE && c != 0xFFFF
                                       : c == 0x09 || c == 0x0A || c == 0x0D;
        if (allowed) {
            result += c;
        }
    }
    return result;
}

} // namespace stellik
