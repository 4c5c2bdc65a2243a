// stellik-fuzz-seeds SOURCE-DIR OUTPUT-DIR: the seed corpus of every fuzz target, one folder
// per target under OUTPUT-DIR, made of the documents the tests and the demo use: as they are,
// encrypted for the fuzz key pair, packed as a player packs them, and the key blobs of that pair.
#include "documents/ExeTestOptions.h"
#include "documents/TestParser.h"
#include "fuzz/FuzzSupport.h"
#include "model/TestDoc.h"
#include "package/Base64.h"
#include "package/KeyBlobs.h"
#include "package/Rc4Key.h"
#include "package/XmlCrypt.h"
#include "platform/Exception.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"
#include "tools/pack/PackageBuilder.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

using namespace stellik;
namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (!file) {
        throw Exception("Cannot read " + path.string());
    }
    return text.str();
}

class TSeedWriter {
public:
    explicit TSeedWriter(fs::path root) : Root(std::move(root)) {}

    void Write(const std::string& target, const std::string& name, std::string_view bytes) {
        const fs::path folder = Root / target;
        fs::create_directories(folder);
        std::ofstream file(folder / name, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!file) {
            throw Exception("Cannot write " + (folder / name).string());
        }
    }
    void Write(const std::string& target, const std::string& name, std::span<const uint8_t> bytes) {
        Write(target, name,
              std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

private:
    fs::path Root;
};

// Every regular file of a folder, by name.
std::map<std::string, std::string> FolderFiles(const fs::path& folder) {
    std::map<std::string, std::string> files;
    if (fs::is_directory(folder)) {
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                files[entry.path().filename().string()] = ReadFile(entry.path());
            }
        }
    }
    return files;
}

std::string EncryptedDocument(const std::string& document) {
    TXmlCryptManager crypt;
    TMemoryStream data(document);
    crypt.Encrypt(data, Base64Encode(fuzz::FuzzPublicKeyBlob()));
    TMemoryStream encrypted;
    crypt.GetDocument().SaveToStream(encrypted);
    return std::string(encrypted.View());
}

void WriteKeyBlobs(TSeedWriter& seeds) {
    seeds.Write("key-blobs", "private-plain", fuzz::FuzzPrivateKeyBlob());
    const std::span<const uint8_t> password(
        reinterpret_cast<const uint8_t*>(fuzz::PackagePassword.data()),
        fuzz::PackagePassword.size());
    const TRc4Key passwordKey = TRc4Key::FromPassword(password);
    seeds.Write("key-blobs", "private-password",
                ExportPrivateKeyBlob(fuzz::FuzzKeyPair(), &passwordKey).Span());
    seeds.Write("key-blobs", "public", fuzz::FuzzPublicKeyBlob());
    const std::array<uint8_t, TRc4Key::Size> secret{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
    std::vector<uint8_t> simple(SimpleBlobSize(fuzz::FuzzKeyPair().GetPublic()));
    if (!ExportSimpleBlob(TRc4Key(secret), fuzz::FuzzKeyPair().GetPublic(), simple)) {
        throw Exception("Cannot wrap a session key");
    }
    seeds.Write("key-blobs", "session", simple);
}

// The page parameters of the demo's view profile, a line each.
std::string DemoParams(const std::string& settingsXml) {
    TExeTestOptions options;
    TMemoryStream stream(settingsXml);
    options.LoadFromStream(stream);
    std::vector<std::string> params;
    options.GetViewProfile().WriteParams(params);
    std::string lines;
    for (const std::string& line : params) {
        lines += line + "\n";
    }
    return lines;
}

// The run documents the engine writes for each test in each mode, every question skipped: the
// pages of a run and the report, each with the demo's page parameters in front.
void WriteRunDocuments(TSeedWriter& seeds, const std::map<std::string, std::string>& tests,
                       const std::string& params) {
    for (const auto& test : tests) {
        const std::string& name =
            test.first; // a lambda below names it (clang 14 cannot take a binding)
        for (uint8_t mode = 0; mode < 3; ++mode) {
            TTestParserObj parser;
            parser.OnDTDRequest = [](TTestParserObj&, std::u16string& dtd) {
                dtd = Utf8ToUtf16(fuzz::ResourcePath(Utf16ToUtf8(dtd)));
            };
            TTestDoc doc;
            TMemoryStream stream(test.second);
            std::string encoding;
            parser.ParseTest(stream, doc, encoding);
            int page = 0;
            const auto write = [&] {
                std::string text = params;
                for (const std::u16string& line : doc.GetOutput()) {
                    text += Utf16ToUtf8(line) + "\n";
                }
                seeds.Write("page-build",
                            name + "-" + std::to_string(mode) + "-" + std::to_string(page++), text);
            };
            doc.StartRun(mode, -1);
            write();
            for (int step = 0; step < 20 && doc.IsRunning(); ++step) {
                doc.SkipQuestion();
                write();
            }
            doc.WriteReport();
            write();
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: stellik-fuzz-seeds SOURCE-DIR OUTPUT-DIR\n";
        return 2;
    }
    const fs::path source = argv[1];
    TSeedWriter seeds(argv[2]);
    try {
        fuzz::InstallFuzzKey(); // encrypting opens the crypto manager's container
        // Checked-in seeds, one folder per target.
        for (const auto& entry : fs::directory_iterator(source / "fuzz/seeds")) {
            for (const auto& [name, bytes] : FolderFiles(entry.path())) {
                seeds.Write(entry.path().filename().string(), name, bytes);
            }
        }
        std::map<std::string, std::string> tests =
            FolderFiles(source / "tests/documents/reader/data");
        tests["demo.xml"] = ReadFile(source / "demo/demo.xml");
        std::map<std::string, std::string> settings = FolderFiles(source / "fuzz/seeds/settings");
        settings["demo-settings.xml"] = ReadFile(source / "demo/settings.xml");

        for (const auto& [name, bytes] : tests) {
            seeds.Write("test-document", name, bytes);
            seeds.Write("encrypted-data", name, EncryptedDocument(bytes));
        }
        for (const auto& [name, bytes] : settings) {
            seeds.Write("settings", name, bytes);
            seeds.Write("encrypted-data", name, EncryptedDocument(bytes));
        }

        // Packages as a player carries them: the demo with its pictures, and each test alone.
        TPackageContent demo{tests["demo.xml"], settings["demo-settings.xml"], {}};
        for (const auto& [name, bytes] : FolderFiles(source / "demo/pictures")) {
            demo.Pictures.emplace_back(name, bytes);
        }
        const std::string demoPackage = BuildPackage(demo, fuzz::FuzzPublicKeyBlob());
        seeds.Write("zip", "demo.zip", demoPackage);
        for (const auto& [name, bytes] : tests) {
            seeds.Write("zip", name + ".zip",
                        BuildPackage({bytes, settings["demo-settings.xml"], {}},
                                     fuzz::FuzzPublicKeyBlob()));
        }

        WriteKeyBlobs(seeds);
        WriteRunDocuments(seeds, tests, DemoParams(settings["demo-settings.xml"]));

        // A program file carrying the demo package and the program's resources.
        std::vector<std::pair<std::string, std::string>> resources{
            {"DVCF", demoPackage},
            {"DVCK", std::string(reinterpret_cast<const char*>(fuzz::FuzzPrivateKeyBlob().data()),
                                 fuzz::FuzzPrivateKeyBlob().size())},
            {"XTF_V1P2", ReadFile(source / "resources/XTF_v1p2.dtd")}};
        seeds.Write("resource-archive", "player",
                    AppendResources("\x7f"
                                    "ELF program",
                                    resources));
    } catch (const std::exception& e) {
        std::cerr << "stellik-fuzz-seeds: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
