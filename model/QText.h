// model/QText.h -- text input: each typed text is matched against its answer's mask
#pragma once

#include "model/Question.h"
#include "model/TextMask.h"

namespace stellik {

class TTextAnswer : public TAnswer {
public:
    // Stores spec, then parses it into Mask; a syntax error raises its message and leaves the
    // elements read before it. An answer never given a spec keeps an empty mask.
    void SetRight(const std::u16string& spec) override;

    TMask Mask;
};

class TTextQuest : public TQuestion {
public:
    static constexpr int KindCode = 2;
    static std::unique_ptr<TQuestion> Create() { return std::make_unique<TTextQuest>(); }

    bool GetInputAttrs(TWideStrings& /*list*/) const override { return false; }
    bool GetInputContent(TWideStrings& /*list*/) const override { return false; }
    std::u16string GetKindName() const override { return u"text"; }
    int GetKindCode() const override { return KindCode; }
    std::unique_ptr<TAnswer> CreateAnswer() const override {
        return std::make_unique<TTextAnswer>();
    }
    int GetMaxRating() const override; // the sum of the answers' Points
    // Right when every text matches; one blank field leaves the question unanswered.
    TCheckResult Check() const override;
    TPointsResult CalcPoints() const override;

    struct TMatchResult {
        bool Matches = false;
        bool Empty = false; // the typed text is blank
    };
    // The typed text, trimmed and upper-cased (inner blanks kept), against the answer's mask.
    static TMatchResult MatchAnswer(const TAnswer& answer);
};

} // namespace stellik
