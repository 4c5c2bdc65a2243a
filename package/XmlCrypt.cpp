#include "package/XmlCrypt.h"

#include "package/Base64.h"
#include "package/CryptManager.h"
#include "platform/Exception.h"
#include "xml/XmlHandles.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

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

// Asks for huge pages under the whole 2 MB pages of a large buffer not yet written: the text
// of a large document otherwise costs a page fault every 4 KB, more than encoding it.
void AdviseHugePages(void* memory, size_t size) {
    constexpr uintptr_t HugePage = uintptr_t{2} << 20;
    const auto start = reinterpret_cast<uintptr_t>(memory);
    const uintptr_t begin = (start + HugePage - 1) & ~(HugePage - 1);
    const uintptr_t end = (start + size) & ~(HugePage - 1);
    if (end > begin) {
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE); // only a hint
    }
}

// A CipherData element holding one CipherValue with the base64 text of bytes. The text is
// encoded straight into the buffer the CDATA node keeps: the cipher text of a large document
// is the largest thing in memory, and this way it exists once.
void AppendCipherData(TXpNode parent, std::span<const uint8_t> bytes) {
    TXpNode value = parent.AppendElement(u"CipherData").AppendElement(u"CipherValue");
    const size_t length = Base64Length(bytes.size());
    XmlCharPtr text(static_cast<xmlChar*>(xmlMallocAtomic(length + 1)));
    TXpOwnedNode section(xmlNewCDataBlock(value.Handle()->doc, nullptr, 0));
    if (!text || !section) {
        throw std::bad_alloc();
    }
    AdviseHugePages(text.get(), length);
    Base64EncodeInto(bytes, reinterpret_cast<char*>(text.get()));
    text.get()[length] = 0;
    section->content = text.release();
    value.AppendChild(std::move(section));
}

// The XPath string value of the element path selects from context, read where the
// document keeps it when the element holds one text or CDATA node (as every document we
// write does), joined into a copy otherwise; empty when nothing is selected.
class TSelectedText {
public:
    TSelectedText(const TXpNode& context, std::u16string_view path) {
        const TXpNode node = context.SelectSingleNode(path);
        if (!node) {
            return;
        }
        const xmlNode* only = node.Handle()->children;
        if (only != nullptr && only->next == nullptr && only->content != nullptr &&
            (only->type == XML_TEXT_NODE || only->type == XML_CDATA_SECTION_NODE)) {
            Text = reinterpret_cast<const char*>(only->content);
            return;
        }
        Joined.reset(xmlNodeGetContent(node.Handle()));
        if (Joined) {
            Text = reinterpret_cast<const char*>(Joined.get());
        }
    }
    std::string_view Get() const { return Text; }

private:
    XmlCharPtr Joined; // only for text spread over several nodes
    std::string_view Text;
};

} // namespace

TXmlCryptManager::TXmlCryptManager() {
    XpObjModel1.SetRaiseErrors(false);
    XpObjModel1.SetOutCharSet(ceUTF8);
    XpObjModel1.SetWriteUTF8Signature(true);
}

bool TXmlCryptManager::LoadStream(TMemoryStream& stream) {
    HasDocument = true;
    return XpObjModel1.LoadStream(stream);
}

void TXmlCryptManager::Decrypt(TMemoryStream& stream) const {
    if (!HasDocument) {
        throw Exception("Decrypt without an EncryptedData document");
    }
    // A member that was not well-formed leaves the document object without an element.
    const TXpNode root = XpObjModel1.DocumentElement();
    if (!root) {
        throw Exception("Unable Extract Session Key");
    }
    const TSelectedText keyText(root, SessionKeyPath);
    if (keyText.Get().empty()) {
        throw Exception("Unable Extract Session Key");
    }
    TMemoryStream sessionKey;
    // Text that is not base64 leaves the key empty, and the crypto layer refuses it.
    Base64Decode(keyText.Get(), sessionKey);
    const TSelectedText dataText(root, CipherDataPath);
    if (dataText.Get().empty()) {
        throw Exception("Unable Extract Cipher Data");
    }
    // Decoded straight into the stream, which the crypto layer then deciphers in place.
    if (!Base64Decode(dataText.Get(), stream)) {
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
    HasDocument = true;
}

} // namespace stellik
