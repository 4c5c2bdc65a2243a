#include "package/KeyBlobs.h"

#include <array>

namespace stellik {

using namespace KeyBlob;

namespace {

constexpr unsigned MinBits = 384;
constexpr unsigned MaxBits = 16384;
constexpr size_t KeyOffset = HeaderSize + RsaHeaderSize; // first byte of the modulus

uint32_t GetU32(std::span<const uint8_t> bytes, size_t at) {
    return static_cast<uint32_t>(bytes[at]) | static_cast<uint32_t>(bytes[at + 1]) << 8 |
           static_cast<uint32_t>(bytes[at + 2]) << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24;
}

void PutU32(std::span<uint8_t> bytes, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void PutHeader(std::span<uint8_t> blob, uint8_t type, uint32_t algorithm) {
    blob[0] = type;
    blob[1] = Version;
    blob[2] = 0;
    blob[3] = 0;
    PutU32(blob, 4, algorithm);
}

bool HasHeader(std::span<const uint8_t> blob, uint8_t type, uint32_t algorithm) {
    return blob.size() >= HeaderSize && blob[0] == type && blob[1] == Version &&
           GetU32(blob, 4) == algorithm;
}

// Magic, bit length and public exponent, just after the blob header.
bool PutRsaHeader(std::span<uint8_t> blob, uint32_t magic, const rsa_public_key& key) {
    if (!mpz_fits_ulong_p(key.e) || mpz_get_ui(key.e) > UINT32_MAX) {
        return false;
    }
    PutU32(blob, HeaderSize, magic);
    PutU32(blob, HeaderSize + 4, static_cast<uint32_t>(key.size * 8));
    PutU32(blob, HeaderSize + 8, static_cast<uint32_t>(mpz_get_ui(key.e)));
    return true;
}

// The bit length the blob declares when its magic is right and the length is one we take
// (a multiple of step); 0 otherwise.
unsigned ReadBits(std::span<const uint8_t> blob, uint32_t magic, unsigned step) {
    if (blob.size() < KeyOffset || GetU32(blob, HeaderSize) != magic) {
        return 0;
    }
    const uint32_t bits = GetU32(blob, HeaderSize + 4);
    return (bits % step == 0 && bits >= MinBits && bits <= MaxBits) ? bits : 0;
}

// Reads the exponent and the modulus and checks that the modulus has the declared length.
bool ReadPublicPart(std::span<const uint8_t> blob, unsigned bits, rsa_public_key& key) {
    const size_t modulusSize = bits / 8;
    mpz_set_ui(key.e, GetU32(blob, HeaderSize + 8));
    ReadLE(key.n, blob.subspan(KeyOffset, modulusSize));
    return mpz_sizeinbase(key.n, 256) == modulusSize;
}

// The private parts in blob order, each with its length as a multiple of bits/16.
struct TPrivateField {
    mpz_t rsa_private_key::*Value;
    size_t Halves;
};
constexpr std::array<TPrivateField, 6> PrivateFields{{
    {&rsa_private_key::p, 1},
    {&rsa_private_key::q, 1},
    {&rsa_private_key::a, 1},
    {&rsa_private_key::b, 1},
    {&rsa_private_key::c, 1},
    {&rsa_private_key::d, 2},
}};

size_t PrivateBlobSize(unsigned bits) {
    return KeyOffset + 9 * (bits / 16); // modulus and d: 2 halves each, five more halves
}

} // namespace

std::vector<uint8_t> ExportPublicKeyBlob(const TRsaPublicKey& key) {
    const rsa_public_key& pub = *key.Get();
    std::vector<uint8_t> blob(KeyOffset + pub.size);
    PutHeader(blob, PublicKeyBlob, AlgRsaKeyExchange);
    if (!PutRsaHeader(blob, MagicPublic, pub) ||
        !WriteLE(pub.n, std::span(blob).subspan(KeyOffset))) {
        return {};
    }
    return blob;
}

std::unique_ptr<TRsaPublicKey> ImportPublicKeyBlob(std::span<const uint8_t> blob) {
    if (!HasHeader(blob, PublicKeyBlob, AlgRsaKeyExchange)) {
        return nullptr;
    }
    const unsigned bits = ReadBits(blob, MagicPublic, 8);
    if (bits == 0 || blob.size() != KeyOffset + bits / 8) {
        return nullptr;
    }
    auto key = std::make_unique<TRsaPublicKey>();
    if (!ReadPublicPart(blob, bits, *key->Get()) || !key->Prepare()) {
        return nullptr;
    }
    return key;
}

TSecureBytes ExportPrivateKeyBlob(const TRsaKeyPair& pair, const TRc4Key* passwordKey) {
    const rsa_public_key& pub = *pair.GetPublic().Get();
    const size_t half = pub.size / 2;
    if (pub.size % 2 != 0) {
        return {};
    }
    TSecureBytes blob(PrivateBlobSize(static_cast<unsigned>(pub.size * 8)));
    std::span<uint8_t> bytes = blob.Span();
    PutHeader(bytes, PrivateKeyBlob, AlgRsaKeyExchange);
    if (!PutRsaHeader(bytes, MagicPrivate, pub) ||
        !WriteLE(pub.n, bytes.subspan(KeyOffset, pub.size))) {
        return {};
    }
    size_t at = KeyOffset + pub.size;
    for (const TPrivateField& field : PrivateFields) {
        const size_t length = field.Halves * half;
        if (!WriteLE(pair.GetPrivate()->*field.Value, bytes.subspan(at, length))) {
            return {};
        }
        at += length;
    }
    if (passwordKey != nullptr) {
        passwordKey->Crypt(blob.data() + HeaderSize, blob.size() - HeaderSize);
    }
    return blob;
}

std::unique_ptr<TRsaKeyPair> ImportPrivateKeyBlob(std::span<const uint8_t> blob,
                                                  const TRc4Key* passwordKey) {
    if (!HasHeader(blob, PrivateKeyBlob, AlgRsaKeyExchange)) {
        return nullptr;
    }
    // Decipher a copy: the caller's blob stays as it is, the plain key never outlives this call.
    TSecureBytes plain(blob);
    if (passwordKey != nullptr) {
        passwordKey->Crypt(plain.data() + HeaderSize, plain.size() - HeaderSize);
    }
    const std::span<const uint8_t> bytes = plain.Span();
    const unsigned bits = ReadBits(bytes, MagicPrivate, 16);
    if (bits == 0 || bytes.size() != PrivateBlobSize(bits)) {
        return nullptr;
    }
    auto pair = std::make_unique<TRsaKeyPair>();
    if (!ReadPublicPart(bytes, bits, *pair->GetPublic().Get())) {
        return nullptr;
    }
    const size_t half = bits / 16;
    size_t at = KeyOffset + bits / 8;
    for (const TPrivateField& field : PrivateFields) {
        const size_t length = field.Halves * half;
        ReadLE(pair->GetPrivate()->*field.Value, bytes.subspan(at, length));
        at += length;
    }
    if (!pair->Prepare()) {
        return nullptr;
    }
    return pair;
}

size_t SimpleBlobSize(const TRsaPublicKey& exchangeKey) {
    return HeaderSize + 4 + exchangeKey.ModulusSize();
}

bool ExportSimpleBlob(const TRc4Key& sessionKey, const TRsaPublicKey& exchangeKey,
                      std::span<uint8_t> blob) {
    if (blob.size() != SimpleBlobSize(exchangeKey)) {
        return false;
    }
    PutHeader(blob, SimpleBlob, AlgRc4);
    PutU32(blob, HeaderSize, AlgRsaKeyExchange);
    return WrapKey(exchangeKey, sessionKey.GetBytes(), blob.subspan(HeaderSize + 4));
}

std::optional<TRc4Key> ImportSimpleBlob(std::span<const uint8_t> blob, const TRsaKeyPair& pair) {
    if (!HasHeader(blob, SimpleBlob, AlgRc4) || blob.size() != SimpleBlobSize(pair.GetPublic()) ||
        GetU32(blob, HeaderSize) != AlgRsaKeyExchange) {
        return std::nullopt;
    }
    TSecureBytes secret(TRc4Key::Size);
    if (!UnwrapKey(pair, blob.subspan(HeaderSize + 4), secret.Span())) {
        return std::nullopt;
    }
    return TRc4Key(secret.Span().first<TRc4Key::Size>());
}

} // namespace stellik
