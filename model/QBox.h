// model/QBox.h -- matching boxes: each box takes a value that must equal its answer's Right
#pragma once

#include "model/Question.h"

namespace stellik {

class TBoxQuest : public TQuestion {
public:
    static constexpr int KindCode = 4;
    static std::unique_ptr<TQuestion> Create() { return std::make_unique<TBoxQuest>(); }

    bool GetInputAttrs(TWideStrings& /*list*/) const override { return false; }
    // The question's right values, escaped, each once in the letter case it first appears
    // in, as "<value>", value, "</value>" lines; always True, also without answers.
    bool GetInputContent(TWideStrings& list) const override;
    std::u16string GetKindName() const override { return u"box"; }
    int GetKindCode() const override { return KindCode; }
    std::unique_ptr<TAnswer> CreateAnswer() const override { return std::make_unique<TAnswer>(); }
    int GetMaxRating() const override; // the sum of the answers' Points
    // Right when every box matches; a blank box leaves the question unanswered.
    TCheckResult Check() const override;
    TPointsResult CalcPoints() const override;

    // Value and Right, both trimmed, equal without regard to letter case.
    static bool Matches(const TAnswer& answer);
};

} // namespace stellik
