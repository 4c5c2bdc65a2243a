// package/Deflate.h -- raw deflate and CRC-32 for the members of written archives
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace stellik {

// Deflates bytes (raw deflate, no zlib wrapper) at the normal level into out, which has room
// for capacity bytes. The compressed length; none when it would exceed capacity.
std::optional<size_t> DeflateInto(std::string_view bytes, uint8_t* out, size_t capacity);

uint32_t Crc32(std::string_view bytes);

} // namespace stellik
