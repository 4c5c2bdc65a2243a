// package/XmlCrypt.h -- encrypted XML documents (EncryptedData)
#pragma once

#include "platform/MemoryStream.h"
#include "xml/XpObjModel.h"

#include <memory>
#include <string>

namespace stellik {

// Reads and writes the EncryptedData documents the package members and encrypted results
// travel in: the RC4 session key wrapped for a key-exchange pair and the cipher data, both
// base64 text in CDATA sections, under fixed literal element names:
//
//   EncryptedData / ds:KeyInfo / EncryptedKey / CipherData / CipherValue   (session key)
//   EncryptedData / CipherData / CipherValue                               (cipher data)
//
// Names are matched as written, prefix included; namespace declarations play no part, so a
// document that puts the same elements under another prefix is not understood. The crypto
// work goes to the global CryptManager and its key container.
class TXmlCryptManager {
public:
    TXmlCryptManager();

    // Reads an EncryptedData document from the stream's position for Decrypt; false when it
    // is not well-formed (Decrypt then finds no document element).
    bool LoadStream(TMemoryStream& stream);
    // The document last loaded or made by Encrypt; the caller saves it after Encrypt (UTF-8
    // with signature).
    const TXpObjModel& GetDocument() const { return XpObjModel1; }

    // Takes the session key and the cipher data out of the loaded document and writes the
    // plain bytes into stream (expected empty): afterwards it holds them, position 0.
    // Raises "Decrypt without an EncryptedData document" before any LoadStream or Encrypt.
    // "Unable Extract Session Key" when no document element or no key text is there (stream
    // untouched), "Unable Extract Cipher Data" when the document element has no cipher text
    // (stream untouched), "Unable Decrypt Message" when that text is not base64 (stream
    // untouched); the crypto layer's messages otherwise.
    void Decrypt(TMemoryStream& stream) const;

    // Encrypts every byte of stream in place for the public key whose key blob encryptKey
    // carries as base64, and replaces the document with the EncryptedData document of the
    // result. A key that cannot be used (empty, not base64, damaged) raises "Unable Import
    // Public Key", leaving the stream and the document as they were.
    void Encrypt(TMemoryStream& stream, const std::string& encryptKey);

private:
    TXpObjModel XpObjModel1;
    bool HasDocument = false; // loaded or made: Decrypt never reads an empty object
};

// The program's one instance, made at start-up after the other service modules.
extern std::unique_ptr<TXmlCryptManager> XmlCryptManager;

} // namespace stellik
