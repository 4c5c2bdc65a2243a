#include "package/XmlCrypt.h"

#include "package/Base64.h"
#include "package/CryptManager.h"
#include "platform/Exception.h"
#include "xml/XpTextUtf8.h"

namespace stellik {

std::unique_ptr<TXmlCryptManager> XmlCryptManager;

namespace {

constexpr std::u16string_view EncryptionNamespace = u"http://www.w3.org/2001/04/xmlenc#";
constexpr std::u16string_view SignatureNamespace = u"http://www.w3.org/2000/09/xmldsig#";
constexpr std::u16string_view SchemaInstanceNamespace =
    u"http://www.w3.org/2001/XMLSchema-instance";

constexpr std::u16string_view SessionKeyPath = u"ds:KeyInfo/EncryptedKey/CipherData/CipherValue";
// The direct child only: the key's CipherData inside ds:KeyInfo does not count.
constexpr std::u16string_view CipherDataPath = u"CipherData/CipherValue";

// A CipherData element holding one CipherValue with the base64 text of bytes.
void AppendCipherData(TXpNode parent, std::span<const uint8_t> bytes) {
    AppendCDataSectionUtf8(parent.AppendElement(u"CipherData").AppendElement(u"CipherValue"),
                           Base64Encode(bytes));
}

} // namespace

TXmlCryptManager::TXmlCryptManager() {
    XpObjModel1.SetRaiseErrors(false);
    XpObjModel1.SetOutCharSet(ceUTF8);
    XpObjModel1.SetWriteUTF8Signature(true);
}

void TXmlCryptManager::Decrypt(TMemoryStream& stream) const {
    // A member that was not well-formed leaves the document object without an element.
    const TXpNode root = XpObjModel1.DocumentElement();
    if (!root) {
        throw Exception("Unable Extract Session Key");
    }
    const std::string keyText = SelectStringUtf8(root, SessionKeyPath);
    if (keyText.empty()) {
        throw Exception("Unable Extract Session Key");
    }
    TMemoryStream sessionKey;
    // Text that is not base64 leaves the key empty, and the crypto layer refuses it.
    Base64Decode(keyText, sessionKey);
    const std::string dataText = SelectStringUtf8(root, CipherDataPath);
    if (dataText.empty()) {
        throw Exception("Unable Extract Cipher Data");
    }
    if (!Base64Decode(dataText, stream)) {
        throw Exception("Unable Decrypt Message");
    }
    CryptManager.Decrypt(stream, sessionKey);
}

void TXmlCryptManager::Encrypt(TMemoryStream& stream, const std::string& encryptKey) {
    TMemoryStream key;
    // Text that is not base64 leaves the key empty: "Unable Import Public Key".
    Base64Decode(encryptKey, key);
    key.SetPosition(0);
    CryptManager.Encrypt(stream, key);

    XpObjModel1.ClearDocument();
    TXpNode document = XpObjModel1.Document();
    document.AppendChild(
        XpObjModel1.CreateProcessingInstruction(u"xml", u"version=\"1.0\" encoding=\"utf-8\""));
    TXpNode root = document.AppendChild(XpObjModel1.CreateElement(u"EncryptedData"));
    root.SetAttribute(u"xmlns", EncryptionNamespace);
    root.SetAttribute(u"xmlns:ds", SignatureNamespace);
    root.SetAttribute(u"xmlns:xsi", SchemaInstanceNamespace);
    root.SetAttribute(u"xsi:schemaLocation",
                      std::u16string(EncryptionNamespace) + u" xenc-schema.xsd");
    AppendCipherData(root.AppendElement(u"ds:KeyInfo").AppendElement(u"EncryptedKey"),
                     {key.GetMemory(), key.GetSize()});
    // The whole stream, whatever its position: the crypto layer enciphered all of it.
    AppendCipherData(root, {stream.GetMemory(), stream.GetSize()});
}

} // namespace stellik
