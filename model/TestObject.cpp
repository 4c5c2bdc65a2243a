#include "model/TestObject.h"

#include "model/MarkProfiles.h"
#include "model/TextUtils.h"
#include "platform/Convert.h"

#include <cstdint>

namespace stellik {

int CalcPercent(int rating, int maxRating) {
    if (maxRating == 0) {
        return 0;
    }
    // Exact rational rounding, half to even: rating * 100 / maxRating never loses a half.
    int64_t num = static_cast<int64_t>(rating) * 100;
    int64_t den = maxRating;
    if (den < 0) {
        num = -num;
        den = -den;
    }
    int64_t quotient = num / den;
    int64_t remainder = num % den;
    if (remainder < 0) { // floor division
        --quotient;
        remainder += den;
    }
    const int64_t twice = remainder * 2;
    if (twice > den || (twice == den && quotient % 2 != 0)) {
        ++quotient;
    }
    return static_cast<int>(quotient);
}

int TTestObject::ResultState() const {
    if (Rating == MaxRating) {
        return ResultGood;
    }
    return Rating != 0 ? ResultMiddle : ResultBad;
}

int TTestObject::ResetRating() {
    Answered = false;
    Rating = 0;
    MaxRating = Reset();
    return MaxRating;
}

void TTestObject::UpdateRating() {
    const TPointsResult result = CalcRating();
    Rating = result.Points;
    Answered = result.Answered;
    Percent = CalcPercent(Rating, MaxRating);
    Mark = MarkProfile != nullptr ? MarkProfile->GetMark(Percent) : std::u16string();
}

void TTestObject::WriteSummary(TWideStrings& lines) const {
    lines.emplace_back(u"<summary>");
    WriteOwnSummary(lines);
    lines.insert(lines.end(), {u"<rating>", u"<max>", IntToStrW(MaxRating), u"</max>", u"<current>",
                               IntToStrW(Rating), u"</current>", u"<in-percent>",
                               IntToStrW(Percent), u"</in-percent>", u"</rating>"});
    if (!Mark.empty()) {
        lines.insert(lines.end(), {u"<mark>", XmlEscape(Mark), u"</mark>"});
    }
    lines.emplace_back(u"</summary>");
}

} // namespace stellik
