#include "shell/MainFrm.h"

#include "documents/SettingsObj.h"
#include "documents/TestParser.h"
#include "model/TextUtils.h"
#include "package/CryptManager.h"
#include "package/StreamUnZip.h"
#include "package/XmlCrypt.h"
#include "platform/Exception.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"

#include <cstdio>
#include <utility>

namespace stellik {

namespace {

// The password the package key is protected with: two letters and three digits.
constexpr std::string_view PackagePassword = "qm847";

// Removes the named file when the scope ends, whatever the path holds by then.
class TTempFileRemover {
public:
    explicit TTempFileRemover(std::string& path) : Path(path) {}
    ~TTempFileRemover() {
        if (!Path.empty()) {
            std::remove(Path.c_str()); // a failed deletion is of no consequence
            Path.clear();
        }
    }
    TTempFileRemover(const TTempFileRemover&) = delete;
    TTempFileRemover& operator=(const TTempFileRemover&) = delete;

private:
    std::string& Path;
};

template <typename T> T& Require(T* service) {
    if (service == nullptr) {
        throw Exception("The service modules are not made yet");
    }
    return *service;
}

} // namespace

TMainFrm::TMainFrm(IPageView& view, IDialogs& dialogs, TServiceModules& services)
    : View(view), Dialogs(dialogs), Services(services), TestDoc(std::make_unique<TTestDoc>()),
      Options(std::make_unique<TExeTestOptions>()) {
    CryptManager.KeyStoreName = "Lumetra.Stellik";
}

TMainFrm::~TMainFrm() = default;

void TMainFrm::FormShow() {
    Shown = true;
}

void TMainFrm::FormActivate() {
    if (!Shown || Loaded) {
        return; // later activations: the user coming back to the window
    }
    Loaded = true; // a failed load is not tried again
    Parser().OnDTDRequest = [this](TTestParserObj&, std::u16string& fileName) {
        ExtractDtd(fileName);
    };
    ImportPackageKey();
    LoadTest("");
    if (Options->GetSaveResults()) {
        ShowRegisterPage();
    } else {
        ShowTestHeadPage();
    }
    ResultsSaved = true;
}

bool TMainFrm::FormClose(const TWindowPlacement& placement) {
    if (!CanClose()) {
        return false;
    }
    // The placement is written, never read: when it cannot be written (a full disk, a folder
    // that may not be written), the user hears of it once and the window closes all the same.
    try {
        Settings().SaveFormPlacement(placement, "MainFrm");
    } catch (const std::exception& error) {
        Dialogs.ShowException(error);
    }
    return true;
}

void TMainFrm::ImportPackageKey() {
    const TMemoryStream keyBlob(TResources::Get("DVCK"));
    const TMemoryStream password(PackagePassword);
    CryptManager.ImportKeyWithPassword(keyBlob, password);
}

void TMainFrm::LoadTest(const std::string& testName) {
    TMemoryStream work;
    DecryptMember("scontent.xml", work);
    TestDoc->Clear();
    {
        const TTempFileRemover removeDtd(TempDtdFile);
        std::string encoding; // not needed
        // Handed over, so its bytes go once they are parsed; DecryptMember refills it.
        Parser().ParseTest(std::move(work), *TestDoc, encoding);
    }
    DecryptMember("settings.xml", work);
    ApplySettings(work);

    TestName = Trim(testName);
    if (TestName.empty()) {
        TestName = Utf16ToUtf8(TrimW(TestDoc->Name));
    }
    if (TestName.empty()) {
        TestName = "Безымянный тест";
    }
    TestDoc->ShowRight = false; // the results report sets it
}

void TMainFrm::DecryptMember(const std::string& name, TMemoryStream& work) {
    TXmlCryptManager& crypt = XmlCrypt();
    work.Clear();
    ExtractFromPackage(name, work);
    work.SetPosition(0);
    crypt.LoadStream(work); // a failed load shows as a decryption failure
    work.Clear();
    crypt.Decrypt(work);
    work.SetPosition(0);
}

TStreamUnZip& TMainFrm::Package() {
    if (!PackageReader) {
        auto reader = std::make_unique<TStreamUnZip>();
        PackageBytes = TMemoryStream(TResources::Get("DVCF"));
        reader->Open(PackageBytes);
        PackageReader = std::move(reader);
    }
    return *PackageReader;
}

void TMainFrm::ExtractFromPackage(const std::string& name, TMemoryStream& stream) {
    Package().ExtractToStream(name, stream);
}

void TMainFrm::ExtractDtd(std::u16string& fileName) {
    // "XTF_v1p2.dtd" is the resource "XTF_V1P2" (names match whatever their case).
    const std::u16string_view stem =
        std::u16string_view(fileName).substr(0, fileName.size() < 4 ? 0 : fileName.size() - 4);
    const TMemoryStream dtd(TResources::Get(Utf16ToUtf8(stem)));
    TempDtdFile = GetUniqueTempFileName();
    dtd.SaveToFile(TempDtdFile);
    fileName = Utf8ToUtf16(TempDtdFile);
}

void TMainFrm::ApplySettings(TMemoryStream& stream) {
    if (!TestDoc) {
        throw Exception("TestDoc in null");
    }
    Options->LoadFromStream(stream);
    std::vector<std::string> lines;
    Options->GetViewProfile().WriteParams(lines);
    lines.emplace_back(Options->GetViewProfile().ShowReport ? "report-view-allow=1"
                                                            : "report-view-allow=0");
    lines.emplace_back(Options->GetSaveResults() && Options->GetResultsPath().empty()
                           ? "save-result-required=1"
                           : "save-result-required=0");
    XslParams.clear();
    for (const std::string& line : lines) {
        const size_t equals = line.find('=');
        XslParams.emplace_back(line.substr(0, equals),
                               equals == std::string::npos ? "" : line.substr(equals + 1));
    }
    if (std::unique_ptr<TMarkProfile> markProfile = Options->ReleaseMarkProfile()) {
        TestDoc->MarkProfiles.Add(std::move(markProfile));
    }
}

bool TMainFrm::CanClose() {
    if (TestDoc->IsRunning()) {
        if (Dialogs.MessageBox("Текущий тест будет завершен!\r\nВыйти из программы?",
                               TMsgButtons::YesNo, TMsgIcon::Warning) != TMsgResult::Yes) {
            return false;
        }
        TestDoc->Stop(u"test-end");
        ShowRunPage();
    }
    if (!ResultsSaved && Options->GetSaveResults()) {
        if (const std::string& folder = Options->GetResultsPath(); !folder.empty()) {
            // Results are never lost unseen: when the folder is missing or the file cannot
            // be written, the examinee is told and may save them through the dialog.
            try {
                AutoSaveResults(folder);
            } catch (const std::exception& error) {
                Dialogs.ShowException(error);
            }
        }
        if (!ResultsSaved &&
            Dialogs.MessageBox("Результаты тестирования не сохранены\r\nСохранить результаты?",
                               TMsgButtons::YesNo, TMsgIcon::Question) == TMsgResult::Yes) {
            SaveResultsDialog(); // a failure leaves the window open
        }
    }
    return true;
}

TTestParserObj& TMainFrm::Parser() {
    return Require(Services.TestParserObj.get());
}

TSettingsObj& TMainFrm::Settings() {
    return Require(Services.SettingsObj.get());
}

TTransformProcessor& TMainFrm::Transformer() {
    return Require(Services.TransformProcessor.get());
}

TXmlCryptManager& TMainFrm::XmlCrypt() {
    return Require(Services.XmlCryptManager);
}

TUserSettings& TMainFrm::UserSettings() {
    return Require(Settings().GetUserSettings());
}

} // namespace stellik
