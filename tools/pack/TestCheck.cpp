#include "tools/pack/TestCheck.h"

#include "documents/ExeTestOptions.h"
#include "documents/TestParser.h"
#include "model/TestDoc.h"
#include "model/TextUtils.h"
#include "package/Base64.h"
#include "package/KeyBlobs.h"
#include "package/Rc4Key.h"
#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/MemoryStream.h"
#include "platform/Unicode.h"

#include <algorithm>
#include <memory>
#include <set>

namespace stellik {

namespace {

// Answers the reader's DTD requests from the player's resources, each through a temporary
// file that lives as long as this object.
class TDtdFiles {
public:
    explicit TDtdFiles(const TResourceList& resources) : Resources(resources) {}

    // "XTF_v1p2.dtd" in, the path of a file holding the resource "XTF_V1P2" out.
    std::string Provide(const std::string& fileName) {
        const std::string name =
            fileName.substr(0, fileName.size() - std::min<size_t>(4, fileName.size()));
        for (const auto& [resource, bytes] : Resources) {
            if (AsciiUpper(resource) == AsciiUpper(name)) {
                Files.push_back(std::make_unique<TTempFileGuard>(GetUniqueTempFileName()));
                TMemoryStream(bytes).SaveToFile(Files.back()->GetPath());
                return Files.back()->GetPath();
            }
        }
        throw Exception("The player carries no resource " + name);
    }

private:
    const TResourceList& Resources;
    std::vector<std::unique_ptr<TTempFileGuard>> Files;
};

// The player's steps of encrypting results up to wrapping a session key: the base64 text
// decoded, the public key blob imported, a session key wrapped for it.
bool CanEncryptFor(const std::string& encryptKey) {
    TMemoryStream blob;
    if (!Base64Decode(encryptKey, blob)) {
        return false;
    }
    const auto publicKey = ImportPublicKeyBlob({blob.GetMemory(), blob.GetSize()});
    const auto session = TRc4Key::Generate();
    if (!publicKey || !session) {
        return false;
    }
    std::vector<uint8_t> wrapped(SimpleBlobSize(*publicKey));
    return ExportSimpleBlob(*session, *publicKey, wrapped);
}

} // namespace

std::vector<std::string> CheckTest(const std::string& test, const TResourceList& playerResources) {
    TDtdFiles dtdFiles(playerResources);
    TTestParserObj parser;
    parser.OnDTDRequest = [&dtdFiles](TTestParserObj&, std::u16string& name) {
        name = Utf8ToUtf16(dtdFiles.Provide(Utf16ToUtf8(name)));
    };
    TMemoryStream stream(test);
    TTestDoc testDoc;
    std::string encoding;
    parser.ParseTest(stream, testDoc, encoding);

    std::vector<std::string> pictures;
    std::set<std::string> seen;
    for (const std::u16string& src : parser.PictureNames()) {
        std::string name = Utf16ToUtf8(src);
        if (seen.insert(AsciiUpper(name)).second) {
            pictures.push_back(std::move(name));
        }
    }
    return pictures;
}

void CheckSettings(const std::string& settings) {
    TMemoryStream stream(settings);
    TExeTestOptions options;
    options.LoadFromStream(stream);
    if (!options.GetEncryptKey().empty() && !CanEncryptFor(options.GetEncryptKey())) {
        throw Exception("The results encryption key (save-results/encrypt-key) is not a "
                        "public key the player can import");
    }
}

} // namespace stellik
