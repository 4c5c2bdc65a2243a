#include "package/Rc4Key.h"

#include "package/SecureBytes.h"
#include "package/SecureRandom.h"

#include <nettle/md5.h>

#include <algorithm>
#include <cstring>

static_assert(stellik::TRc4Key::Size == MD5_DIGEST_SIZE);

namespace stellik {

namespace {

// The RC4 permutation, held in words: on current processors the byte-wise exchanges of a byte
// table cost more than the larger table, and the key stream goes out eight bytes at a time.
// This runs well ahead of the library's byte-wise cipher on large documents.
class TRc4State {
public:
    explicit TRc4State(std::span<const uint8_t> key) {
        for (uint32_t k = 0; k < 256; ++k) {
            S[k] = k;
        }
        uint32_t j = 0;
        for (uint32_t k = 0; k < 256; ++k) {
            j = (j + S[k] + key[k % key.size()]) & 255;
            std::swap(S[k], S[j]);
        }
    }
    ~TRc4State() { SecureWipe(this, sizeof *this); }
    TRc4State(const TRc4State&) = delete;
    TRc4State& operator=(const TRc4State&) = delete;

    void Crypt(uint8_t* data, size_t size) {
        size_t at = 0;
        for (; at + 8 <= size; at += 8) {
            uint64_t stream = 0;
#pragma GCC unroll 8
            for (int k = 0; k < 8; ++k) {
                stream |= uint64_t{Next()} << (8 * k);
            }
            uint64_t word;
            std::memcpy(&word, data + at, 8);
            word ^= stream;
            std::memcpy(data + at, &word, 8);
        }
        for (; at < size; ++at) {
            data[at] ^= Next();
        }
    }

private:
    uint8_t Next() {
        I = (I + 1) & 255;
        const uint32_t x = S[I];
        J = (J + x) & 255;
        const uint32_t y = S[J];
        S[I] = y;
        S[J] = x;
        return static_cast<uint8_t>(S[(x + y) & 255]);
    }

    uint32_t S[256];
    uint32_t I = 0;
    uint32_t J = 0;
};

} // namespace

TRc4Key::TRc4Key(std::span<const uint8_t, Size> bytes) {
    std::copy(bytes.begin(), bytes.end(), Bytes.begin());
}

TRc4Key::~TRc4Key() {
    SecureWipe(Bytes.data(), Bytes.size());
}

TRc4Key TRc4Key::FromPassword(std::span<const uint8_t> password) {
    md5_ctx hash{};
    md5_init(&hash);
    md5_update(&hash, password.size(), password.data());
    std::array<uint8_t, Size> digest{};
    md5_digest(&hash, digest.size(), digest.data());
    TRc4Key key(digest);
    SecureWipe(digest.data(), digest.size());
    SecureWipe(&hash, sizeof hash);
    return key;
}

std::optional<TRc4Key> TRc4Key::Generate() {
    std::array<uint8_t, Size> bytes{};
    if (!FillSecureRandom(bytes.data(), bytes.size())) {
        return std::nullopt;
    }
    std::optional<TRc4Key> key(std::in_place, bytes);
    SecureWipe(bytes.data(), bytes.size());
    return key;
}

void TRc4Key::Crypt(uint8_t* data, size_t size) const {
    TRc4State(Bytes).Crypt(data, size);
}

} // namespace stellik
