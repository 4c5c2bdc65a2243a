// model/QRadio.h -- single choice: one answer is picked
#pragma once

#include "model/Question.h"

namespace stellik {

class TRadioQuest : public TQuestion {
public:
    static constexpr int KindCode = 0;
    static std::unique_ptr<TQuestion> Create() { return std::make_unique<TRadioQuest>(); }

    bool GetInputAttrs(TWideStrings& /*list*/) const override { return false; }
    bool GetInputContent(TWideStrings& /*list*/) const override { return false; }
    std::u16string GetKindName() const override { return u"single"; }
    int GetKindCode() const override { return KindCode; }
    std::unique_ptr<TAnswer> CreateAnswer() const override { return std::make_unique<TAnswer>(); }
    // The largest Points of the answers, starting from the first one's; 0 without answers.
    int GetMaxRating() const override;
    // Right unless a chosen answer has 0 points without being marked right.
    TCheckResult Check() const override;
    // The Points of the last chosen answer.
    TPointsResult CalcPoints() const override;
};

} // namespace stellik
