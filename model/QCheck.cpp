#include "model/QCheck.h"

#include "model/AnswerPoints.h"

namespace stellik {

int TCheckQuest::GetMaxRating() const {
    return SumOfPoints(Answers);
}

TCheckResult TCheckQuest::Check() const {
    TCheckResult result;
    if (Answers.GetCount() == 0) {
        return result;
    }
    result.Right = true;
    for (int i = 0; i < Answers.GetCount(); ++i) {
        const TAnswer& answer = Answers.GetItem(i);
        const bool chosen = IsChosen(answer);
        const bool wanted = answer.Points >= 1 || IsMarkedRight(answer);
        if (chosen) {
            result.Answered = true;
        }
        if (chosen != wanted) {
            result.Right = false;
        }
    }
    return result;
}

TPointsResult TCheckQuest::CalcPoints() const {
    TPointsResult result;
    for (int i = 0; i < Answers.GetCount(); ++i) {
        const TAnswer& answer = Answers.GetItem(i);
        if (!IsChosen(answer)) {
            continue;
        }
        result.Answered = true;
        if (answer.Points == 0) {
            result.Points = 0;
            break;
        }
        result.Points = AddPoints(result.Points, answer.Points);
    }
    return result;
}

} // namespace stellik
