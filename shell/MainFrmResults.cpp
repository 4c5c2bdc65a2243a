// The results document, and saving it.
#include "shell/MainFrm.h"

#include "package/StreamZip.h"
#include "package/XmlCrypt.h"
#include "platform/Unicode.h"
#include "platform/UserFolders.h"
#include "shell/OutputDocument.h"
#include "shell/ResultsDocument.h"
#include "shell/ResultsFile.h"
#include "shell/ResultsName.h"

#include <unordered_set>

namespace stellik {

void TMainFrm::BuildResultsXml(TXpObjModel& model) {
    TestDoc->ShowRight = true;
    TestDoc->WriteReport();
    LoadOutputDocument(model, TestDoc->GetOutput());
    MakeResultsDocument(model, UserSettings(), TestName);
}

TMemoryStream TMainFrm::ResultsArchive() {
    TXpObjModel results;
    results.SetNormalizeData(false);
    results.SetOutCharSet(ceUTF8);
    results.SetWriteUTF8Signature(true);
    TMemoryStream content;
    TMemoryStream archive;
    TStreamZip zip;
    zip.Open(archive);

    BuildResultsXml(results);
    results.SaveToStream(content);
    content.SetPosition(0);
    if (const std::string& key = Options->GetEncryptKey(); !key.empty()) {
        TXmlCryptManager& crypt = XmlCrypt();
        crypt.Encrypt(content, key);
        content.Clear();
        crypt.GetDocument().SaveToStream(content);
        content.SetPosition(0);
        zip.AddFromStream("scontent.xml", &content);
    } else {
        zip.AddFromStream("content.xml", &content);
    }

    // The pictures the report shows, under the names the document gives them; a name met
    // again is already stored (member names match without regard to ASCII case).
    std::unordered_set<std::string> stored;
    for (const TXpNode source : results.DocumentElement().SelectNodes(u"//@src")) {
        const std::string name = Utf16ToUtf8(source.NodeValue());
        if (!stored.insert(AsciiUpper(name)).second) {
            continue;
        }
        content.Clear();
        ExtractFromPackage(name, content);
        content.SetPosition(0);
        zip.AddFromStream(name, &content);
    }
    zip.Close();
    return archive;
}

void TMainFrm::SaveResults(const std::string& fileName) {
    WriteWholeFile(fileName, ResultsArchive().View());
    ResultsSaved = true;
}

std::string TMainFrm::MakeResultsName() {
    return ComposeResultsName(MakeResultsNameParts(Now(), UserSettings(), TestName),
                              ResultsExtension);
}

void TMainFrm::AutoSaveResults(const std::string& folder) {
    const std::string path = WithoutTrailingSeparator(folder);
    if (!DirectoryExists(path)) {
        return; // the caller decides whether the examinee hears of it
    }
    const TResultsNameParts parts = MakeResultsNameParts(Now(), UserSettings(), TestName);
    // Another player saving into the same folder at the same moment goes on to the next name
    // instead of overwriting this one.
    WriteNewFile([&](int n) { return ResultsFileCandidate(path, parts, n); },
                 ResultsArchive().View());
    ResultsSaved = true;
}

void TMainFrm::SaveResultsDialog() {
    TFileDialogOptions options;
    options.DefaultExt = ResultsExtension;
    options.Filter = "*.lmr|*.lmr";
    options.OverwritePrompt = true;
    // Not the current folder, which is the program's: an examinee may seldom write there.
    options.InitialDir = GetDocumentsFolder();
    std::string fileName = MakeResultsName() + std::string(ResultsExtension);
    if (Dialogs.ExecuteFileDialog(options, fileName)) {
        SaveResults(fileName);
    }
}

} // namespace stellik
