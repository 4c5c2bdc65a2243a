// package/SecureBytes.h -- key material that is wiped when it goes away
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace stellik {

// A byte buffer for keys and deciphered key blobs: its content is overwritten before the
// memory is given back, so no secret outlives its owner in freed memory.
class TSecureBytes {
public:
    TSecureBytes() = default;
    explicit TSecureBytes(size_t size) : Data(size) {}
    explicit TSecureBytes(std::span<const uint8_t> bytes) : Data(bytes.begin(), bytes.end()) {}
    ~TSecureBytes() { Wipe(); }

    TSecureBytes(const TSecureBytes&) = delete;
    TSecureBytes& operator=(const TSecureBytes&) = delete;
    TSecureBytes(TSecureBytes&& other) noexcept : Data(std::move(other.Data)) {
        other.Data.clear();
    }
    TSecureBytes& operator=(TSecureBytes&& other) noexcept;

    uint8_t* data() { return Data.data(); }
    const uint8_t* data() const { return Data.data(); }
    size_t size() const { return Data.size(); }
    bool empty() const { return Data.empty(); }
    std::span<uint8_t> Span() { return Data; }
    std::span<const uint8_t> Span() const { return Data; }

private:
    void Wipe() noexcept;

    std::vector<uint8_t> Data;
};

// Overwrites memory in a way the compiler may not drop as a dead store.
void SecureWipe(void* memory, size_t size) noexcept;

} // namespace stellik
