#include "model/MarkProfiles.h"
#include "model/TestObject.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <climits>

namespace stellik::testing {
namespace {

class TSampleObject : public TTestObject {
public:
    TPointsResult CalcRating() override { return Result; }
    int Reset() override { return Max; }
    void WriteOwnSummary(TWideStrings& lines) const override { lines.emplace_back(u"<own/>"); }

    TPointsResult Result;
    int Max = 0;
};

TEST(Percent, RoundsTheExtendedPrecisionQuotientHalfToEven) {
    struct TCase {
        int Rating, Max, Percent;
    };
    const TCase cases[] = {
        // Exact halves go to the even neighbour.
        {1, 8, 12},
        {3, 8, 38},
        {5, 8, 62},
        // Halves that are not exact in binary fall where 80-bit arithmetic puts them.
        {59, 200, 29},
        {-59, 200, -29},
        {47, 40, 117},
        {213, 200, 107},
        {241, 200, 121},
        {1, 200, 0},
        {5, 200, 2},
        {7, 200, 4},
        // No half at all.
        {1, 3, 33},
        {2, 3, 67},
        {9, 8, 112},
        {-1, 4, -25},
        {-1, 8, -12},
        {-3, 8, -38},
        {1, -8, -12},
        {0, 0, 0},
        {5, 0, 0},
        {INT_MAX, INT_MAX, 100},
        {INT_MIN, INT_MAX, -100},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(CalcPercent(c.Rating, c.Max), c.Percent) << c.Rating << " of " << c.Max;
    }
}

TEST(TestObject, ResultStateComparesRatingWithMaximumFirst) {
    TSampleObject object;
    const auto state = [&](int rating, int max) {
        object.Rating = rating;
        object.MaxRating = max;
        return object.ResultState();
    };
    EXPECT_EQ(state(0, 0), ResultGood);
    EXPECT_EQ(state(5, 5), ResultGood);
    EXPECT_EQ(state(-1, 4), ResultMiddle);
    EXPECT_EQ(state(9, 8), ResultMiddle);
    EXPECT_EQ(state(0, 8), ResultBad);
}

TEST(MarkProfile, HighestThresholdNotAbovePercentWinsFirstOfEquals) {
    TMarkProfile profile;
    profile.DefaultMark = u"2";
    profile.Elements.Add(50, u"3");
    profile.Elements.Add(50, u"x");
    EXPECT_EQ(profile.Elements.Add(75, u"4"), 2);
    EXPECT_THROW(profile.Elements.GetItem(3), EListError);
    const std::pair<int, const char16_t*> cases[] = {{49, u"2"}, {50, u"3"},  {74, u"3"},
                                                     {75, u"4"}, {100, u"4"}, {-25, u"2"}};
    for (const auto& [percent, mark] : cases) {
        EXPECT_EQ(profile.GetMark(percent), mark) << percent;
    }

    TMarkProfile zero; // thresholds of 0 and below never beat the default
    zero.DefaultMark = u"d";
    zero.Elements.Add(0, u"zero");
    zero.Elements.Add(-10, u"negative");
    EXPECT_EQ(zero.GetMark(0), u"d");
    EXPECT_EQ(zero.GetMark(-5), u"d");
}

TEST(TestObject, RatingCycleAndSummaryWithEscapedMark) {
    TMarkProfile profile;
    profile.DefaultMark = u"A&B";
    TSampleObject object;
    object.MarkProfile = &profile;
    object.Answered = true;
    object.Rating = 3;
    object.Max = 4;
    EXPECT_EQ(object.ResetRating(), 4);
    EXPECT_FALSE(object.Answered);
    EXPECT_EQ(object.Rating, 0);

    object.Result = {-1, true};
    object.UpdateRating();
    EXPECT_TRUE(object.Answered);
    EXPECT_EQ(object.Mark, u"A&B"); // a negative percent still gets the default mark
    TWideStrings lines{u"before"};
    object.WriteSummary(lines);
    const TWideStrings expected{
        u"before",        u"<summary>", u"<own/>", u"<rating>",   u"<max>",        u"4",
        u"</max>",        u"<current>", u"-1",     u"</current>", u"<in-percent>", u"-25",
        u"</in-percent>", u"</rating>", u"<mark>", u"A&amp;B",    u"</mark>",      u"</summary>"};
    EXPECT_EQ(lines, expected);

    for (const TMarkProfile* markProfile : {&profile, static_cast<TMarkProfile*>(nullptr)}) {
        profile.DefaultMark.clear(); // an empty mark and no profile both write no mark lines
        object.MarkProfile = markProfile;
        object.UpdateRating();
        lines.clear();
        object.WriteSummary(lines);
        ASSERT_EQ(lines.size(), 14u);
        EXPECT_EQ(lines[13], u"</summary>");
    }
}

} // namespace
} // namespace stellik::testing
