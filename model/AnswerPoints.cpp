#include "model/AnswerPoints.h"

#include <algorithm>
#include <climits>

namespace stellik {

int AddPoints(int sum, int points) {
    return ClampToInt(static_cast<long long>(sum) + points);
}

int ClampToInt(long long total) {
    return static_cast<int>(std::clamp<long long>(total, INT_MIN, INT_MAX));
}

int SumOfPoints(const TAnswerList& answers) {
    int sum = 0;
    for (int i = 0; i < answers.GetCount(); ++i) {
        sum = AddPoints(sum, answers.GetItem(i).Points);
    }
    return sum;
}

} // namespace stellik
