// model/AnswerPoints.h -- adding up answer points for the question kinds
#pragma once

#include "model/Answers.h"

namespace stellik {

// sum + points, held at the ends of the 32-bit range instead of overflowing: points come from
// the test document, and no test, however odd, may make the engine's arithmetic undefined.
int AddPoints(int sum, int points);

// The Points of every answer added up (0 without answers).
int SumOfPoints(const TAnswerList& answers);

} // namespace stellik
