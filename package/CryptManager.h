// package/CryptManager.h -- the key container and the crypto operations on memory streams
#pragma once

#include "package/KeyContainer.h"
#include "platform/MemoryStream.h"

#include <memory>
#include <string>

namespace stellik {

// Names a key container and decrypts and encrypts memory streams with it. Every operation
// opens the container, works, and lets go of every key and the container (innermost first)
// before it returns or throws. Streams are used whole, from byte 0 to their size, whatever
// their position. Failures throw Exception with the operation's message.
class TCryptManager {
public:
    // Name of the key container; every operation refuses to run while it is empty.
    std::string KeyStoreName;
    // The machine's containers instead of the user's (nothing in the program sets it).
    bool MachineKeySet = false;

    // Throws "KeyStoreName Must be set" when KeyStoreName is empty.
    void CheckKeyStoreName() const;

    // Opens the named container, creating it empty when it does not exist ("Unable Create
    // Key Store" when neither works; a key folder of another user is refused with a message
    // naming it). Only a container created here gets a new key-exchange
    // pair, and only when generateKey is true ("Unable Generate Key").
    std::unique_ptr<TKeyContainer> AcquireContext(const std::string& containerName,
                                                  bool generateKey) const;

    // Stores the pair of a password-protected private key blob as the container's
    // key-exchange pair, replacing an earlier one ("Unable Import Key" for a wrong password
    // or a damaged blob). The password's key is the MD5 value of all its bytes.
    void ImportKeyWithPassword(const TMemoryStream& keyBlob, const TMemoryStream& password) const;

    // Deciphers data in place with the session key that sessionKey (a session key blob)
    // carries wrapped for the container's pair; data keeps its size, position 0.
    void Decrypt(TMemoryStream& data, const TMemoryStream& sessionKey) const;

    // Enciphers data in place with a new session key (same size, position unchanged) and
    // replaces keyBlob, a public key blob on entry, with the session key wrapped for that
    // public key (a session key blob, position 0).
    void Encrypt(TMemoryStream& data, TMemoryStream& keyBlob) const;
};

// The program's one instance.
extern TCryptManager CryptManager;

} // namespace stellik
