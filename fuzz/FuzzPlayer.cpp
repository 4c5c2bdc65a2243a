#include "fuzz/FuzzPlayer.h"

#include "documents/SettingsObj.h"
#include "documents/TestParser.h"
#include "fuzz/FuzzSupport.h"
#include "package/KeyBlobs.h"
#include "package/Rc4Key.h"
#include "platform/Exception.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"
#include "shell/TransformProcessor.h"
#include "tools/pack/PackageBuilder.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace stellik::fuzz {

namespace {

std::string SourceFile(const std::string& path) {
    std::ifstream file(std::string(STELLIK_SOURCE_DIR "/") + path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (!file) {
        throw Exception("Cannot read " + path);
    }
    return bytes.str();
}

} // namespace

std::map<std::string, std::string> FuzzPlayerResources(std::string_view runMode) {
    std::string settings = SourceFile("demo/settings.xml");
    const std::string modeElement = "<test-run-mode>sepmsg</test-run-mode>";
    const size_t at = settings.find(modeElement);
    if (at != std::string::npos) {
        settings.replace(at, modeElement.size(),
                         "<test-run-mode>" + std::string(runMode) + "</test-run-mode>");
    }
    TPackageContent content{SourceFile("demo/demo.xml"), settings, {}};
    for (const auto& entry :
         std::filesystem::directory_iterator(STELLIK_SOURCE_DIR "/demo/pictures")) {
        const std::string name = entry.path().filename().string();
        content.Pictures.emplace_back(name, SourceFile("demo/pictures/" + name));
    }
    const TRc4Key passwordKey = TRc4Key::FromPassword(
        {reinterpret_cast<const uint8_t*>(PackagePassword.data()), PackagePassword.size()});
    const TSecureBytes key = ExportPrivateKeyBlob(FuzzKeyPair(), &passwordKey);

    std::map<std::string, std::string> resources;
    resources["DVCF"] = BuildPackage(content, FuzzPublicKeyBlob());
    resources["DVCK"] = std::string(key.Span().begin(), key.Span().end());
    for (const char* version : {"v1p0", "v1p1", "v1p2"}) {
        const std::string name = std::string("XTF_") + version;
        resources[AsciiUpper(name)] = SourceFile("resources/" + name + ".dtd");
    }
    resources["VIEW_STYLE"] = SourceFile("resources/view_style.xsl");
    return resources;
}

TFuzzPlayer::TFuzzPlayer(std::string_view runMode) {
    InstallFuzzKey(); // packing encrypts through the crypto manager's container
    TResources::Install(FuzzPlayerResources(runMode));
    Window = std::make_unique<TMainFrm>(View, Dialogs, Services);
    Services.TestParserObj = std::make_unique<TTestParserObj>();
    Services.SettingsObj = std::make_unique<TSettingsObj>();
    Services.TransformProcessor = std::make_unique<TTransformProcessor>();
    Services.XmlCryptManager = &Crypt;
    Window->FormShow();
    Window->FormActivate();
}

TFuzzPlayer::~TFuzzPlayer() = default;

} // namespace stellik::fuzz
