#include "platform/Unicode.h"

#include "platform/GLibHandles.h"

#include <glib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace stellik {

namespace {

constexpr char16_t Replacement = 0xFFFD;

// The UTF-16 length of valid UTF-8: one unit per lead byte, two for four-byte sequences.
// Malformed input may need more; the writer below grows the string then.
size_t Utf16LengthOf(std::string_view text) {
    // Eight bytes at a time: a trail byte has its top bits 10, a four-byte lead its top four
    // bits set; shifting a word left brings each byte's lower bits to its top bit, and a
    // multiplication adds up the top bits of the eight bytes.
    constexpr uint64_t Tops = 0x8080808080808080ull;
    constexpr uint64_t Ones = 0x0101010101010101ull;
    auto count = [](uint64_t tops) { return static_cast<size_t>(((tops >> 7) * Ones) >> 56); };
    size_t units = text.size();
    size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        uint64_t w;
        std::memcpy(&w, text.data() + i, sizeof w);
        units -= count(w & ~(w << 1) & Tops);
        units += count(w & (w << 1) & (w << 2) & (w << 3) & Tops);
    }
    for (; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        units -= static_cast<size_t>((b & 0xC0) == 0x80);
        units += static_cast<size_t>(b >= 0xF0);
    }
    return units;
}

} // namespace

std::u16string Utf8ToUtf16(std::string_view text) {
    // Sized exactly before writing: the model keeps these strings, and a reserve by the byte
    // count would leave Cyrillic text with twice the room it needs.
    std::u16string out(Utf16LengthOf(text), u'\0');
    size_t k = 0;
    size_t i = 0;
    const size_t n = text.size();
    // Well-formed sequences of up to three bytes (all of the Cyrillic and most other text)
    // without checks on the room: they yield exactly the units counted above. The first other
    // byte hands over to the general loop.
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    auto trail = [bytes](size_t at) { return (bytes[at] & 0xC0) == 0x80; };
    while (i < n) {
        const unsigned char b = bytes[i];
        if (b < 0x80) {
            out[k++] = b;
            i += 1;
        } else if (b >= 0xC2 && b <= 0xDF && i + 1 < n && trail(i + 1)) {
            out[k++] = static_cast<char16_t>(((b & 0x1F) << 6) | (bytes[i + 1] & 0x3F));
            i += 2;
        } else if (b >= 0xE0 && b <= 0xEF && i + 2 < n && trail(i + 1) && trail(i + 2)) {
            const auto unit = static_cast<char16_t>(
                ((b & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) | (bytes[i + 2] & 0x3F));
            if (unit < 0x800 || (unit >= 0xD800 && unit <= 0xDFFF)) {
                break; // overlong, or a surrogate: replaced below
            }
            out[k++] = unit;
            i += 3;
        } else {
            break;
        }
    }
    auto put = [&out, &k](char16_t unit) {
        if (k == out.size()) {
            out.resize(out.size() * 2 + 2);
        }
        out[k++] = unit;
    };
    while (i < n) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            put(b);
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t minimum = 0;
        if ((b & 0xE0) == 0xC0) {
            extra = 1, cp = b & 0x1F, minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, cp = b & 0x0F, minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, cp = b & 0x07, minimum = 0x10000;
        } else {
            put(Replacement);
            ++i;
            continue;
        }
        size_t j = i + 1;
        bool ok = true;
        for (int e = 0; e < extra; ++e, ++j) {
            if (j >= n || (static_cast<unsigned char>(text[j]) & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(text[j]) & 0x3F);
        }
        if (!ok || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            put(Replacement);
            i = ok ? j : i + 1;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            put(static_cast<char16_t>(0xD800 + (cp >> 10)));
            put(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            put(static_cast<char16_t>(cp));
        }
        i = j;
    }
    out.resize(k);
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    // Sized before writing, every surrogate counted as three bytes: exact but for characters
    // beyond the BMP, whose pairs take four bytes where six are counted.
    size_t bytes = 0;
    for (const char16_t unit : text) {
        bytes += unit < 0x80 ? 1 : (unit < 0x800 ? 2 : 3);
    }
    std::string out(bytes, '\0');
    size_t k = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = Replacement; // lone surrogate
        }
        if (cp < 0x80) {
            out[k++] = static_cast<char>(cp);
        } else if (cp < 0x800) {
            out[k++] = static_cast<char>(0xC0 | (cp >> 6));
            out[k++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out[k++] = static_cast<char>(0xE0 | (cp >> 12));
            out[k++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out[k++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out[k++] = static_cast<char>(0xF0 | (cp >> 18));
            out[k++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out[k++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out[k++] = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    out.resize(k);
    return out;
}

char16_t UpperChar(char16_t c) {
    if (c < 0x80) {
        return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    }
    if (c >= 0xD800 && c <= 0xDFFF) {
        return c;
    }
    const gunichar upper = g_unichar_toupper(c);
    // Keep one code unit per character so positions stay as they were.
    return upper <= 0xFFFF ? static_cast<char16_t>(upper) : c;
}

std::u16string UpperCase(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out) {
        c = UpperChar(c);
    }
    return out;
}

int CompareTextW(std::u16string_view a, std::u16string_view b) {
    const std::string ua = Utf16ToUtf8(a);
    const std::string ub = Utf16ToUtf8(b);
    const GCharPtr fa(g_utf8_casefold(ua.data(), static_cast<gssize>(ua.size())));
    const GCharPtr fb(g_utf8_casefold(ub.data(), static_cast<gssize>(ub.size())));
    const int r = std::strcmp(fa.get(), fb.get());
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::u16string TrimW(std::u16string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && text[first] < 33) {
        ++first;
    }
    while (last > first && text[last - 1] < 33) {
        --last;
    }
    return std::u16string(text.substr(first, last - first));
}

std::string Trim(std::string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) < 33) {
        ++first;
    }
    while (last > first && static_cast<unsigned char>(text[last - 1]) < 33) {
        --last;
    }
    return std::string(text.substr(first, last - first));
}

std::string AsciiUpper(std::string_view text) {
    std::string out(text);
    for (auto& c : out) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 32);
        }
    }
    return out;
}

bool SameAsciiText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return g_ascii_tolower(x) == g_ascii_tolower(y);
           });
}

bool StartsWithAsciiText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameAsciiText(text.substr(0, prefix.size()), prefix);
}

} // namespace stellik
