#include "platform/Convert.h"

#include "platform/Exception.h"
#include "platform/Unicode.h"

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace stellik {

namespace {

template <typename Char> std::optional<int> ParseInt(std::basic_string_view<Char> s) {
    size_t i = 0;
    while (i < s.size() && s[i] == Char(' ')) {
        ++i;
    }
    bool negative = false;
    if (i < s.size() && (s[i] == Char('+') || s[i] == Char('-'))) {
        negative = s[i] == Char('-');
        ++i;
    }
    bool hex = false;
    if (i < s.size() && s[i] == Char('$')) {
        hex = true, ++i;
    } else if (i < s.size() && (s[i] == Char('x') || s[i] == Char('X'))) {
        hex = true, ++i;
    } else if (i + 1 < s.size() && s[i] == Char('0') &&
               (s[i + 1] == Char('x') || s[i + 1] == Char('X'))) {
        hex = true, i += 2;
    }
    if (i >= s.size()) {
        return std::nullopt;
    }
    uint64_t value = 0;
    const uint64_t limit = hex ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    for (; i < s.size(); ++i) {
        const auto c = static_cast<char16_t>(s[i]);
        const int d = hex ? HexDigitValue(c) : ((c >= u'0' && c <= u'9') ? c - u'0' : -1);
        if (d < 0) {
            return std::nullopt;
        }
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(d);
        if (value > limit) {
            return std::nullopt;
        }
    }
    auto bits = static_cast<uint32_t>(value);
    if (negative) {
        bits = 0u - bits;
    }
    return static_cast<int>(static_cast<int32_t>(bits));
}

} // namespace

std::optional<int> TryStrToInt(std::string_view text) {
    return ParseInt(text);
}
std::optional<int> TryStrToInt(std::u16string_view text) {
    return ParseInt(text);
}

int StrToInt(std::string_view text) {
    if (auto v = TryStrToInt(text)) {
        return *v;
    }
    ThrowInvalidInteger(std::string(text));
}

int StrToInt(std::u16string_view text) {
    if (auto v = TryStrToInt(text)) {
        return *v;
    }
    ThrowInvalidInteger(Utf16ToUtf8(text));
}

std::optional<double> TryStrToFloat(std::string_view text, char decimalSeparator) {
    const std::string t = Trim(text);
    // Rebuild the number in the C locale's syntax, checking every character on the way.
    std::string c;
    size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        c.push_back(t[i++]);
    }
    bool digits = false;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        c.push_back(t[i++]), digits = true;
    }
    if (i < t.size() && t[i] == decimalSeparator) {
        c.push_back('.'), ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            c.push_back(t[i++]), digits = true;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        c.push_back('e'), ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
            c.push_back(t[i++]);
        }
        bool expDigits = false;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
            c.push_back(t[i++]), expDigits = true;
        }
        if (!expDigits) {
            return std::nullopt;
        }
    }
    if (i != t.size()) {
        return std::nullopt;
    }
    // strtod follows LC_NUMERIC; the text was rewritten with '.', so parse it in "C".
    locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", static_cast<locale_t>(nullptr));
    if (cLocale == static_cast<locale_t>(nullptr)) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = strtod_l(c.c_str(), &end, cLocale);
    freelocale(cLocale);
    if (end != c.c_str() + c.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

char LocaleDecimalSeparator() {
    const lconv* conv = std::localeconv();
    if (conv == nullptr || conv->decimal_point == nullptr || conv->decimal_point[0] == '\0') {
        return '.';
    }
    return conv->decimal_point[0];
}

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') {
        return c - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c - u'A' + 10;
    }
    return -1;
}

std::u16string IntToStrW(long long value) {
    const std::string s = std::to_string(value);
    return std::u16string(s.begin(), s.end());
}

} // namespace stellik
