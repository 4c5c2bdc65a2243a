// The results document, and saving it.
#include "shell/MainFrm.h"

#include "platform/Exception.h"
#include "shell/OutputDocument.h"
#include "shell/ResultsDocument.h"

namespace stellik {

void TMainFrm::BuildResultsXml(TXpObjModel& model) {
    TestDoc->ShowRight = true;
    TestDoc->WriteReport();
    LoadOutputDocument(model, TestDoc->GetOutput());
    MakeResultsDocument(model, UserSettings(), TestName);
}

// Saving results files is not built yet.
void TMainFrm::SaveResults(const std::string&) {
    throw Exception("Saving results is not built yet");
}

std::string TMainFrm::MakeResultsName() {
    throw Exception("Saving results is not built yet");
}

void TMainFrm::AutoSaveResults(const std::string&) {
    throw Exception("Saving results is not built yet");
}

void TMainFrm::SaveResultsDialog() {
    throw Exception("Saving results is not built yet");
}

} // namespace stellik
