#include "documents/ExeTestOptions.h"

#include "documents/MarkProfileReader.h"
#include "platform/Convert.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"
#include "xml/XpObjModel.h"

namespace stellik {

namespace {

// The text of the first match as an 8-bit string; empty when nothing matches.
std::string SelectText(TXpNode root, std::u16string_view path) {
    return Utf16ToUtf8(root.SelectString(path));
}

int SelectInteger(TXpNode root, std::u16string_view path, int fallback) {
    return TryStrToInt(SelectText(root, path)).value_or(fallback);
}

} // namespace

TExeTestOptions::TExeTestOptions() {
    Reset();
}

TExeTestOptions::~TExeTestOptions() = default;

void TExeTestOptions::Reset() {
    SaveResults = false;
    ResultsPath.clear();
    RatingLevel = -1;
    TestTime = 0;
    EncryptKey.clear();
    MarkProfile.reset();
    ViewProfile = std::make_unique<TViewProfile>();
}

void TExeTestOptions::LoadFromStream(TMemoryStream& stream) {
    // Default settings: errors are recorded, not raised, and texts are normalised. A stream
    // that does not parse leaves no document element and is rejected like a wrong root.
    TXpObjModel document;
    document.LoadStream(stream);
    const TXpNode root = document.DocumentElement();
    if (!root || root.NodeName() != u"sk-settings") {
        throw Exception("XML файл не является файлом настроек");
    }
    Reset();
    ReadKeys(root);
    if (const TXpNode viewNode = root.SelectSingleNode(u"view-profile")) {
        ViewProfile->LoadFromNode(viewNode);
    }
    if (const TXpNode markNode = root.SelectSingleNode(u"mark-profile")) {
        MarkProfile = ParseMarkProfile(markNode);
    }
}

void TExeTestOptions::ReadKeys(TXpNode root) {
    SaveResults = root.SelectBoolean(u"save-results");
    ResultsPath = SelectText(root, u"save-results/path");
    EncryptKey = SelectText(root, u"save-results/encrypt-key");
    RatingLevel = SelectInteger(root, u"rating-level", -1);
    TestTime = SelectInteger(root, u"test-time", 0);
}

} // namespace stellik
