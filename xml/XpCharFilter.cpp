#include "xml/XpCharFilter.h"

#include "platform/MemoryStream.h"
#include "xml/XpErrors.h"

#include <cstring>

namespace stellik {

namespace {

constexpr size_t BufferLimit = 8192;

} // namespace

void AppendUtf8(std::string& out, uint32_t character) {
    if (character < 0x80) {
        out.push_back(static_cast<char>(character));
    } else if (character < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (character >> 6)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    } else if (character < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (character >> 12)));
        out.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (character >> 18)));
        out.push_back(static_cast<char>(0x80 | ((character >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    }
}

// ---- output ----

TXpOutCharFilter::TXpOutCharFilter(TMemoryStream& stream, uint8_t format)
    : Stream(stream), Format(format), Origin(stream.GetPosition()),
      StartPosition(stream.GetPosition()) {
    Buffer.reserve(BufferLimit);
}

bool TXpOutCharFilter::SetFormat(uint8_t format) {
    if (GetPosition() != Origin || format > cfWindows1251) {
        return false;
    }
    Format = format;
    return true;
}

void TXpOutCharFilter::WriteSignature() {
    switch (Format) {
    case cfUTF8:
        PutByte(0xEF), PutByte(0xBB), PutByte(0xBF);
        break;
    case cfUTF16LE:
        PutByte(0xFF), PutByte(0xFE);
        break;
    case cfUTF16BE:
        PutByte(0xFE), PutByte(0xFF);
        break;
    default:
        break;
    }
}

size_t TXpOutCharFilter::GetPosition() const {
    return StartPosition + Buffer.size();
}

void TXpOutCharFilter::PutByte(uint8_t byte) {
    if (Buffer.size() >= BufferLimit) {
        Flush();
    }
    Buffer.push_back(byte);
}

void TXpOutCharFilter::Flush() {
    Stream.Write(Buffer.data(), Buffer.size());
    StartPosition = Stream.GetPosition();
    Buffer.clear();
}

void TXpOutCharFilter::WriteWin1251Char(uint32_t character) {
    uint8_t byte = 0;
    if (!XpUcs4ToWin1251(character, byte)) {
        throw EXpStreamError("Cannot convert UCS-4 character to Windows-1251",
                             Stream.GetPosition());
    }
    PutByte(byte);
}

void TXpOutCharFilter::WriteChar(uint32_t character) {
    switch (Format) {
    case cfUTF8: {
        std::string bytes;
        AppendUtf8(bytes, character);
        for (char b : bytes) {
            PutByte(static_cast<uint8_t>(b));
        }
        break;
    }
    case cfUTF16LE:
    case cfUTF16BE: {
        if (character > 0x10FFFF) {
            throw EXpStreamError("Cannot convert UCS-4 character to UTF-16", Stream.GetPosition());
        }
        auto unit = [this](uint32_t u) {
            const auto hi = static_cast<uint8_t>(u >> 8);
            const auto lo = static_cast<uint8_t>(u & 0xFF);
            if (Format == cfUTF16LE) {
                PutByte(lo), PutByte(hi);
            } else {
                PutByte(hi), PutByte(lo);
            }
        };
        if (character >= 0x10000) {
            const uint32_t v = character - 0x10000;
            unit(0xD800 + (v >> 10));
            unit(0xDC00 + (v & 0x3FF));
        } else {
            unit(character);
        }
        break;
    }
    case cfISO88591:
        if (character > 0xFF) {
            throw EXpStreamError("Cannot convert UCS-4 character to ISO-8859-1",
                                 Stream.GetPosition());
        }
        PutByte(static_cast<uint8_t>(character));
        break;
    default:
        WriteWin1251Char(character);
        break;
    }
}

bool TXpOutCharFilter::WriteUtf16Pair(char16_t first, char16_t second, bool& bothUsed) {
    uint32_t character = 0;
    if (!XpUtf16ToUcs4(first, second, character, bothUsed)) {
        return false;
    }
    WriteChar(character);
    return true;
}

bool TXpOutCharFilter::WriteString(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const char16_t next = i + 1 < text.size() ? text[i + 1] : text[i];
        bool both = false;
        if (!WriteUtf16Pair(text[i], next, both)) {
            return false;
        }
        i += both ? 2 : 1;
    }
    return true;
}

void TXpOutCharFilter::WriteAscii(std::string_view text) {
    if (Format == cfUTF8 || Format == cfISO88591 || Format == cfWindows1251) {
        for (char c : text) {
            PutByte(static_cast<uint8_t>(c));
        }
        return;
    }
    for (char c : text) {
        WriteChar(static_cast<uint8_t>(c));
    }
}

void TXpOutCharFilter::WriteUtf8(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    while (i < n) {
        const auto b = static_cast<uint8_t>(text[i]);
        if (b < 0x80) {
            if (Format == cfUTF16LE || Format == cfUTF16BE) {
                WriteChar(b);
            } else {
                PutByte(b);
            }
            ++i;
            continue;
        }
        int extra = (b & 0xE0) == 0xC0 ? 1 : (b & 0xF0) == 0xE0 ? 2 : (b & 0xF8) == 0xF0 ? 3 : -1;
        uint32_t c = extra == 1 ? (b & 0x1Fu) : extra == 2 ? (b & 0x0Fu) : (b & 0x07u);
        bool ok = extra > 0 && i + extra < n;
        for (int k = 1; ok && k <= extra; ++k) {
            const auto t = static_cast<uint8_t>(text[i + k]);
            ok = (t & 0xC0) == 0x80;
            c = (c << 6) | (t & 0x3F);
        }
        if (!ok) {
            WriteChar(0xFFFD);
            ++i;
            continue;
        }
        WriteChar(c);
        i += 1 + extra;
    }
}

// ---- input ----

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

bool SameAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = static_cast<char>(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = static_cast<char>(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
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

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    auto unitAt = [&](size_t k) {
        const auto a = static_cast<uint8_t>(bytes[2 * k]);
        const auto b = static_cast<uint8_t>(bytes[2 * k + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    int line = 1, column = 1;
    for (size_t k = 0; k < units;) {
        const char16_t first = unitAt(k);
        const char16_t second = k + 1 < units ? unitAt(k + 1) : first;
        uint32_t c = 0;
        bool both = false;
        if (!XpUtf16ToUcs4(first, second, c, both)) {
            throw EXpFilterError("Invalid XML Character found", 2 + 2 * k, line, column);
        }
        AppendUtf8(out, c);
        if (c == '\n') {
            ++line, column = 1;
        } else {
            ++column;
        }
        k += both ? 2 : 1;
    }
    if (bytes.size() % 2 != 0) {
        throw EXpFilterError("Invalid XML Character found", 2 + bytes.size() - 1, line, column);
    }
    return out;
}

std::string DecodeSingleByte(std::string_view bytes, bool win1251) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        const auto b = static_cast<uint8_t>(ch);
        uint32_t c = b;
        if (win1251) {
            XpWin1251ToUcs4(b, c);
        }
        AppendUtf8(out, c);
    }
    return out;
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
    if (bytes.size() > 2) {
        const auto b0 = static_cast<uint8_t>(bytes[0]);
        const auto b1 = static_cast<uint8_t>(bytes[1]);
        const auto b2 = static_cast<uint8_t>(bytes[2]);
        if ((b0 == 0xFE && b1 == 0xFF) || (b0 == 0xFF && b1 == 0xFE)) {
            const bool bigEndian = b0 == 0xFE;
            result.Encoding = bigEndian ? ceUTF16BE : ceUTF16LE;
            result.Utf8 = DecodeUtf16(bytes.substr(2), bigEndian);
        } else if (b0 == 0xEF && b1 == 0xBB && b2 == 0xBF) {
            bytes.remove_prefix(3);
        }
    }
    const bool utf16 = result.Encoding != ceUTF8;
    const std::string_view text = utf16 ? std::string_view(result.Utf8) : bytes;
    if (!StartsWithDeclaration(text)) {
        if (!utf16) {
            result.Utf8.assign(bytes);
        }
        return result;
    }
    TDeclarationReader reader(text);
    const std::string encoding = reader.Read();
    result.HasDeclaration = true;
    result.DeclarationData = TrimSpace(text.substr(5, reader.End - 7));
    if (utf16) {
        return result; // the byte-order mark wins over the declaration
    }
    const bool latin1 = SameAsciiNoCase(encoding, "ISO-8859-1");
    const bool win1251 = SameAsciiNoCase(encoding, "Windows-1251");
    if (latin1 || win1251) {
        result.Encoding = latin1 ? ceISO88591 : ceWindows1251;
        result.Utf8.assign(bytes.substr(0, reader.End));
        result.Utf8 += DecodeSingleByte(bytes.substr(reader.End), win1251);
    } else {
        result.Utf8.assign(bytes);
    }
    return result;
}

} // namespace stellik
