// package/Base64.h -- the base64 texts of encrypted documents
#pragma once

#include "platform/MemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace stellik {

// The standard alphabet, every 3 bytes as 4 characters, the last group filled with "=",
// all on one line.
std::string Base64Encode(std::span<const uint8_t> bytes);
// The same text written to out, which has room for Base64Length(bytes.size()) characters
// (no terminator): for texts that go straight into their final place.
void Base64EncodeInto(std::span<const uint8_t> bytes, char* out);
size_t Base64Length(size_t byteCount);

// Writes the bytes of text at destination's position, decoding straight into its memory.
// Spaces, tabs and line breaks are skipped. False, with nothing written, for any other
// character outside the alphabet, a "=" before the end, or a last group that is not
// complete.
bool Base64Decode(std::string_view text, TMemoryStream& destination);

} // namespace stellik
