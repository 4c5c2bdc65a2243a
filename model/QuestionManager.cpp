#include "model/QuestionManager.h"

#include "model/QBox.h"
#include "model/QCheck.h"
#include "model/QNumber.h"
#include "model/QRadio.h"
#include "model/QText.h"
#include "platform/Unicode.h"

namespace stellik {

void TQuestionManager::RegisterQuestion(TQuestionClass questionClass, int kindCode) {
    Records.push_back({questionClass, kindCode, Utf16ToUtf8(questionClass()->GetKindName())});
}

TQuestionManager::TQuestionClass TQuestionManager::ClassForKind(int kindCode) const {
    // Every record is looked at, so a later registration under the same code wins.
    TQuestionClass found = nullptr;
    for (const TRecord& record : Records) {
        if (record.KindCode == kindCode) {
            found = record.QuestionClass;
        }
    }
    return found;
}

int TQuestionManager::KindCodeOf(std::string_view name) const {
    for (auto record = Records.rbegin(); record != Records.rend(); ++record) {
        if (record->KindName == name) {
            return record->KindCode;
        }
    }
    return -1;
}

TQuestionManager& QuestionManager() {
    static TQuestionManager manager;
    return manager;
}

void RegisterQuestionKinds() {
    // The order of static initialisation across files is unspecified, so the kinds register
    // from here, once, in a fixed order.
    static const bool registered = [] {
        TQuestionManager& manager = QuestionManager();
        manager.RegisterQuestion(&TBoxQuest::Create, TBoxQuest::KindCode);
        manager.RegisterQuestion(&TCheckQuest::Create, TCheckQuest::KindCode);
        manager.RegisterQuestion(&TNumberQuest::Create, TNumberQuest::KindCode);
        manager.RegisterQuestion(&TRadioQuest::Create, TRadioQuest::KindCode);
        manager.RegisterQuestion(&TTextQuest::Create, TTextQuest::KindCode);
        return true;
    }();
    (void)registered;
}

} // namespace stellik
