#include "model/QRadio.h"

#include <algorithm>

namespace stellik {

int TRadioQuest::GetMaxRating() const {
    if (Answers.GetCount() == 0) {
        return 0;
    }
    int best = Answers.GetItem(0).Points;
    for (int i = 1; i < Answers.GetCount(); ++i) {
        best = std::max(best, Answers.GetItem(i).Points);
    }
    return best;
}

TCheckResult TRadioQuest::Check() const {
    TCheckResult result;
    if (Answers.GetCount() == 0) {
        return result;
    }
    // Nothing chosen leaves the question right but unanswered.
    result.Right = true;
    for (int i = 0; i < Answers.GetCount(); ++i) {
        const TAnswer& answer = Answers.GetItem(i);
        if (!IsChosen(answer)) {
            continue;
        }
        result.Answered = true;
        if (answer.Points == 0 && !IsMarkedRight(answer)) {
            result.Right = false;
            break;
        }
    }
    return result;
}

TPointsResult TRadioQuest::CalcPoints() const {
    TPointsResult result;
    for (int i = 0; i < Answers.GetCount(); ++i) {
        const TAnswer& answer = Answers.GetItem(i);
        if (IsChosen(answer)) {
            result.Points = answer.Points;
            result.Answered = true;
        }
    }
    return result;
}

} // namespace stellik
