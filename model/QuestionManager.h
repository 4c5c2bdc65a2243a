// model/QuestionManager.h -- question classes by kind code
#pragma once

#include "model/Question.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace stellik {

class TQuestionManager {
public:
    using TQuestionClass = std::unique_ptr<TQuestion> (*)();

    void RegisterQuestion(TQuestionClass questionClass, int kindCode); // no duplicate check
    // The class of the last registration under kindCode; nullptr when there is none.
    TQuestionClass ClassForKind(int kindCode) const;
    // The code of the last registration whose class's GetKindName is name (UTF-8, as test
    // documents name their question elements); -1 when there is none.
    int KindCodeOf(std::string_view name) const;

private:
    struct TRecord {
        TQuestionClass QuestionClass;
        int KindCode;
        std::string KindName; // asked of the class once, when it registers
    };
    std::vector<TRecord> Records;
};

// The single global registry, filled by RegisterQuestionKinds (idempotent) with the five kinds
// in their start-up order: box 4, check 1, number 3, single 0, text 2.
TQuestionManager& QuestionManager();
void RegisterQuestionKinds();

} // namespace stellik
