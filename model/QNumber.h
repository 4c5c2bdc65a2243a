// model/QNumber.h -- number input: each field must hold a number inside its answer's range
#pragma once

#include "model/Question.h"

namespace stellik {

class TNumberAnswer : public TAnswer {
public:
    // Stores spec, then reads "min..max" or a single number (both bounds the same) with the
    // locale's decimal separator. Raises the syntax message when a bound is no number; a
    // bound read before the failing one keeps its new value.
    void SetRight(const std::u16string& spec) override;

    double Min = 0;
    double Max = 0;
};

class TNumberQuest : public TQuestion {
public:
    static constexpr int KindCode = 3;
    static std::unique_ptr<TQuestion> Create() { return std::make_unique<TNumberQuest>(); }

    bool GetInputAttrs(TWideStrings& /*list*/) const override { return false; }
    bool GetInputContent(TWideStrings& /*list*/) const override { return false; }
    std::u16string GetKindName() const override { return u"number"; }
    int GetKindCode() const override { return KindCode; }
    std::unique_ptr<TAnswer> CreateAnswer() const override {
        return std::make_unique<TNumberAnswer>();
    }
    int GetMaxRating() const override; // the sum of the answers' Points
    // Right when every value lies in its range; one field without a number leaves the whole
    // question unanswered.
    TCheckResult Check() const override;
    TPointsResult CalcPoints() const override;

    struct TRangeResult {
        bool InRange = false;
        bool Failed = false; // the value is no number (an empty one included)
    };
    // Min <= value <= Max, both bounds included.
    static TRangeResult InRange(const TAnswer& answer);
};

} // namespace stellik
