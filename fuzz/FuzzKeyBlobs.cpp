// Key blobs: the package key ("DVCK", enciphered under the password), the key container's
// plain pair, the public key of the results and the session keys of package members. Whatever
// is imported is used once, as the player would use it.
#include "fuzz/FuzzSupport.h"
#include "package/KeyBlobs.h"
#include "package/Rc4Key.h"

#include <algorithm>
#include <array>
#include <cstdlib>

using namespace stellik;

namespace {

const TRc4Key& PasswordKey() {
    static const TRc4Key key =
        TRc4Key::FromPassword({reinterpret_cast<const uint8_t*>(fuzz::PackagePassword.data()),
                               fuzz::PackagePassword.size()});
    return key;
}

void UsePair(const TRsaKeyPair& pair) {
    std::array<uint8_t, TRc4Key::Size> secret{};
    const TRc4Key sessionKey(secret);
    std::vector<uint8_t> blob(SimpleBlobSize(pair.GetPublic()));
    if (ExportSimpleBlob(sessionKey, pair.GetPublic(), blob)) {
        (void)ImportSimpleBlob(blob, pair);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> blob(data, size);
    if (const auto key = ImportPublicKeyBlob(blob)) {
        // A key taken in is written back the same, but for the two reserved header bytes.
        std::vector<uint8_t> written = ExportPublicKeyBlob(*key);
        if (written.size() != size) {
            std::abort();
        }
        written[2] = data[2];
        written[3] = data[3];
        if (!std::equal(written.begin(), written.end(), data)) {
            std::abort();
        }
    }
    for (const TRc4Key* passwordKey : {static_cast<const TRc4Key*>(nullptr), &PasswordKey()}) {
        if (const auto pair = ImportPrivateKeyBlob(blob, passwordKey)) {
            UsePair(*pair);
        }
    }
    (void)ImportSimpleBlob(blob, fuzz::FuzzKeyPair());
    return 0;
}
