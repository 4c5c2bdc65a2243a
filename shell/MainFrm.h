// shell/MainFrm.h -- the main window's logic: loading, pages, page protocol, images, timer,
// results and closing
//
// The window logic owns the test and everything it shows; the screen is reached only through
// IPageView and IDialogs. A failure ends the current event, and the window's event entry
// points (shell/gtk) hand it to IDialogs::ShowException; only closing catches, so that a
// failure on the way out is shown and the window still closes.
#pragma once

#include "documents/ExeTestOptions.h"
#include "documents/SettingsObj.h"
#include "documents/TestParser.h"
#include "model/TestDoc.h"
#include "platform/MemoryStream.h"
#include "shell/TransformProcessor.h"
#include "shell/ViewInterfaces.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stellik {

class TStreamUnZip;
class TXmlCryptManager;

// The service modules, made by the program entry after the window, in this order, and living
// until the program ends. The window uses them only from its first activation on.
struct TServiceModules {
    std::unique_ptr<TTestParserObj> TestParserObj;
    std::unique_ptr<TSettingsObj> SettingsObj;
    std::unique_ptr<TTransformProcessor> TransformProcessor;
    TXmlCryptManager* XmlCryptManager = nullptr; // the package's one instance
};

class TMainFrm {
public:
    // FormCreate: the test, the image stream, the options and the parameter list; sets the
    // key container name "Lumetra.Stellik". services are filled later by the program entry.
    TMainFrm(IPageView& view, IDialogs& dialogs, TServiceModules& services);
    ~TMainFrm();
    TMainFrm(const TMainFrm&) = delete;
    TMainFrm& operator=(const TMainFrm&) = delete;

    // Window events.
    void FormShow();
    void FormActivate(); // the first activation after FormShow loads the test, once
    // FormClose: false keeps the window open; true once the placement has been written, or
    // its failure shown.
    bool FormClose(const TWindowPlacement& placement);

    // Loading.
    void ImportPackageKey();
    void LoadTest(const std::string& testName);
    void ExtractFromPackage(const std::string& name, TMemoryStream& stream);
    void ExtractDtd(std::u16string& fileName);
    void ApplySettings(TMemoryStream& stream);
    bool CanClose();

    // Pages.
    void ShowRegisterPage();
    void ShowTestHeadPage();
    void ShowRunPage();
    void ShowLastReport();
    void ShowTransformResult();
    // The view lost the page it showed (the process drawing it ended): the page is shown
    // again from what the window holds, and the examinee told that what was typed into it
    // since the last submit is gone. The run, its time included, goes on.
    void PageLost();

    // Page protocol. fields: null for a link click, the submitted fields for a form.
    void ExecuteLink(const std::string& url, const TFormFields* fields);
    void RunTest();
    void ProcessTestInput(const TFormFields& values);
    void RegisterUser(const TFormFields& values);

    // Images and the timer. src is the image's URL, or the bare resource name for a picture
    // the page names without a pseudo-host. The answer is ImageStream's content.
    const TMemoryStream& HTMLViewer1ImageRequest(const std::string& src);
    void DrawTimerImage(TMemoryStream& stream);
    void Timer1Timer();

    // Results.
    void BuildResultsXml(TXpObjModel& model);
    void SaveResults(const std::string& fileName);
    std::string MakeResultsName();
    void AutoSaveResults(const std::string& folder);
    void SaveResultsDialog();

    // State, for the window and the tests.
    TTestDoc& GetTestDoc() { return *TestDoc; }
    const TExeTestOptions& GetOptions() const { return *Options; }
    const TXslParams& GetXslParams() const { return XslParams; }
    const std::string& GetTestName() const { return TestName; }
    bool GetResultsSaved() const { return ResultsSaved; }
    bool GetLoaded() const { return Loaded; }

private:
    // The package archive, read from the resource "DVCF" on first use and kept open: the
    // resource does not change while the program runs.
    TStreamUnZip& Package();
    // The results file: the results document (encrypted when the settings say so) and the
    // pictures it shows, as a ZIP archive.
    TMemoryStream ResultsArchive();
    // Extracts an encrypted package member into work (emptied first) and leaves its
    // plaintext there, rewound.
    void DecryptMember(const std::string& name, TMemoryStream& work);
    // The service modules; raises when the program entry has not made them yet.
    TTestParserObj& Parser();
    TSettingsObj& Settings();
    TTransformProcessor& Transformer();
    TXmlCryptManager& XmlCrypt();
    TUserSettings& UserSettings(); // the examinee's data held by the settings module

    IPageView& View;
    IDialogs& Dialogs;
    TServiceModules& Services;

    std::unique_ptr<TTestDoc> TestDoc;
    std::string TestName;
    TMemoryStream ImageStream;
    bool Shown = false;
    bool Loaded = false;    // the first activation has run (whether or not the load succeeded)
    bool PageShown = false; // a page of ours has been handed to the view
    std::unique_ptr<TExeTestOptions> Options;
    TXslParams XslParams;
    std::string TempDtdFile;
    // Nothing has been run, so nothing waits to be saved, even when the load fails.
    bool ResultsSaved = true;
    TMemoryStream PackageBytes;                  // the package resource, read by PackageReader
    std::unique_ptr<TStreamUnZip> PackageReader; // none until the package is first opened
};

} // namespace stellik
