// A command-line encrypter of documents, for timing it beside other programs on the same
// files (compare-openssl.sh). The key container is the user's "Bench.Stellik": point
// XDG_DATA_HOME at a scratch folder.
//   stellik_xml_crypt keys KEYFILE         puts a new pair into the container and writes its
//                                          public key blob, base64, to KEYFILE
//   stellik_xml_crypt encrypt KEYFILE IN OUT   encrypts IN for that key into the EncryptedData
//                                              document OUT, as encrypted results are saved
//   stellik_xml_crypt decrypt IN OUT           decrypts such a document, as the player reads
//                                              a package member
#include "package/Base64.h"
#include "package/CryptManager.h"
#include "package/PackageKeys.h"
#include "package/XmlCrypt.h"
#include "platform/Exception.h"

#include <cstdio>
#include <string>

namespace {

using namespace stellik;

constexpr std::string_view Password = "qm847";

// Read and written in one piece (TMemoryStream's file functions): the program's own work is
// what is timed.
TMemoryStream ReadFile(const std::string& path) {
    TMemoryStream stream;
    stream.LoadFromFile(path);
    return stream;
}

void MakeKeys(const std::string& keyFile) {
    const TPackageKeys keys =
        MakePackageKeys({reinterpret_cast<const uint8_t*>(Password.data()), Password.size()});
    CryptManager.ImportKeyWithPassword(
        TMemoryStream(std::vector<uint8_t>(
            keys.PrivateKeyBlob.data(), keys.PrivateKeyBlob.data() + keys.PrivateKeyBlob.size())),
        TMemoryStream(Password));
    TMemoryStream(Base64Encode(keys.PublicKeyBlob)).SaveToFile(keyFile);
}

void Encrypt(const std::string& keyFile, const std::string& in, const std::string& out) {
    const std::string key(ReadFile(keyFile).View());
    TXmlCryptManager crypt;
    TMemoryStream work = ReadFile(in);
    crypt.Encrypt(work, key);
    work.Clear(); // as the player does: the same stream receives the document
    crypt.GetDocument().SaveToStream(work);
    work.SaveToFile(out);
}

void Decrypt(const std::string& in, const std::string& out) {
    TXmlCryptManager crypt;
    TMemoryStream work = ReadFile(in);
    crypt.LoadStream(work);
    work.Clear(); // as the player does: the same stream receives the plain bytes
    crypt.Decrypt(work);
    work.SaveToFile(out);
}

} // namespace

int main(int argc, char** argv) {
    try {
        CryptManager.KeyStoreName = "Bench.Stellik";
        const std::string mode = argc > 1 ? argv[1] : "";
        if (mode == "keys" && argc == 3) {
            MakeKeys(argv[2]);
        } else if (mode == "encrypt" && argc == 5) {
            Encrypt(argv[2], argv[3], argv[4]);
        } else if (mode == "decrypt" && argc == 4) {
            Decrypt(argv[2], argv[3]);
        } else {
            std::fprintf(stderr,
                         "usage: %s keys KEYFILE | encrypt KEYFILE IN OUT | decrypt IN OUT\n",
                         argv[0]);
            return 2;
        }
        return 0;
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
