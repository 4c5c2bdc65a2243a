#include "model/QText.h"

#include "model/AnswerPoints.h"

namespace stellik {

void TTextAnswer::SetRight(const std::u16string& spec) {
    TAnswer::SetRight(spec);
    ParseMask(spec, Mask);
}

int TTextQuest::GetMaxRating() const {
    return SumOfPoints(Answers);
}

TTextQuest::TMatchResult TTextQuest::MatchAnswer(const TAnswer& answer) {
    TMatchResult result;
    const std::u16string text = PrepareMaskText(answer.Value);
    if (text.empty()) {
        result.Empty = true;
        return result;
    }
    // A plain answer (not made by this kind) has no mask, like a text answer without a spec.
    const auto* textAnswer = dynamic_cast<const TTextAnswer*>(&answer);
    result.Matches = textAnswer == nullptr || MatchMask(textAnswer->Mask, text);
    return result;
}

namespace {

TFieldJudgement JudgeMatch(const TAnswer& answer) {
    const auto match = TTextQuest::MatchAnswer(answer);
    return {match.Matches, match.Empty};
}

} // namespace

TCheckResult TTextQuest::Check() const {
    return CheckEveryField(Answers, JudgeMatch);
}

TPointsResult TTextQuest::CalcPoints() const {
    return ScoreEveryField(Answers, JudgeMatch);
}

} // namespace stellik
