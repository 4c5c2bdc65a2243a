// shell/ResultsDocument.h -- the report document turned into the results document
#pragma once

#include "documents/UserSettings.h"
#include "xml/XpObjModel.h"

#include <string>

namespace stellik {

// The document element of model (a report) becomes "test-results" without its "mode"
// attribute, and gets "user" (the examinee's four fields, decoded from UTF-8) and "test"
// (testName) just before its first "summary" child, or at its end when it has none.
void MakeResultsDocument(TXpObjModel& model, const TUserSettings& user,
                         const std::string& testName);

} // namespace stellik
