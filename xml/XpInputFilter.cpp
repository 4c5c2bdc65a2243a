#include "xml/XpInputFilter.h"

#include "platform/Unicode.h"
#include "xml/XpCharFilter.h"
#include "xml/XpErrors.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace stellik {

namespace {

bool IsXmlSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the XML declaration at the start of an ASCII-compatible text.
class TDeclarationReader {
public:
    explicit TDeclarationReader(std::string_view text) : Text(text) {}

    // Text begins with "<?xml" and white space or "?". Returns the encoding name ("" when
    // none) and leaves End just past "?>".
    std::string Read() {
        Pos = 5;
        SkipSpace();
        if (!Keyword("version")) {
            Fail("Version expected in the XML declaration");
        }
        const std::string version = QuotedValue();
        for (char c : version) {
            if (!(IsAsciiLetter(c) || IsDigit(c) || c == '_' || c == '.' || c == ':' || c == '-')) {
                Fail("Invalid character in the XML version");
            }
        }
        if (version != "1.0") {
            Fail("XMLPartner does not support XML specification greater than 1.0");
        }
        if (Peek() != '?' && !IsXmlSpace(Peek())) {
            Fail("White space expected in the XML declaration");
        }
        SkipSpace();
        std::string encoding;
        if (Keyword("encoding")) {
            encoding = QuotedValue();
            bool valid = !encoding.empty() && IsAsciiLetter(encoding[0]);
            for (char c : encoding) {
                valid =
                    valid && (IsAsciiLetter(c) || IsDigit(c) || c == '.' || c == '_' || c == '-');
            }
            if (!valid) {
                Fail("Invalid encoding name in the XML declaration");
            }
            SkipSpace();
        }
        if (Keyword("standalone")) {
            const std::string value = QuotedValue();
            if (value != "yes" && value != "no") {
                Fail("Standalone value must equal 'yes' or 'no'");
            }
            SkipSpace();
        }
        if (Text.substr(Pos, 2) != "?>") {
            Fail("End of the XML declaration expected");
        }
        End = Pos + 2;
        return encoding;
    }

    size_t End = 0;

private:
    char Peek() const { return Pos < Text.size() ? Text[Pos] : '\0'; }

    void SkipSpace() {
        while (Pos < Text.size() && IsXmlSpace(Text[Pos])) {
            ++Pos;
        }
    }

    bool Keyword(std::string_view word) {
        if (Text.substr(Pos, word.size()) != word) {
            return false;
        }
        Pos += word.size();
        return true;
    }

    std::string QuotedValue() {
        SkipSpace();
        if (Peek() != '=') {
            Fail("'=' expected in the XML declaration");
        }
        ++Pos;
        SkipSpace();
        const char quote = Peek();
        if (quote != '"' && quote != '\'') {
            Fail("Quoted value expected in the XML declaration");
        }
        const size_t close = Text.find(quote, Pos + 1);
        if (close == std::string_view::npos) {
            Fail("Unterminated value in the XML declaration");
        }
        std::string value(Text.substr(Pos + 1, close - Pos - 1));
        Pos = close + 1;
        return value;
    }

    [[noreturn]] void Fail(const std::string& message) const {
        int line = 1, column = 1;
        for (size_t i = 0; i < Pos && i < Text.size(); ++i) {
            if (Text[i] == '\n') {
                ++line, column = 1;
            } else {
                ++column;
            }
        }
        throw EXpParserError(message, line, column);
    }

    std::string_view Text;
    size_t Pos = 0;
};

bool StartsWithDeclaration(std::string_view text) {
    return text.size() > 5 && text.substr(0, 5) == "<?xml" &&
           (IsXmlSpace(text[5]) || text[5] == '?');
}

// Counts lines and positions in a line as the characters of a document go by: LF, CR LF
// and a lone CR each end one line.
class TLineCounter {
public:
    void Add(uint32_t c) {
        if (c == '\n' && AfterCr) {
            AfterCr = false;
            return;
        }
        AfterCr = c == '\r';
        if (c == '\n' || c == '\r') {
            ++Line, Column = 1;
        } else {
            ++Column;
        }
    }
    int Line = 1;
    int Column = 1; // of the next character

private:
    bool AfterCr = false;
};

EXpFilterError InvalidCharacter(size_t position, const TLineCounter& counter) {
    return EXpFilterError("Invalid XML Character found (line " + std::to_string(counter.Line) +
                              ", position " + std::to_string(counter.Column) + ")",
                          position, counter.Line, counter.Column);
}

// text[offset] begins a character XML forbids; text is ASCII-compatible, one byte per
// character unless utf8. base: the offset of text in the document's bytes.
EXpFilterError InvalidCharacterAt(std::string_view text, size_t offset, bool utf8, size_t base) {
    TLineCounter counter;
    for (size_t i = 0; i < offset; ++i) {
        const auto b = static_cast<uint8_t>(text[i]);
        if (!utf8 || (b & 0xC0) != 0x80) {
            counter.Add(b); // a lead byte stands for its character; only line ends matter
        }
    }
    return InvalidCharacter(base + offset, counter);
}

bool IsForbiddenControl(uint8_t b) {
    return b < 0x20 && b != 0x09 && b != 0x0A && b != 0x0D;
}

// The offset of the first character XML forbids in UTF-8 text, or npos. Malformed sequences
// are the parser's to report.
size_t FindForbiddenUtf8(std::string_view text) {
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        // Eight printable ASCII bytes at a time: long runs of them (markup, cipher text) are
        // passed at the speed of memory.
        if (i + 8 <= n) {
            uint64_t word;
            std::memcpy(&word, p + i, 8);
            if ((((word - 0x2020202020202020ull) | word) & 0x8080808080808080ull) == 0) {
                i += 8;
                continue;
            }
        }
        for (const size_t stop = std::min(n, i + 8); i < stop; ++i) {
            const uint8_t b = p[i];
            if (b >= 0x20 && b < 0xED) {
                continue; // the leads of most characters beyond ASCII
            }
            const uint8_t next = i + 1 < n ? p[i + 1] : 0;
            if (IsForbiddenControl(b) || (b == 0xED && next >= 0xA0 && next <= 0xBF) ||
                (b == 0xEF && next == 0xBF && i + 2 < n && p[i + 2] >= 0xBE) ||
                (b == 0xF4 && next >= 0x90 && next <= 0xBF)) {
                return i; // a control, a surrogate, U+FFFE or U+FFFF, above U+10FFFF
            }
        }
    }
    return std::string_view::npos;
}

size_t FindForbiddenSingleByte(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (IsForbiddenControl(static_cast<uint8_t>(text[i]))) {
            return i;
        }
    }
    return std::string_view::npos;
}

// bytes: the code units after the byte-order mark, which takes the first two bytes. Decodes
// up to the first character XML forbids, which invalid then describes.
std::string DecodeUtf16(std::string_view bytes, bool bigEndian,
                        std::optional<EXpFilterError>& invalid) {
    std::string out;
    out.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    auto unitAt = [&](size_t k) {
        const auto a = static_cast<uint8_t>(bytes[2 * k]);
        const auto b = static_cast<uint8_t>(bytes[2 * k + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    TLineCounter counter;
    for (size_t k = 0; k < units;) {
        const char16_t first = unitAt(k);
        const char16_t second = k + 1 < units ? unitAt(k + 1) : first;
        uint32_t c = 0;
        bool both = false;
        if (!XpUtf16ToUcs4(first, second, c, both) || !XpIsXmlChar(c)) {
            invalid = InvalidCharacter(2 + 2 * k, counter);
            return out;
        }
        AppendUtf8(out, c);
        counter.Add(c);
        k += both ? 2 : 1;
    }
    if (bytes.size() % 2 != 0) {
        invalid = InvalidCharacter(2 + bytes.size() - 1, counter);
    }
    return out;
}

void AppendSingleByte(std::string& out, std::string_view text, bool win1251) {
    for (char ch : text) {
        const auto b = static_cast<uint8_t>(ch);
        uint32_t c = b;
        if (win1251) {
            XpWin1251ToUcs4(b, c);
        }
        AppendUtf8(out, c);
    }
}

std::string TrimSpace(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && IsXmlSpace(s[a])) {
        ++a;
    }
    while (b > a && IsXmlSpace(s[b - 1])) {
        --b;
    }
    return std::string(s.substr(a, b - a));
}

} // namespace

TXpDecodedInput XpDecodeInput(std::string_view bytes) {
    TXpDecodedInput result;
    result.Encoding = ceUTF8;
    size_t base = 0; // bytes of a UTF-8 byte-order mark
    if (bytes.size() > 2) {
        const auto b0 = static_cast<uint8_t>(bytes[0]);
        const auto b1 = static_cast<uint8_t>(bytes[1]);
        const auto b2 = static_cast<uint8_t>(bytes[2]);
        if ((b0 == 0xFE && b1 == 0xFF) || (b0 == 0xFF && b1 == 0xFE)) {
            const bool bigEndian = b0 == 0xFE;
            result.Encoding = bigEndian ? ceUTF16BE : ceUTF16LE;
            result.Decoded = DecodeUtf16(bytes.substr(2), bigEndian, result.Invalid);
            result.Converted = true;
        } else if (b0 == 0xEF && b1 == 0xBB && b2 == 0xBF) {
            base = 3;
        }
    }
    result.Source = bytes.substr(base);
    const std::string_view text = result.Utf8();
    if (!StartsWithDeclaration(text)) {
        if (!result.Converted) {
            if (const size_t at = FindForbiddenUtf8(text); at != std::string_view::npos) {
                result.Invalid = InvalidCharacterAt(text, at, true, base);
                result.Source = text.substr(0, at);
            }
        }
        return result;
    }
    if (!result.Converted) {
        // The declaration is read before the decoder switches: its own characters first.
        const size_t close = text.find("?>");
        const std::string_view own = text.substr(0, close);
        if (const size_t at = FindForbiddenUtf8(own); at != std::string_view::npos) {
            throw InvalidCharacterAt(own, at, true, base);
        }
    }
    TDeclarationReader reader(text);
    const std::string encoding = reader.Read();
    result.HasDeclaration = true;
    result.DeclarationData = TrimSpace(text.substr(5, reader.End - 7));
    if (result.Converted) {
        return result; // the byte-order mark wins over the declaration
    }
    const bool latin1 = SameAsciiText(encoding, "ISO-8859-1");
    const bool win1251 = SameAsciiText(encoding, "Windows-1251");
    const std::string_view declaration = text.substr(0, reader.End);
    std::string_view rest = text.substr(reader.End);
    const size_t at = latin1 || win1251 ? FindForbiddenSingleByte(rest) : FindForbiddenUtf8(rest);
    if (at != std::string_view::npos) {
        result.Invalid = InvalidCharacterAt(text, reader.End + at, !(latin1 || win1251), base);
        rest = rest.substr(0, at);
        result.Source = text.substr(0, reader.End + at);
    }
    if (latin1 || win1251) {
        result.Encoding = latin1 ? ceISO88591 : ceWindows1251;
        result.Decoded.reserve(reader.End + rest.size() * 2);
        result.Decoded.assign(declaration);
        AppendSingleByte(result.Decoded, rest, win1251);
        result.Converted = true;
    }
    return result;
}

} // namespace stellik
