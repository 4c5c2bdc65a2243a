#include "package/PackageKeys.h"

#include "package/KeyBlobs.h"
#include "platform/Exception.h"

namespace stellik {

TPackageKeys MakePackageKeys(std::span<const uint8_t> password) {
    const auto pair = GenerateKeyExchangePair(1024);
    if (!pair) {
        throw Exception("Unable Generate Key");
    }
    const TRc4Key passwordKey = TRc4Key::FromPassword(password);
    TPackageKeys keys{ExportPrivateKeyBlob(*pair, &passwordKey),
                      ExportPublicKeyBlob(pair->GetPublic())};
    if (keys.PrivateKeyBlob.empty() || keys.PublicKeyBlob.empty()) {
        throw Exception("Unable Generate Key");
    }
    return keys;
}

} // namespace stellik
