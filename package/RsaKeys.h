// package/RsaKeys.h -- RSA key-exchange keys and the wrapping of session keys
#pragma once

#include <nettle/rsa.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

namespace stellik {

// Owns Nettle's public key (modulus and exponent). Not copyable or movable: the caller
// holds it by unique_ptr.
class TRsaPublicKey {
public:
    TRsaPublicKey() { rsa_public_key_init(&Key); }
    ~TRsaPublicKey() { rsa_public_key_clear(&Key); }
    TRsaPublicKey(const TRsaPublicKey&) = delete;
    TRsaPublicKey& operator=(const TRsaPublicKey&) = delete;

    rsa_public_key* Get() { return &Key; }
    const rsa_public_key* Get() const { return &Key; }
    // Length of the modulus in bytes (valid once Prepare has succeeded).
    size_t ModulusSize() const { return Key.size; }
    // Checks n and e (odd, e > 1) and computes the size; false for an unusable key.
    [[nodiscard]] bool Prepare();

private:
    rsa_public_key Key{};
};

// Owns a key-exchange pair: the public half and Nettle's private key (d, p, q and the
// CRT values a = d mod (p-1), b = d mod (q-1), c = q^-1 mod p).
class TRsaKeyPair {
public:
    TRsaKeyPair() { rsa_private_key_init(&Private); }
    ~TRsaKeyPair() { rsa_private_key_clear(&Private); }
    TRsaKeyPair(const TRsaKeyPair&) = delete;
    TRsaKeyPair& operator=(const TRsaKeyPair&) = delete;

    TRsaPublicKey& GetPublic() { return Public; }
    const TRsaPublicKey& GetPublic() const { return Public; }
    rsa_private_key* GetPrivate() { return &Private; }
    const rsa_private_key* GetPrivate() const { return &Private; }

    // Checks that the parts belong together (n = pq, the CRT values, e against d) and
    // prepares both halves; false for a damaged or inconsistent pair.
    [[nodiscard]] bool Prepare();

private:
    TRsaPublicKey Public;
    rsa_private_key Private{};
};

// A new key-exchange pair with public exponent 65537; nullptr when the random source fails.
std::unique_ptr<TRsaKeyPair> GenerateKeyExchangePair(unsigned bits = 1024);

// PKCS #1 v1.5 block type 2 wrapping of a short secret, written in little-endian byte order
// into block (exactly ModulusSize() bytes). False when the key is too small or the random
// source fails.
[[nodiscard]] bool WrapKey(const TRsaPublicKey& key, std::span<const uint8_t> secret,
                           std::span<uint8_t> block);

// The reverse: recovers a secret of exactly secret.size() bytes from a little-endian block
// as long as the modulus. False for anything that is not such a block under this pair.
[[nodiscard]] bool UnwrapKey(const TRsaKeyPair& pair, std::span<const uint8_t> block,
                             std::span<uint8_t> secret);

// Little-endian integers of the key blobs. ReadLE takes every byte; WriteLE pads with
// zeros and fails when the value does not fit.
void ReadLE(mpz_t value, std::span<const uint8_t> bytes);
[[nodiscard]] bool WriteLE(const mpz_t value, std::span<uint8_t> bytes);

} // namespace stellik
