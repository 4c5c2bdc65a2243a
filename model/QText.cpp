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

TCheckResult TTextQuest::Check() const {
    TCheckResult result{true, false};
    for (int i = 0; i < Answers.GetCount(); ++i) {
        const TMatchResult match = MatchAnswer(Answers.GetItem(i));
        if (match.Empty) {
            result.Right = false;
            return result;
        }
        if (!match.Matches) {
            result.Right = false;
        }
    }
    result.Answered = true;
    return result;
}

TPointsResult TTextQuest::CalcPoints() const {
    TPointsResult result;
    for (int i = 0; i < Answers.GetCount(); ++i) {
        const TAnswer& answer = Answers.GetItem(i);
        const TMatchResult match = MatchAnswer(answer);
        if (match.Empty) {
            result.Points = 0;
            return result;
        }
        if (match.Matches) {
            result.Points = AddPoints(result.Points, answer.Points);
        }
    }
    result.Answered = true;
    return result;
}

} // namespace stellik
