// Encrypted XML documents: building them, reading them back, and refusing what is not one.
#include "PackageTestSupport.h"

#include "package/Base64.h"
#include "package/CryptManager.h"
#include "package/StreamUnZip.h"
#include "package/StreamZip.h"
#include "package/XmlCrypt.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>

namespace stellik::testing {
namespace {

std::string PublicKeyText() {
    return Base64Encode(SharedKeys().PublicKeyBlob);
}

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}

// A saved EncryptedData document and its two base64 texts, read through the XML layer.
struct TEncrypted {
    std::string Saved;
    std::string KeyText;
    std::string DataText;
    TMemoryStream Cipher; // the stream after Encrypt
};

TEncrypted Encrypted(std::string_view plain) {
    TXmlCryptManager maker;
    TEncrypted result;
    result.Cipher = TMemoryStream(plain);
    maker.Encrypt(result.Cipher, PublicKeyText());
    TMemoryStream saved;
    maker.GetDocument().SaveToStream(saved);
    result.Saved = saved.View();
    const TXpNode root = maker.GetDocument().DocumentElement();
    result.KeyText =
        Utf16ToUtf8(root.SelectString(u"ds:KeyInfo/EncryptedKey/CipherData/CipherValue"));
    result.DataText = Utf16ToUtf8(root.SelectString(u"CipherData/CipherValue"));
    return result;
}

// Loads document as the player does and decrypts into stream.
void LoadAndDecrypt(std::string_view document, TMemoryStream& stream) {
    TXmlCryptManager reader;
    TMemoryStream member(document);
    reader.LoadStream(member);
    reader.Decrypt(stream);
}

// The global crypto manager works on a fresh container holding the shared pair.
class XmlCrypt : public ::testing::Test {
protected:
    void SetUp() override {
        SavedName = CryptManager.KeyStoreName;
        CryptManager.KeyStoreName = FreshContainerName();
        CryptManager.ImportKeyWithPassword(StreamOf(SharedKeys().PrivateKeyBlob.Span()),
                                           TMemoryStream(Password));
    }
    void TearDown() override { CryptManager.KeyStoreName = SavedName; }

    std::string SavedName;
};

TEST_F(XmlCrypt, EncryptWritesTheDocumentByteForByte) {
    const TEncrypted doc = Encrypted("0123456789");
    // The wrapped key: a session key blob (version 2, RC4, wrapped by an RSA exchange key),
    // 12 header bytes and 128 key bytes.
    EXPECT_EQ(doc.KeyText.size(), 188u);
    EXPECT_TRUE(doc.KeyText.starts_with("AQIAAAFoAAAApAAA")) << doc.KeyText;
    EXPECT_TRUE(doc.KeyText.ends_with("=") && !doc.KeyText.ends_with("==")) << doc.KeyText;
    // The stream holds the cipher bytes afterwards, and they are what the document carries.
    EXPECT_EQ(doc.Cipher.GetSize(), 10u);
    EXPECT_NE(doc.Cipher.View(), "0123456789");
    EXPECT_EQ(doc.DataText.size(), 16u);
    TMemoryStream carried;
    ASSERT_TRUE(Base64Decode(doc.DataText, carried));
    EXPECT_EQ(carried.Bytes(), doc.Cipher.Bytes());

    EXPECT_EQ(doc.Saved,
              "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
              "<EncryptedData xmlns=\"http://www.w3.org/2001/04/xmlenc#\""
              " xmlns:ds=\"http://www.w3.org/2000/09/xmldsig#\""
              " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
              " xsi:schemaLocation=\"http://www.w3.org/2001/04/xmlenc# xenc-schema.xsd\">"
              "<ds:KeyInfo><EncryptedKey><CipherData><CipherValue><![CDATA[" +
                  doc.KeyText +
                  "]]></CipherValue></CipherData></EncryptedKey></ds:KeyInfo>"
                  "<CipherData><CipherValue><![CDATA[" +
                  doc.DataText + "]]></CipherValue></CipherData></EncryptedData>");
}

TEST_F(XmlCrypt, EncryptedBytesDecryptBackThroughTheSavedDocument) {
    for (size_t size : {1u, 2u, 3u, 4000u}) {
        const auto plain = RandomBytes(size, static_cast<uint32_t>(size) + 100);
        TXmlCryptManager maker;
        TMemoryStream data = StreamOf(plain);
        data.SetPosition(size / 2); // the whole stream is encrypted, whatever its position
        maker.Encrypt(data, PublicKeyText());
        TMemoryStream saved;
        maker.GetDocument().SaveToStream(saved);

        TMemoryStream out;
        LoadAndDecrypt(saved.View(), out);
        EXPECT_EQ(out.Bytes(), plain) << size;
        EXPECT_EQ(out.GetPosition(), 0u);
    }
}

TEST_F(XmlCrypt, ReadingGoesByTheLiteralElementNamesAlone) {
    const std::string plain = "<test><name>Тест</name></test>";
    const TEncrypted doc = Encrypted(plain);
    const std::string key = "<CipherValue><![CDATA[" + doc.KeyText + "]]></CipherValue>";
    // The text's string value counts, however it is split into text and CDATA nodes.
    const std::string data = "<CipherValue>" + doc.DataText.substr(0, 8) + "<![CDATA[" +
                             doc.DataText.substr(8) + "]]></CipherValue>";
    const std::string keyInfo = "<ds:KeyInfo><EncryptedKey><CipherData>" + key +
                                "</CipherData></EncryptedKey></ds:KeyInfo>";
    struct TCase {
        std::string Document;
        std::string Message; // "" when the document reads
    } const cases[] = {
        // No namespace declarations, or others, and line breaks between the tags: all read.
        {"<EncryptedData>" + keyInfo + "<CipherData>" + data + "</CipherData></EncryptedData>", ""},
        {"<?xml version=\"1.0\"?>\n<EncryptedData xmlns=\"urn:other\">\n  " + keyInfo +
             "\n  <CipherData>\n    " + data + "\n  </CipherData>\n</EncryptedData>\n",
         ""},
        // The same structure in the equally valid prefixed form does not.
        {"<xenc:EncryptedData xmlns:xenc=\"http://www.w3.org/2001/04/xmlenc#\"><ds:KeyInfo>"
         "<xenc:EncryptedKey><xenc:CipherData><xenc:CipherValue>" +
             doc.KeyText +
             "</xenc:CipherValue></xenc:CipherData></xenc:EncryptedKey></ds:KeyInfo>"
             "<xenc:CipherData><xenc:CipherValue>" +
             doc.DataText + "</xenc:CipherValue></xenc:CipherData></xenc:EncryptedData>",
         "Unable Extract Session Key"},
        // The key's own CipherData does not stand in for the document element's.
        {"<EncryptedData>" + keyInfo + "</EncryptedData>", "Unable Extract Cipher Data"},
        {"<EncryptedData>" + keyInfo + "<Other><CipherData>" + data +
             "</CipherData></Other></EncryptedData>",
         "Unable Extract Cipher Data"},
        {"<EncryptedData>" + Replaced(keyInfo, key, "<CipherValue/>") + "<CipherData>" + data +
             "</CipherData></EncryptedData>",
         "Unable Extract Session Key"},
        // A member that is no XML leaves the document object empty.
        {"\x12\x34 not xml", "Unable Extract Session Key"},
        {"", "Unable Extract Session Key"},
    };
    for (const TCase& c : cases) {
        TMemoryStream stream(c.Message.empty() ? "" : "kept");
        stream.SetPosition(stream.GetSize() / 2);
        EXPECT_EQ(MessageOf([&] { LoadAndDecrypt(c.Document, stream); }), c.Message) << c.Document;
        // Refused before anything is written.
        EXPECT_EQ(stream.View(), c.Message.empty() ? plain : "kept") << c.Document;
    }
}

TEST_F(XmlCrypt, DecryptNeedsADocumentLoadedOrMadeFirst) {
    TXmlCryptManager manager;
    TMemoryStream stream;
    EXPECT_EQ(MessageOf([&] { manager.Decrypt(stream); }),
              "Decrypt without an EncryptedData document");
    TMemoryStream plain(std::string_view("<a/>"));
    manager.Encrypt(plain, PublicKeyText());
    TMemoryStream decrypted;
    manager.Decrypt(decrypted);
    EXPECT_EQ(decrypted.View(), "<a/>");
}

TEST_F(XmlCrypt, DamagedKeysAndCipherTextsCarryTheCryptoMessages) {
    const TEncrypted doc = Encrypted("<test>text</test>");
    TMemoryStream keyBlob;
    ASSERT_TRUE(Base64Decode(doc.KeyText, keyBlob));
    auto withKeyByte = [&](size_t at) {
        TMemoryStream changed = keyBlob;
        changed.GetMemory()[at] ^= 0x10;
        return Replaced(doc.Saved, doc.KeyText, Base64Encode(changed.Bytes()));
    };
    const size_t descriptors = OpenDescriptorCount();
    const size_t containers = KeyFolderEntries().size();
    const std::pair<std::string, std::string> cases[] = {
        {withKeyByte(4), "Unable Import Session Key"},  // the key's algorithm
        {withKeyByte(70), "Unable Import Session Key"}, // the wrapped key itself
        {Replaced(doc.Saved, doc.KeyText, doc.KeyText.substr(0, 100)), "Unable Import Session Key"},
        {Replaced(doc.Saved, doc.KeyText, "no base64!"), "Unable Import Session Key"},
        {Replaced(doc.Saved, doc.DataText, "@@" + doc.DataText), "Unable Decrypt Message"},
        {Replaced(doc.Saved, doc.DataText, doc.DataText.substr(1)), "Unable Decrypt Message"},
    };
    for (const auto& [document, message] : cases) {
        TMemoryStream stream;
        EXPECT_EQ(MessageOf([&] { LoadAndDecrypt(document, stream); }), message) << document;
    }
    // A container without a key-exchange pair.
    CryptManager.KeyStoreName = FreshContainerName();
    TMemoryStream stream;
    EXPECT_EQ(MessageOf([&] { LoadAndDecrypt(doc.Saved, stream); }), "Unable Get User Key");

    // No file left open, nothing left behind but that new, empty container.
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_EQ(KeyFolderEntries().size(), containers + 1);
}

TEST_F(XmlCrypt, UnusablePublicKeysLeaveStreamAndDocumentAsTheyWere) {
    TXmlCryptManager manager;
    TMemoryStream first("first document");
    manager.Encrypt(first, PublicKeyText());
    const std::u16string before = manager.GetDocument().GetXmlText();

    std::vector<uint8_t> truncated = SharedKeys().PublicKeyBlob;
    truncated.pop_back();
    const size_t descriptors = OpenDescriptorCount();
    const auto entries = KeyFolderEntries();
    for (const std::string& key :
         {std::string(), std::string("not a key"), Base64Encode(truncated),
          Base64Encode(SharedKeys().PrivateKeyBlob.Span()), PublicKeyText() + "!"}) {
        TMemoryStream data("plain");
        EXPECT_EQ(MessageOf([&] { manager.Encrypt(data, key); }), "Unable Import Public Key")
            << key;
        EXPECT_EQ(data.View(), "plain");
        EXPECT_EQ(manager.GetDocument().GetXmlText(), before);
    }
    EXPECT_EQ(OpenDescriptorCount(), descriptors);
    EXPECT_EQ(KeyFolderEntries(), entries);
}

// Resident memory of this process from /proc/self/status ("VmRSS" now, "VmHWM" its peak), in
// bytes; the peak starts again from the current size after ResetPeakMemory.
size_t MemoryFigure(std::string_view name) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(name) && line.size() > name.size() && line[name.size()] == ':') {
            return std::stoul(line.substr(name.size() + 1)) * 1024;
        }
    }
    return 0;
}

bool ResetPeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    clear.flush();
    return clear.good() && MemoryFigure("VmHWM") <= MemoryFigure("VmRSS") + (1 << 20);
}

// A large document is held once: Encrypt puts the base64 text straight into the document
// (no second copy of it), Decrypt decodes from the document straight into the stream (no copy
// of the text, no separate buffer for the bytes). Measured as the growth of the peak.
TEST_F(XmlCrypt, LargeDocumentsAreHeldWithoutExtraCopies) {
    if (!ResetPeakMemory()) {
        GTEST_SKIP() << "the peak memory of a process cannot be reset here";
    }
    constexpr size_t Size = 16 << 20;
    const size_t textSize = Base64Length(Size);
    TXmlCryptManager manager;
    TMemoryStream data = StreamOf(RandomBytes(Size, 5));
    const std::vector<uint8_t> plain = data.Bytes();

    ASSERT_TRUE(ResetPeakMemory());
    size_t before = MemoryFigure("VmRSS");
    manager.Encrypt(data, PublicKeyText());
    const size_t encryptGrowth = MemoryFigure("VmHWM") - before;
    EXPECT_LT(encryptGrowth, textSize + textSize / 4); // the text once, not twice

    TMemoryStream out;
    ASSERT_TRUE(ResetPeakMemory());
    before = MemoryFigure("VmRSS");
    manager.Decrypt(out);
    const size_t decryptGrowth = MemoryFigure("VmHWM") - before;
    EXPECT_LT(decryptGrowth, Size + Size / 4); // the plain bytes once
    EXPECT_TRUE(out.Bytes() == plain);
}

TEST_F(XmlCrypt, PackageOfEncryptedMembersAndPicturesReadsBack) {
    const std::string test = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                             "<test><name>Проверка знаний</name><questions><single id=\"q1\">"
                             "Вопрос<answer rating=\"1\" right=\"y\">Да</answer></single>"
                             "</questions></test>";
    const std::string settings = "<sk-settings><view-profile/></sk-settings>";
    const auto picture = RandomBytes(5000, 77);

    TMemoryStream archive;
    TStreamZip writer;
    writer.Open(archive);
    TXmlCryptManager maker;
    for (const auto& [name, text] : {std::pair{"scontent.xml", test}, {"settings.xml", settings}}) {
        TMemoryStream data(text);
        maker.Encrypt(data, PublicKeyText());
        data.Clear();
        maker.GetDocument().SaveToStream(data);
        data.SetPosition(0);
        writer.AddFromStream(name, &data);
    }
    TMemoryStream pictureStream = StreamOf(picture);
    writer.AddFromStream("img/pic.gif", &pictureStream);
    writer.Close();

    TStreamUnZip reader;
    reader.Open(archive);
    TXmlCryptManager player;
    auto open = [&](const std::string& name, TXpObjModel& into) {
        TMemoryStream member;
        reader.ExtractToStream(name, member);
        member.SetPosition(0);
        EXPECT_TRUE(player.LoadStream(member)) << name;
        TMemoryStream plain;
        player.Decrypt(plain);
        EXPECT_TRUE(into.LoadStream(plain)) << name;
        return std::string(plain.View());
    };
    TXpObjModel testDoc;
    EXPECT_EQ(open("scontent.xml", testDoc), test);
    EXPECT_EQ(testDoc.DocumentElement().SelectString(u"name"), W("Проверка знаний"));
    EXPECT_EQ(testDoc.DocumentElement().SelectString(u"questions/single/answer/@right"), u"y");
    TXpObjModel settingsDoc;
    EXPECT_EQ(open("SETTINGS.XML", settingsDoc), settings);
    EXPECT_EQ(settingsDoc.DocumentElement().NodeName(), u"sk-settings");
    TMemoryStream pictureOut;
    reader.ExtractToStream("img/pic.gif", pictureOut);
    EXPECT_EQ(pictureOut.Bytes(), picture);
}

} // namespace
} // namespace stellik::testing
