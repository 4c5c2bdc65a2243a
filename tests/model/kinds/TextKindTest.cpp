#include "KindTestSupport.h"

#include "model/QText.h"

namespace stellik::testing {
namespace {

TEST(TextQuestion, ABlankFieldLeavesTheQuestionUnanswered) {
    auto question = MakeQuestion<TTextQuest>({{2, "Москва"}, {3, "\\*град"}}, 10);
    for (const auto& values : {std::pair{"москва", " "}, std::pair{"", "Волгоград"}}) {
        SetValues(*question, {values.first, values.second});
        Expect(question->Check(), false, false);
        Expect(question->CalcPoints(), 0, false);
        Expect(question->CalcRating(), 0, false);
    }
    SetValues(*question, {"еж", "Волгоград"});
    Expect(question->Check(), false, true);
    SetValues(*question, {" МОСКВА", "град "});
    Expect(question->CalcRating(), 10, true);
}

TEST(TextQuestion, PerAnswerPointsAddUpForTheMatchingTexts) {
    auto question = MakeQuestion<TTextQuest>({{2, "Москва"}, {3, "\\*град"}});
    EXPECT_EQ(question->GetMaxRating(), 5);
    SetValues(*question, {"Париж", "Ленинград"});
    Expect(question->CalcRating(), 3, true);
    TTextQuest empty;
    Expect(empty.Check(), true, true);
    Expect(empty.CalcPoints(), 0, true);
}

} // namespace
} // namespace stellik::testing
