// model/AnswerPoints.h -- adding up answer points for the question kinds
#pragma once

#include "model/Answers.h"
#include "model/Question.h"

namespace stellik {

// sum + points, held at the ends of the 32-bit range instead of overflowing: points come from
// the test document, and no test, however odd, may make the engine's arithmetic undefined.
int AddPoints(int sum, int points);
// An exact sum held at the ends of the 32-bit range.
int ClampToInt(long long total);

// The Points of every answer added up (0 without answers).
int SumOfPoints(const TAnswerList& answers);

// How one typed answer of a number or text question fares.
struct TFieldJudgement {
    bool Hit = false;     // in range / matches
    bool Missing = false; // no usable value: the whole question is then unanswered
};

// Kinds whose every field must be filled: right when every field hits; unanswered (and wrong)
// as soon as one field is missing.
template <typename Judge> TCheckResult CheckEveryField(const TAnswerList& answers, Judge judge) {
    TCheckResult result{true, false};
    for (int i = 0; i < answers.GetCount(); ++i) {
        const TFieldJudgement field = judge(answers.GetItem(i));
        if (field.Missing) {
            result.Right = false;
            return result;
        }
        if (!field.Hit) {
            result.Right = false;
        }
    }
    result.Answered = true;
    return result;
}

// The Points of the fields that hit; 0 and unanswered as soon as one field is missing.
template <typename Judge> TPointsResult ScoreEveryField(const TAnswerList& answers, Judge judge) {
    TPointsResult result;
    for (int i = 0; i < answers.GetCount(); ++i) {
        const TAnswer& answer = answers.GetItem(i);
        const TFieldJudgement field = judge(answer);
        if (field.Missing) {
            result.Points = 0;
            return result;
        }
        if (field.Hit) {
            result.Points = AddPoints(result.Points, answer.Points);
        }
    }
    result.Answered = true;
    return result;
}

} // namespace stellik
