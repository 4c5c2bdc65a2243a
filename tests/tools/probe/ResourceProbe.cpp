// Reads the resources of its own program file the way the player does, and checks them:
//
//   stellik_probe_player [NAME=FILE...]
//
// Each named resource must hold the file's bytes (asked for in lower case); a missing name
// must raise the runtime's message; "DVCK" must import with the player's password and
// "DVCF" must hold the test and its settings, both decrypting and reading, and every
// picture the test names. Prints one line and exits 0 when all holds.
#include "documents/ExeTestOptions.h"
#include "documents/TestParser.h"
#include "model/TestDoc.h"
#include "model/TextUtils.h"
#include "package/CryptManager.h"
#include "package/StreamUnZip.h"
#include "package/XmlCrypt.h"
#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace stellik::testing {
namespace {

void Check(bool condition, const std::string& what) {
    if (!condition) {
        throw Exception(what);
    }
}

void CheckNamedResource(const std::string& argument) {
    const size_t equals = argument.find('=');
    Check(equals != std::string::npos, "not NAME=FILE: " + argument);
    const std::string name = argument.substr(0, equals);
    TMemoryStream file;
    file.LoadFromFile(argument.substr(equals + 1));
    std::string lower = name;
    for (char& c : lower) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    }
    Check(TResources::Get(lower) == file.View(), "resource " + name + " differs from its file");
}

// A package member decrypted with the imported key.
TMemoryStream Decrypted(TStreamUnZip& package, const std::string& member) {
    TMemoryStream encrypted;
    package.ExtractToStream(member, encrypted);
    encrypted.SetPosition(0);
    TXmlCryptManager crypt;
    crypt.LoadStream(encrypted);
    TMemoryStream plain;
    crypt.Decrypt(plain);
    return plain;
}

std::string CheckPackage() {
    CryptManager.KeyStoreName = "Stellik.Probe";
    TMemoryStream password(std::string_view("qm847"));
    CryptManager.ImportKeyWithPassword(TResources::Open("dvck"), password);
    const TMemoryStream archive = TResources::Open("DVCF");
    TStreamUnZip package;
    package.Open(archive);

    std::vector<std::unique_ptr<TTempFileGuard>> dtdFiles;
    TTestParserObj parser;
    parser.OnDTDRequest = [&dtdFiles](TTestParserObj&, std::u16string& name) {
        const std::string file = Utf16ToUtf8(name);
        dtdFiles.push_back(std::make_unique<TTempFileGuard>(GetUniqueTempFileName()));
        TResources::Open(file.substr(0, file.size() - 4)).SaveToFile(dtdFiles.back()->GetPath());
        name = Utf8ToUtf16(dtdFiles.back()->GetPath());
    };
    TMemoryStream test = Decrypted(package, "scontent.xml");
    TTestDoc testDoc;
    std::string encoding;
    parser.ParseTest(test, testDoc, encoding);
    Check(testDoc.Questions.GetCount() > 0, "the packed test has no questions");
    size_t pictures = 0;
    for (const std::u16string& src : parser.PictureNames()) {
        TMemoryStream picture;
        package.ExtractToStream(Utf16ToUtf8(src), picture);
        Check(picture.GetSize() > 0, "the package lacks " + Utf16ToUtf8(src));
        ++pictures;
    }
    TMemoryStream settings = Decrypted(package, "settings.xml");
    TExeTestOptions options;
    options.LoadFromStream(settings);
    return Utf16ToUtf8(testDoc.Name) + ", " + std::to_string(testDoc.Questions.GetCount()) +
           " questions, " + std::to_string(pictures) + " pictures";
}

} // namespace
} // namespace stellik::testing

int main(int argc, char** argv) {
    using namespace stellik;
    using namespace stellik::testing;
    try {
        for (int i = 1; i < argc; ++i) {
            CheckNamedResource(argv[i]);
        }
        std::string missing;
        try {
            TResources::Get("no_such_resource");
        } catch (const EResNotFound& e) {
            missing = e.GetMessage();
        }
        Check(missing == "Resource no_such_resource not found", "missing resource: " + missing);
        std::printf("ok: %d resources checked; %s\n", argc - 1, CheckPackage().c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "resource probe: %s\n", e.what());
        return 1;
    }
}
