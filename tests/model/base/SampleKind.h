// A minimal question kind whose kind operations the tests set directly.
#pragma once

#include "model/Question.h"

#include <memory>
#include <string>

namespace stellik::testing {

class TSampleQuest : public TQuestion {
public:
    explicit TSampleQuest(int kindCode = 0) : KindCode(kindCode) {}

    using TQuestion::GetAnswerInput;
    using TQuestion::GetAnswerOutput;

    bool GetInputAttrs(TWideStrings& list) const override {
        list = ExtraAttrs;
        return !ExtraAttrs.empty();
    }
    bool GetInputContent(TWideStrings& list) const override {
        list = InputContent;
        return !InputContent.empty();
    }
    std::u16string GetKindName() const override {
        static const char16_t* const names[] = {u"single", u"check", u"text", u"number", u"box"};
        return names[KindCode];
    }
    int GetKindCode() const override { return KindCode; }
    std::unique_ptr<TAnswer> CreateAnswer() const override { return std::make_unique<TAnswer>(); }
    int GetMaxRating() const override { return MaxForAnswers; }
    TCheckResult Check() const override { return CheckResult; }
    TPointsResult CalcPoints() const override { return PointsResult; }

    // Adds an answer with the given text and points.
    TAnswer& Answer(const std::u16string& text = u"", int points = 0) {
        TAnswer* answer = AddAnswer();
        answer->Text = text;
        answer->Points = points;
        return *answer;
    }

    int KindCode;
    TWideStrings ExtraAttrs;
    TWideStrings InputContent;
    int MaxForAnswers = 0;
    TCheckResult CheckResult;
    TPointsResult PointsResult;
};

} // namespace stellik::testing
