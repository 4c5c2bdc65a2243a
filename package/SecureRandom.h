// package/SecureRandom.h -- the kernel's random source for keys and padding
#pragma once

#include <cstddef>
#include <cstdint>

namespace stellik {

// Fills buffer from the system's secure random source (getrandom); false when it fails.
[[nodiscard]] bool FillSecureRandom(uint8_t* buffer, size_t size) noexcept;

// The same source as a Nettle random callback. A C callback must not throw, so a failure is
// remembered in Failed (the output is then zeros) and the caller discards the result.
struct TNettleRandom {
    bool Failed = false;
    static void Fill(void* context, size_t length, uint8_t* destination);
};

} // namespace stellik
