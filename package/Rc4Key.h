// package/Rc4Key.h -- the 128-bit RC4 keys of passwords and sessions
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace stellik {

class TRc4Key {
public:
    static constexpr size_t Size = 16;

    explicit TRc4Key(std::span<const uint8_t, Size> bytes);
    ~TRc4Key();
    TRc4Key(const TRc4Key& other) : Bytes(other.Bytes) {}
    TRc4Key& operator=(const TRc4Key&) = delete;

    // The key that protects a private key blob: the MD5 value of the password's bytes.
    static TRc4Key FromPassword(std::span<const uint8_t> password);
    // A fresh session key from the secure random source; none when the source fails.
    static std::optional<TRc4Key> Generate();

    // RC4 over data in place (the same call enciphers and deciphers).
    void Crypt(uint8_t* data, size_t size) const;

    std::span<const uint8_t, Size> GetBytes() const { return Bytes; }

private:
    std::array<uint8_t, Size> Bytes{};
};

} // namespace stellik
