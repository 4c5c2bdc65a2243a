// xml/XpCharFilter.h -- characters to bytes on output, bytes to characters on input
#pragma once

#include "xml/XpCharEncoding.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stellik {

class TMemoryStream;

// Writes characters in one of the five formats into a stream at its position, through a
// byte buffer. Nothing reaches the stream before Flush: a conversion error leaves the bytes
// buffered so far unwritten by the failing call.
class TXpOutCharFilter {
public:
    explicit TXpOutCharFilter(TMemoryStream& stream, uint8_t format = cfUTF8);

    // Accepted only before any output; Windows-1251 and ISO-8859-1 write no signature.
    bool SetFormat(uint8_t format);
    // The byte-order mark of a UTF format (EF BB BF, FF FE or FE FF); nothing for the others.
    void WriteSignature();

    void WriteChar(uint32_t character);
    void WriteWin1251Char(uint32_t character);
    // One code unit or a surrogate pair as one character; false (nothing written) when the
    // units form no character.
    bool WriteUtf16Pair(char16_t first, char16_t second, bool& bothUsed);
    // False at the first code unit that forms no character (what came before is written).
    bool WriteString(std::u16string_view text);
    // UTF-8 text (libxml2's strings); malformed bytes are written as U+FFFD.
    void WriteUtf8(std::string_view text);

    // Where the filter started plus the bytes buffered since.
    size_t GetPosition() const;
    void Flush();

private:
    void PutByte(uint8_t byte);

    TMemoryStream& Stream;
    uint8_t Format;
    size_t Origin;        // where the filter began writing
    size_t StartPosition; // where the buffer goes on the next Flush
    std::vector<uint8_t> Buffer;
};

// Appends a character to a UTF-8 string.
void AppendUtf8(std::string& out, uint32_t character);

} // namespace stellik
