#include "KindTestSupport.h"

#include "model/DecimalSeparator.h"
#include "model/QNumber.h"

#include <clocale>

namespace stellik::testing {
namespace {

const std::string SyntaxMessage =
    "Ошибка в сиснтаксисе. Правильный ответ должен быть задан в виде:\r\nчисло1..число2";

// Number answers read this separator while a test holds a TSeparator.
char TestSeparator = '.';
struct TSeparator {
    explicit TSeparator(char separator) {
        TestSeparator = separator;
        Previous = SetDecimalSeparatorSource([] { return TestSeparator; });
    }
    ~TSeparator() { SetDecimalSeparatorSource(Previous); }
    TDecimalSeparatorSource Previous;
};

bool InRange(const char* right, const char* value) {
    TNumberAnswer answer;
    answer.SetRight(W(right));
    answer.Value = W(value);
    const auto result = TNumberQuest::InRange(answer);
    return result.InRange && !result.Failed;
}

TEST(NumberAnswer, RangesIncludeBothBounds) {
    const TSeparator separator('.');
    for (const char* value : {"1", "5", "3.5", " 2 "}) {
        EXPECT_TRUE(InRange("1..5", value)) << value;
    }
    EXPECT_FALSE(InRange("1..5", "0.99"));
    EXPECT_FALSE(InRange("1..5", "5.01"));
    EXPECT_FALSE(InRange("5..1", "3")); // an inverted range holds nothing
    EXPECT_FALSE(InRange("3", "3.001"));
}

TEST(NumberAnswer, MalformedRangesRaiseTheSyntaxMessage) {
    const TSeparator separator('.');
    for (const char* spec : {"..5", "1..", "a..b", "1..2..3", "", "1,5"}) {
        TNumberAnswer answer;
        EXPECT_THAT([&] { answer.SetRight(W(spec)); }, Raises(SyntaxMessage)) << spec;
        EXPECT_EQ(answer.Right, W(spec));
    }
    // A bound read before the failure keeps its new value.
    TNumberAnswer answer;
    answer.SetRight(u"10..20");
    EXPECT_THAT([&] { answer.SetRight(u"2..x"); }, Raises(SyntaxMessage));
    EXPECT_EQ(answer.Min, 2.0);
    EXPECT_EQ(answer.Max, 20.0);
}

TEST(NumberAnswer, SeparatorComesFromTheLocaleOrTheOverride) {
    {
        const TSeparator separator(',');
        EXPECT_TRUE(InRange("1,5..2,5", "2,5"));
        EXPECT_THAT([] { TNumberAnswer().SetRight(u"1.5"); }, Raises(SyntaxMessage));
    }
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    EXPECT_NE(std::setlocale(LC_NUMERIC, "C.UTF-8"), nullptr);
    EXPECT_TRUE(InRange("1.5..2.5", "2"));
    // Where a locale with a decimal comma is installed, it is followed too.
    for (const char* name : {"ru_RU.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            EXPECT_TRUE(InRange("1,5..2,5", "2,5")) << name;
            break;
        }
    }
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberQuestion, OneFieldWithoutANumberLeavesTheQuestionUnanswered) {
    const TSeparator separator('.');
    auto question = MakeQuestion<TNumberQuest>({{2, "1..5"}, {3, "10"}}, 7);
    for (const auto& values : {std::pair{"3", ""}, std::pair{"", "10"}, std::pair{"x", "10"}}) {
        SetValues(*question, {values.first, values.second});
        Expect(question->Check(), false, false);
        Expect(question->CalcPoints(), 0, false);
    }
    SetValues(*question, {"4.5", "10"});
    Expect(question->CalcRating(), 7, true);
    question->QuestionPoints = -1;
    SetValues(*question, {"6", "10"});
    Expect(question->Check(), false, true);
    Expect(question->CalcRating(), 3, true);
    EXPECT_EQ(question->GetMaxRating(), 5);

    TNumberQuest empty;
    Expect(empty.Check(), true, true);
    Expect(empty.CalcPoints(), 0, true);
}

} // namespace
} // namespace stellik::testing
