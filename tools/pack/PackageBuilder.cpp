#include "tools/pack/PackageBuilder.h"

#include "package/Base64.h"
#include "package/CryptManager.h"
#include "package/StreamZip.h"
#include "package/XmlCrypt.h"
#include "platform/MemoryStream.h"

namespace stellik {

namespace {

// Encrypting for a public key uses no key of the container, but the crypto layer opens one;
// the packer names its own for as long as it encrypts.
constexpr const char* PackKeyStoreName = "Stellik.Pack";

class TScopedKeyStore {
public:
    explicit TScopedKeyStore(std::string name) : Previous(CryptManager.KeyStoreName) {
        CryptManager.KeyStoreName = std::move(name);
    }
    ~TScopedKeyStore() { CryptManager.KeyStoreName = Previous; }
    TScopedKeyStore(const TScopedKeyStore&) = delete;
    TScopedKeyStore& operator=(const TScopedKeyStore&) = delete;

private:
    std::string Previous;
};

TMemoryStream EncryptedDocument(const std::string& document, const std::string& publicKey) {
    TXmlCryptManager crypt;
    TMemoryStream data(document);
    crypt.Encrypt(data, publicKey);
    TMemoryStream encrypted;
    crypt.GetDocument().SaveToStream(encrypted);
    encrypted.SetPosition(0);
    return encrypted;
}

} // namespace

std::string BuildPackage(const TPackageContent& content, std::span<const uint8_t> publicKeyBlob) {
    const TScopedKeyStore keyStore(PackKeyStoreName);
    const std::string publicKey = Base64Encode(publicKeyBlob);
    TMemoryStream archive;
    TStreamZip zip;
    zip.Open(archive);
    TMemoryStream test = EncryptedDocument(content.Test, publicKey);
    zip.AddFromStream("scontent.xml", &test);
    TMemoryStream settings = EncryptedDocument(content.Settings, publicKey);
    zip.AddFromStream("settings.xml", &settings);
    for (const auto& [name, bytes] : content.Pictures) {
        TMemoryStream picture(bytes);
        zip.AddFromStream(name, &picture);
    }
    zip.Close();
    return std::string(archive.View());
}

} // namespace stellik
