#include "KindTestSupport.h"

#include "model/QCheck.h"
#include "model/QRadio.h"

#include <climits>

namespace stellik::testing {
namespace {

TEST(SingleChoice, NothingChosenIsRightButUnanswered) {
    auto question = MakeQuestion<TRadioQuest>({{2, ""}, {-3, ""}, {7, ""}}, 5);
    SetValues(*question, {" 1", "01", ""}); // only the exact value "1" is a choice
    Expect(question->Check(), true, false);
    Expect(question->CalcRating(), 5, false); // fixed points, but not counted
    // Per answer the last chosen answer decides; the maximum is the largest Points.
    question->QuestionPoints = -1;
    Expect(question->CalcRating(), 0, false);
    SetValues(*question, {"1", "", "1"});
    Expect(question->CalcRating(), 7, true);
    SetValues(*question, {"1", "1", ""});
    Expect(question->CalcRating(), -3, true);
    EXPECT_EQ(question->GetMaxRating(), 7);
    EXPECT_EQ(MakeQuestion<TRadioQuest>({{-5, ""}, {-2, ""}})->GetMaxRating(), -2);
    EXPECT_EQ(MakeQuestion<TRadioQuest>({})->GetMaxRating(), 0);
    Expect(MakeQuestion<TRadioQuest>({})->Check(), false, false);
}

TEST(SingleChoice, ChosenZeroPointAnswerIsRightOnlyWhenMarked) {
    struct TCase {
        int Points;
        const char* Right;
        bool ExpectRight;
    };
    for (const TCase c : {TCase{-1, "", true}, TCase{3, "n", true}, TCase{0, " y ", true},
                          TCase{0, "n", false}, TCase{0, "", false}, TCase{0, "yes", false}}) {
        auto question = MakeQuestion<TRadioQuest>({{1, ""}, {c.Points, c.Right}}, 4);
        SetValues(*question, {"", "1"});
        SCOPED_TRACE(c.Right);
        Expect(question->CalcRating(), c.ExpectRight ? 4 : 0, true);
    }
}

TEST(MultipleChoice, RightOnlyForExactlyTheWantedSet) {
    Expect(MakeQuestion<TCheckQuest>({})->Check(), false, false);
    // Wanted: the first (3 points) and the second (0 points, marked right).
    auto question = MakeQuestion<TCheckQuest>({{3, ""}, {0, "y"}, {0, ""}}, 6);
    for (int chosen = 0; chosen < 8; ++chosen) {
        for (int i = 0; i < 3; ++i) {
            const std::u16string value = (chosen >> i) & 1 ? u"1" : u"";
            question->Answers.GetItem(i).Value = value;
        }
        SCOPED_TRACE(chosen);
        Expect(question->CalcRating(), chosen == 0b011 ? 6 : 0, chosen != 0);
    }
    // Per answer, the right choice scores nothing: the chosen 0-point answer zeroes it.
    question->QuestionPoints = -1;
    SetValues(*question, {"1", "1", ""});
    Expect(question->CalcRating(), 0, true);
}

// Under fixed question points an answer is wanted when it has at least 1 point or is marked
// right; the question is right when the choice matches that for every answer.
TEST(MultipleChoice, AnswerIsWantedFromOnePointOrWhenMarked) {
    struct TCase {
        int Points;
        const char* Right;
        bool Wanted;
    };
    for (const TCase c :
         {TCase{1, "", true}, TCase{2, "", true}, TCase{0, "", false}, TCase{-1, "", false},
          TCase{0, "Y", true}, TCase{-1, " y", true}, TCase{1, "n", true}}) {
        auto question = MakeQuestion<TCheckQuest>({{c.Points, c.Right}}, 5);
        SCOPED_TRACE(::testing::Message() << c.Points << " '" << c.Right << "'");
        SetValues(*question, {"1"});
        Expect(question->CalcRating(), c.Wanted ? 5 : 0, true);
        SetValues(*question, {""});
        Expect(question->Check(), !c.Wanted, false);
    }
}

TEST(MultipleChoice, PointsAddUntilAChosenZero) {
    auto question = MakeQuestion<TCheckQuest>({{3, ""}, {-1, ""}, {0, ""}, {5, ""}});
    EXPECT_EQ(question->GetMaxRating(), 7);
    SetValues(*question, {"1", "1", "", "1"});
    Expect(question->CalcPoints(), 7, true);
    SetValues(*question, {"1", "", "1", "1"}); // stops at the zero
    Expect(question->CalcPoints(), 0, true);

    auto huge = MakeQuestion<TCheckQuest>({{INT_MAX, ""}, {INT_MAX, ""}});
    SetValues(*huge, {"1", "1"});
    Expect(huge->CalcPoints(), INT_MAX, true);
    EXPECT_EQ(huge->GetMaxRating(), INT_MAX);
}

} // namespace
} // namespace stellik::testing
