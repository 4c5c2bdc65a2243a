#include "tools/pack/PackageBuilder.h"

#include "package/Base64.h"
#include "package/CryptManager.h"
#include "package/StreamZip.h"
#include "package/XmlCrypt.h"
#include "package/ZipRecords.h"
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

std::string BuildPackage(TPackageContent content, std::span<const uint8_t> publicKeyBlob) {
    const TScopedKeyStore keyStore(PackKeyStoreName);
    const std::string publicKey = Base64Encode(publicKeyBlob);
    TMemoryStream test = EncryptedDocument(content.Test, publicKey);
    TMemoryStream settings = EncryptedDocument(content.Settings, publicKey);
    // Room for the largest archive the members can make (all stored) is taken at once: grown
    // member by member, the buffer would be copied, and held twice, at every doubling.
    size_t largest = ZipEndRecordSize;
    auto addRoom = [&largest](const std::string& name, size_t size) {
        largest += ZipLocalHeaderSize + ZipCentralHeaderSize + 2 * name.size() + size;
    };
    addRoom("scontent.xml", test.GetSize());
    addRoom("settings.xml", settings.GetSize());
    for (const auto& [name, bytes] : content.Pictures) {
        addRoom(name, bytes.size());
    }
    TMemoryStream archive;
    archive.Reserve(largest);
    TStreamZip zip;
    zip.Open(archive);
    zip.AddFromStream("scontent.xml", &test);
    zip.AddFromStream("settings.xml", &settings);
    for (auto& [name, bytes] : content.Pictures) {
        TMemoryStream picture(bytes);
        std::string().swap(bytes);
        zip.AddFromStream(name, &picture);
    }
    zip.Close();
    return std::string(archive.View());
}

} // namespace stellik
