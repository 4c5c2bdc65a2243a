#include "KindTestSupport.h"

#include "model/QBox.h"

namespace stellik::testing {
namespace {

TEST(BoxQuestion, ValuesMatchTrimmedAndWithoutLetterCase) {
    auto question = MakeQuestion<TBoxQuest>({{1, "ABC"}, {2, " Москва "}, {4, "Ёлка"}});
    EXPECT_EQ(question->GetMaxRating(), 7);
    SetValues(*question, {" abc ", "мОСКВА", "ёЛКА\t"});
    Expect(question->CalcPoints(), 7, true);
    // Inner characters must agree, and "Е" does not stand for "Ё" here.
    SetValues(*question, {"a bc", "Москва", "Елка"});
    Expect(question->Check(), false, true);
    Expect(question->CalcPoints(), 2, true);
}

TEST(BoxQuestion, ABlankBoxLeavesTheQuestionUnanswered) {
    auto question = MakeQuestion<TBoxQuest>({{1, "a"}, {2, "b"}}, 9);
    for (const auto& values : {std::pair{"a", " \t"}, std::pair{"", "b"}, std::pair{"x", ""}}) {
        SetValues(*question, {values.first, values.second});
        Expect(question->Check(), false, false);
        Expect(question->CalcPoints(), 0, false);
    }
    // Without answers it is answered, right and worth nothing.
    TBoxQuest empty;
    Expect(empty.Check(), true, true);
    Expect(empty.CalcPoints(), 0, true);
    TWideStrings content;
    EXPECT_TRUE(empty.GetInputContent(content));
    EXPECT_TRUE(content.empty());
}

TEST(BoxQuestion, InputContentListsEachRightValueOnceEscaped) {
    auto question = MakeQuestion<TBoxQuest>(
        {{1, "a"}, {1, "A"}, {1, "b"}, {1, "a&b"}, {1, "Ёж"}, {1, "a&B"}, {1, "ёЖ"}});
    TWideStrings content;
    EXPECT_TRUE(question->GetInputContent(content));
    const TWideStrings expected{u"<value>",  u"a",        u"</value>", u"<value>",
                                u"b",        u"</value>", u"<value>",  u"a&amp;b",
                                u"</value>", u"<value>",  W("Ёж"),     u"</value>"};
    EXPECT_EQ(content, expected);
}

} // namespace
} // namespace stellik::testing
