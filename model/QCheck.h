// model/QCheck.h -- multiple choice: any set of answers is picked
#pragma once

#include "model/Question.h"

namespace stellik {

class TCheckQuest : public TQuestion {
public:
    static constexpr int KindCode = 1;
    static std::unique_ptr<TQuestion> Create() { return std::make_unique<TCheckQuest>(); }

    bool GetInputAttrs(TWideStrings& /*list*/) const override { return false; }
    bool GetInputContent(TWideStrings& /*list*/) const override { return false; }
    std::u16string GetKindName() const override { return u"check"; }
    int GetKindCode() const override { return KindCode; }
    std::unique_ptr<TAnswer> CreateAnswer() const override { return std::make_unique<TAnswer>(); }
    int GetMaxRating() const override; // the sum of the answers' Points
    // Right when exactly the answers with positive Points or marked right are chosen.
    TCheckResult Check() const override;
    // The chosen answers' Points added up; a chosen 0-point answer zeroes the question.
    TPointsResult CalcPoints() const override;
};

} // namespace stellik
