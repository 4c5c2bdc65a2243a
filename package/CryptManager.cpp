#include "package/CryptManager.h"

#include "package/KeyBlobs.h"
#include "platform/Exception.h"

namespace stellik {

TCryptManager CryptManager;

namespace {

std::span<const uint8_t> Whole(const TMemoryStream& stream) {
    return {stream.GetMemory(), stream.GetSize()};
}

} // namespace

void TCryptManager::CheckKeyStoreName() const {
    if (KeyStoreName.empty()) {
        throw Exception("KeyStoreName Must be set");
    }
}

std::unique_ptr<TKeyContainer> TCryptManager::AcquireContext(const std::string& containerName,
                                                             bool generateKey) const {
    if (auto existing = TKeyContainer::Open(containerName, MachineKeySet)) {
        return existing;
    }
    auto created = TKeyContainer::Create(containerName, MachineKeySet);
    if (!created) {
        // Another process may have made it between the two calls.
        if (auto raced = TKeyContainer::Open(containerName, MachineKeySet)) {
            return raced;
        }
        throw Exception("Unable Create Key Store");
    }
    if (generateKey) {
        const auto pair = GenerateKeyExchangePair();
        if (!pair || !created->StoreUserKey(*pair)) {
            throw Exception("Unable Generate Key");
        }
    }
    return created;
}

void TCryptManager::ImportKeyWithPassword(const TMemoryStream& keyBlob,
                                          const TMemoryStream& password) const {
    CheckKeyStoreName();
    const auto container = AcquireContext(KeyStoreName, false);
    const TRc4Key passwordKey = TRc4Key::FromPassword(Whole(password));
    const auto pair = ImportPrivateKeyBlob(Whole(keyBlob), &passwordKey);
    if (!pair || !container->StoreUserKey(*pair)) {
        throw Exception("Unable Import Key");
    }
}

void TCryptManager::Decrypt(TMemoryStream& data, const TMemoryStream& sessionKey) const {
    CheckKeyStoreName();
    const auto container = AcquireContext(KeyStoreName, false);
    const auto userKey = container->GetUserKey();
    if (!userKey) {
        throw Exception("Unable Get User Key");
    }
    const auto session = ImportSimpleBlob(Whole(sessionKey), *userKey);
    if (!session) {
        throw Exception("Unable Import Session Key");
    }
    session->Crypt(data.GetMemory(), data.GetSize());
    data.SetPosition(0);
}

void TCryptManager::Encrypt(TMemoryStream& data, TMemoryStream& keyBlob) const {
    CheckKeyStoreName();
    // A public key needs nothing from the container, but the container is opened (and made
    // on first use) all the same, so every operation sees the same key store.
    const auto container = AcquireContext(KeyStoreName, false);
    const auto publicKey = ImportPublicKeyBlob(Whole(keyBlob));
    if (!publicKey) {
        throw Exception("Unable Import Public Key");
    }
    const auto session = TRc4Key::Generate();
    if (!session) {
        throw Exception("Unable Generate Session Key");
    }
    keyBlob.Clear();
    keyBlob.SetSize(SimpleBlobSize(*publicKey));
    if (!ExportSimpleBlob(*session, *publicKey, {keyBlob.GetMemory(), keyBlob.GetSize()})) {
        keyBlob.Clear();
        throw Exception("Unable Export Session Key");
    }
    keyBlob.SetPosition(0);
    session->Crypt(data.GetMemory(), data.GetSize());
}

} // namespace stellik
