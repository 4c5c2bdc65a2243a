#include "fuzz/FuzzSupport.h"

#include "package/CryptManager.h"
#include "package/KeyBlobs.h"
#include "package/Rc4Key.h"
#include "platform/Exception.h"

#include <cstdlib>
#include <string>

namespace stellik::fuzz {

namespace {

// The plain private key blob of a 1,024-bit pair made with a standard tool for these programs.
constexpr std::string_view FuzzKeyHex = "0702000000a400005253413200040000010001001fe82001cfed2d9b95"
                                        "a362d691356b0e6f9513d2307d4b967aef57c1"
                                        "d45f9a9fd03efddfe2923411995d46a595e070a85e5f8aae68767e06bd"
                                        "aed1b9482d1d8a0789abdb9ff36bf9f88a72cf"
                                        "49cefdd2dc72eca9ae6f103919069d6614f895b5a7c622547dc439cfd9"
                                        "7183190b70419bbbc6c2e7e744b792848e89a9"
                                        "0a9012d9032b67d68eee956dd5f98facbeba55a77a0612adf2c7040da5"
                                        "98e28f034e059a915c84b0e622a28802771855"
                                        "6d9b3636c3e9338127e83a8a8d617640a30d3cf7b5d5229f01e62bbeff"
                                        "5acc53847c0c538031970b21466c9391f620d6"
                                        "e949fdc73382a3564924ec593e796a1b0de487648f04d2072b9763b61a"
                                        "8cacbabac0c4e0f754b758eb44a77998fc0f04"
                                        "0bb95460a7098d2195d1815663dd4dccfdfb9b76c83d96af1375c1ceef"
                                        "15d05a5d01eda0eb94275b2d819fdb7d669483"
                                        "c53f3a1511402f03ba2e0edb2a8f94f318ccfea0cdbbecf3ea808c5ac1"
                                        "f130b36d52ba40fb0eb54c02f8dd0bf90dfd10"
                                        "42a83be974d4650660cf2ab7c76b9995169df5a95282a43c6490cac58a"
                                        "aa6790a83f90e897edd70edc6a3a902753de6f"
                                        "c933b939ff15124ff3af6185730cc1096249a0c093a0a44f69e0023ba7"
                                        "0a7ce6adfe210a396aece087dbf0ab75ae9ca0"
                                        "7b5ce803ff501dfcf382b699cb276a20641644672f26027b9d9cf10b03"
                                        "eea87fdb978fb651a4951c70180e284f3e402d"
                                        "b5bcacf380e066f9dbacd573bfc83cb0761933982cc92db97042eefe1b"
                                        "4701dc42a37d07079799cf0c6712dc49a034dc"
                                        "a9dcd3c39461ee8fb5afaf4c7e33b6bfef4a911b";

std::vector<uint8_t> FromHex(std::string_view hex) {
    std::vector<uint8_t> bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(
            static_cast<uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

} // namespace

TMemoryStream StreamOf(const uint8_t* data, size_t size) {
    return TMemoryStream(std::vector<uint8_t>(data, data + size));
}

std::span<const uint8_t> FuzzPrivateKeyBlob() {
    static const std::vector<uint8_t> blob = FromHex(FuzzKeyHex);
    return blob;
}

const TRsaKeyPair& FuzzKeyPair() {
    static const std::unique_ptr<TRsaKeyPair> pair = [] {
        auto imported = ImportPrivateKeyBlob(FuzzPrivateKeyBlob(), nullptr);
        if (!imported) {
            std::abort(); // the blob above is damaged: nothing here would mean anything
        }
        return imported;
    }();
    return *pair;
}

std::vector<uint8_t> FuzzPublicKeyBlob() {
    return ExportPublicKeyBlob(FuzzKeyPair().GetPublic());
}

void InstallFuzzKey() {
    static const bool installed = [] {
        const std::span<const uint8_t> password(
            reinterpret_cast<const uint8_t*>(PackagePassword.data()), PackagePassword.size());
        const TRc4Key passwordKey = TRc4Key::FromPassword(password);
        const TSecureBytes blob = ExportPrivateKeyBlob(FuzzKeyPair(), &passwordKey);
        CryptManager.KeyStoreName = "Stellik.Fuzz";
        CryptManager.ImportKeyWithPassword(
            TMemoryStream(std::vector<uint8_t>(blob.Span().begin(), blob.Span().end())),
            TMemoryStream(PackagePassword));
        return true;
    }();
    (void)installed;
}

std::string ResourcePath(std::string_view name) {
    return std::string(STELLIK_SOURCE_DIR "/resources/") + std::string(name);
}

} // namespace stellik::fuzz
