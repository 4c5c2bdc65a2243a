#include "package/Rc4Key.h"

#include "package/SecureBytes.h"
#include "package/SecureRandom.h"

#include <nettle/arcfour.h>
#include <nettle/md5.h>

#include <algorithm>

static_assert(stellik::TRc4Key::Size == MD5_DIGEST_SIZE);

namespace stellik {

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
    arcfour_ctx state{};
    arcfour_set_key(&state, Bytes.size(), Bytes.data());
    arcfour_crypt(&state, size, data, data);
    SecureWipe(&state, sizeof state);
}

} // namespace stellik
