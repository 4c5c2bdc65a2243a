#include "model/TestObject.h"

#include "model/MarkProfiles.h"
#include "model/TextUtils.h"
#include "platform/Convert.h"

#include <cmath>
#include <limits>

namespace stellik {

int CalcPercent(int rating, int maxRating) {
    if (maxRating == 0) {
        return 0;
    }
    // The quotient is taken in 80-bit extended precision, then times 100, and rounded half to
    // even: where the quotient is not exact in binary a "half" may fall either side (59 of 200
    // gives 29.4999..., so 29), and the percents shown must be those of that arithmetic.
    static_assert(std::numeric_limits<long double>::digits == 64,
                  "long double must be the 80-bit extended format");
    const long double percent = static_cast<long double>(rating) / maxRating * 100;
    // |percent| stays below 2^38; one beyond 32 bits (only from absurd ratings) keeps its low bits.
    return static_cast<int>(std::llrint(percent)); // default rounding: to nearest, ties to even
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
    SetRating(CalcRating());
}

void TTestObject::SetRating(const TPointsResult& result) {
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
