#include "package/Base64.h"

#include <array>
#include <bit>
#include <cstring>
#include <optional>
#include <vector>

namespace stellik {

namespace {

constexpr uint8_t Space = 64; // skipped
constexpr uint8_t Fill = 65;  // "="
constexpr uint8_t Bad = 255;

constexpr std::string_view Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<uint8_t, 256> MakeDecodeTable() {
    std::array<uint8_t, 256> table{};
    table.fill(Bad);
    for (size_t i = 0; i < Alphabet.size(); ++i) {
        table[static_cast<unsigned char>(Alphabet[i])] = static_cast<uint8_t>(i);
    }
    for (const char c : {' ', '\t', '\r', '\n'}) {
        table[static_cast<unsigned char>(c)] = Space;
    }
    table['='] = Fill;
    return table;
}

constexpr std::array<uint8_t, 256> DecodeTable = MakeDecodeTable();

// The two characters of every 12 bits, in text order: a group of 3 bytes is two look-ups.
constexpr std::array<std::array<char, 2>, 4096> MakePairTable() {
    std::array<std::array<char, 2>, 4096> table{};
    for (size_t i = 0; i < table.size(); ++i) {
        table[i] = {Alphabet[i >> 6], Alphabet[i & 63]};
    }
    return table;
}

constexpr std::array<std::array<char, 2>, 4096> PairTable = MakePairTable();

// Writes the 4 characters of the 24 bits of group to out.
inline void EncodeGroup(uint32_t group, char* out) {
    std::memcpy(out, PairTable[group >> 12].data(), 2);
    std::memcpy(out + 2, PairTable[group & 0xFFF].data(), 2);
}

// Decodes text into out (room for 3 bytes per 4 characters, and 3 more); the byte count,
// or none for text that is not base64. Whole groups of four alphabet characters, by far
// the most of a document's text, take the short way; spaces, the fill and errors the
// character-wise one.
std::optional<size_t> DecodeInto(std::string_view text, uint8_t* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(text.data());
    const size_t size = text.size();
    uint8_t* const start = out;
    uint32_t group = 0;
    int count = 0;    // characters of the current group
    int fill = 0;     // "=" in it
    bool end = false; // a filled group was complete: only spaces may follow
    for (size_t i = 0; i < size;) {
        if (count == 0 && !end && i + 4 <= size) {
            const uint32_t a = DecodeTable[in[i]], b = DecodeTable[in[i + 1]],
                           c = DecodeTable[in[i + 2]], d = DecodeTable[in[i + 3]];
            if ((a | b | c | d) < 64) {
                const uint32_t bits = (a << 18) | (b << 12) | (c << 6) | d;
                out[0] = static_cast<uint8_t>(bits >> 16);
                out[1] = static_cast<uint8_t>(bits >> 8);
                out[2] = static_cast<uint8_t>(bits);
                out += 3;
                i += 4;
                continue;
            }
        }
        const uint8_t value = DecodeTable[in[i++]];
        if (value == Space) {
            continue;
        }
        if (value == Bad || end || (value == Fill ? count < 2 : fill > 0)) {
            return std::nullopt;
        }
        fill += value == Fill ? 1 : 0;
        group = (group << 6) | (value == Fill ? 0 : value);
        if (++count == 4) {
            const int bytes = 3 - fill;
            for (int k = 0; k < bytes; ++k) {
                *out++ = static_cast<uint8_t>(group >> (16 - 8 * k));
            }
            end = fill > 0;
            group = 0;
            count = 0;
        }
    }
    if (count != 0) {
        return std::nullopt;
    }
    return static_cast<size_t>(out - start);
}

} // namespace

size_t Base64Length(size_t byteCount) {
    return (byteCount + 2) / 3 * 4;
}

void Base64EncodeInto(std::span<const uint8_t> bytes, char* out) {
    const uint8_t* in = bytes.data();
    const uint8_t* const end = in + bytes.size();
    // Two groups a step, read as one word (of which the first six bytes count) while eight
    // bytes are left.
    for (; end - in >= 8; in += 6, out += 8) {
        uint64_t word;
        std::memcpy(&word, in, 8);
        if constexpr (std::endian::native == std::endian::little) {
            word = __builtin_bswap64(word);
        }
        EncodeGroup(static_cast<uint32_t>(word >> 40), out);
        EncodeGroup(static_cast<uint32_t>(word >> 16) & 0xFFFFFF, out + 4);
    }
    for (; end - in >= 3; in += 3, out += 4) {
        EncodeGroup((uint32_t{in[0]} << 16) | (uint32_t{in[1]} << 8) | in[2], out);
    }
    if (end - in == 0) {
        return;
    }
    const bool two = end - in == 2;
    EncodeGroup((uint32_t{in[0]} << 16) | (two ? uint32_t{in[1]} << 8 : 0), out);
    out[3] = '=';
    if (!two) {
        out[2] = '=';
    }
}

std::string Base64Encode(std::span<const uint8_t> bytes) {
    std::string text(Base64Length(bytes.size()), '\0');
    Base64EncodeInto(bytes, text.data());
    return text;
}

bool Base64Decode(std::string_view text, TMemoryStream& destination) {
    const size_t at = destination.GetPosition();
    const size_t oldSize = destination.GetSize();
    const size_t room = text.size() / 4 * 3 + 3;
    if (at < oldSize) {
        // Bytes already there must survive a refusal: decode aside, then copy.
        std::vector<uint8_t> bytes(room);
        const auto length = DecodeInto(text, bytes.data());
        if (length) {
            destination.Write(bytes.data(), *length);
        }
        return length.has_value();
    }
    destination.SetSize(at + room);
    const auto length = DecodeInto(text, destination.GetMemory() + at);
    destination.SetSize(length ? at + *length : oldSize);
    destination.SetPosition(length ? at + *length : at);
    return length.has_value();
}

} // namespace stellik
