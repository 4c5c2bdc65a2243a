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

} // namespace stellik
