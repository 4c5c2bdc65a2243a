// package/KeyBlobs.h -- the key blob formats of the key container and the packages
//
// Every blob begins with an 8-byte header: type (1 byte), version 2 (1 byte), two reserved
// bytes, the key's algorithm id (4 bytes, little-endian). All integers are little-endian.
#pragma once

#include "package/Rc4Key.h"
#include "package/RsaKeys.h"
#include "package/SecureBytes.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace stellik {

namespace KeyBlob {
constexpr uint8_t SimpleBlob = 1;
constexpr uint8_t PublicKeyBlob = 6;
constexpr uint8_t PrivateKeyBlob = 7;
constexpr uint8_t Version = 2;
constexpr uint32_t AlgRc4 = 0x6801;
constexpr uint32_t AlgRsaKeyExchange = 0xA400;
constexpr uint32_t MagicPublic = 0x31415352;  // "RSA1"
constexpr uint32_t MagicPrivate = 0x32415352; // "RSA2"
constexpr size_t HeaderSize = 8;
constexpr size_t RsaHeaderSize = 12; // magic, bit length, public exponent
} // namespace KeyBlob

// Public key blob: header, "RSA1", bit length, exponent, modulus (bits/8 bytes).
std::vector<uint8_t> ExportPublicKeyBlob(const TRsaPublicKey& key);
// nullptr when the bytes are not the public key blob of a usable RSA key-exchange key.
std::unique_ptr<TRsaPublicKey> ImportPublicKeyBlob(std::span<const uint8_t> blob);

// Private key blob: header, "RSA2", bit length, exponent, then modulus (bits/8 bytes),
// p, q, d mod (p-1), d mod (q-1), q^-1 mod p (bits/16 bytes each) and d (bits/8 bytes):
// 596 bytes for 1,024 bits. With a password key everything after the header is
// RC4-enciphered under it. Empty when the pair does not fit its own bit length.
TSecureBytes ExportPrivateKeyBlob(const TRsaKeyPair& pair, const TRc4Key* passwordKey);
// nullptr for a blob that is damaged, not a key-exchange pair, or enciphered under
// another password.
std::unique_ptr<TRsaKeyPair> ImportPrivateKeyBlob(std::span<const uint8_t> blob,
                                                  const TRc4Key* passwordKey);

// Session key blob: header naming RC4, the wrapping key's algorithm id (RSA key
// exchange), then the session key wrapped for that public key (ModulusSize() bytes).
size_t SimpleBlobSize(const TRsaPublicKey& exchangeKey);
// Writes into blob (exactly SimpleBlobSize bytes); false when wrapping fails.
[[nodiscard]] bool ExportSimpleBlob(const TRc4Key& sessionKey, const TRsaPublicKey& exchangeKey,
                                    std::span<uint8_t> blob);
// The session key, or none when the blob is damaged or wrapped for another key.
std::optional<TRc4Key> ImportSimpleBlob(std::span<const uint8_t> blob, const TRsaKeyPair& pair);

} // namespace stellik
