// tests/shell/ShellKit.h -- the main window logic against recording fakes, with an in-memory
// player: a package made for a key pair of its own, the DTDs and a stylesheet as resources.
#pragma once

#include "package/PackageKeys.h"
#include "package/XmlCrypt.h"
#include "shell/MainFrm.h"
#include "shell/ViewInterfaces.h"
#include "tests/support/MessageOf.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace stellik::testing {

class TRecordingView : public IPageView {
public:
    void LoadHtml(std::string_view html) override { Pages.emplace_back(html); }
    void ReplaceImage(const std::string& elementId) override { Replaced.push_back(elementId); }
    void OpenExternal(const std::string& url) override { Opened.push_back(url); }

    std::vector<std::string> Pages; // every page shown, in order
    std::vector<std::string> Replaced;
    std::vector<std::string> Opened;
};

struct TMessageRecord {
    std::string Text;
    TMsgButtons Buttons = TMsgButtons::Ok;
    TMsgIcon Icon = TMsgIcon::None;
};

class TRecordingDialogs : public IDialogs {
public:
    // Answers are taken in order; with none left an OK box answers Ok and a Yes/No box No.
    TMsgResult MessageBox(const std::string& text, TMsgButtons buttons, TMsgIcon icon) override;
    void ShowException(const std::exception& error) override { Exceptions.push_back(error.what()); }
    bool ExecuteFileDialog(const TFileDialogOptions& options, std::string& fileName) override;

    std::deque<TMsgResult> Answers;
    std::vector<TMessageRecord> Messages;
    std::vector<std::string> Exceptions;
    std::vector<TFileDialogOptions> FileDialogs; // every dialog opened
    std::vector<std::string> ProposedNames;      // the name each dialog proposed
    // Each dialog is confirmed with the next of these; with none left it is cancelled.
    std::deque<std::string> ChosenFiles;
};

// A test document of three questions in one section: a single choice with a picture
// ("pic.gif"), a text answer and a multiple choice; name is the test's "name" element.
std::string KitTestXml(const std::string& name = "Проверка");
// A settings document around the given content.
std::string KitSettingsXml(const std::string& content = "");

// An EncryptedData document of plain for the kit's key pair.
std::string EncryptForPackage(const std::string& plain);
std::string MakeArchive(const std::vector<std::pair<std::string, std::string>>& members);
// The resources of a player: "DVCK", "DVCF" (test, settings, "pic.gif"), the DTDs, the
// page stylesheet and one picture of its own.
std::map<std::string, std::string> PlayerResources(const std::string& testXml,
                                                   const std::string& settingsXml);
// A stylesheet that names the page root, the test name, the parameters "skipbtn",
// "report-view-allow" and "save-result-required" (in <p id="params">) and the stop reason,
// and lists the picture links.
extern const char* const ProbeStylesheet;
inline const std::string PictureBytes = "GIF89a-picture-of-the-test";
inline const std::string StartButtonBytes = "GIF89a-start-button";

// The window with its service modules, as the program entry makes them.
class TShellKit {
public:
    explicit TShellKit(const std::string& settingsXml = KitSettingsXml(),
                       const std::string& testXml = KitTestXml());
    ~TShellKit();

    // Installs Resources, shows and activates the window (the first activation loads).
    void Start();
    // Start, returning the message of what it threw ("" when it did not).
    std::string StartError();

    TMainFrm& Frame() { return *Window; }
    TTestDoc& Doc() { return Window->GetTestDoc(); }
    TXpObjModel& Page() { return Services.TransformProcessor->PageModel; }
    std::string PageRoot();                            // the page document's element name
    std::string PageText(const std::u16string& xpath); // XPath string value on the page
    TUserSettings& User();

    // Submits a form with these fields to the command.
    void Submit(const std::string& command, const TFormFields& fields);
    void Click(const std::string& command);

    std::map<std::string, std::string> Resources;
    TRecordingView View;
    TRecordingDialogs Dialogs;
    TXmlCryptManager Crypt;
    TServiceModules Services;
    std::unique_ptr<TMainFrm> Window;
};

// A new key pair whose private key is protected with the players' package password.
TPackageKeys MakePlayerKeys();

} // namespace stellik::testing
