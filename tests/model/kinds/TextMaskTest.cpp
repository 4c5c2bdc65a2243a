#include "KindTestSupport.h"

#include "model/QText.h"
#include "model/TextMask.h"

#include <random>
#include <vector>

namespace stellik::testing {
namespace {

const std::string InvalidEscape = "Ошибка в синтаксисе. Недопустимый символ \\";
const std::string TrailingBackslash = "Ошибка в синтаксисе. Ожидается символ после \\";

// The mask in one string: cells as their characters ("?" for any), a star as "*", "|"
// between elements.
std::u16string Shape(const TMask& mask) {
    std::u16string out;
    for (int i = 0; i < mask.GetCount(); ++i) {
        const TMaskElement& element = mask.GetItem(i);
        out += i > 0 ? u"|" : u"";
        out += element.Star ? u"*" : u"";
        for (const TMaskCell& cell : element.Cells.Items()) {
            out += cell.AnyChar ? u'?' : cell.Char;
        }
    }
    return out;
}

std::u16string ShapeOf(const char* spec) {
    TTextAnswer answer;
    answer.SetRight(W(spec));
    return Shape(answer.Mask);
}

TEST(MaskParsing, ElementsOfTheMaskLanguage) {
    EXPECT_EQ(ShapeOf("  москва "), W("МОСКВА"));
    EXPECT_EQ(ShapeOf("\\*град"), W("*|ГРАД"));
    EXPECT_EQ(ShapeOf("Ст\\?л"), W("СТ?Л"));
    EXPECT_EQ(ShapeOf("a\\*\\*b\\*"), u"A|*|B|*");
    EXPECT_EQ(ShapeOf("5*3?"), u"5*3?"); // plain "*" and "?" are literal
    EXPECT_EQ(ShapeOf("C:\\\\TEMP"), u"C:\\TEMP");
}

TEST(MaskParsing, SyntaxErrorsCarryTheirMessagesAndKeepWhatWasRead) {
    TTextAnswer answer;
    EXPECT_THAT([&] { answer.SetRight(u"ab\\n"); }, Raises(InvalidEscape + "N"));
    EXPECT_THAT([&] { answer.SetRight(W("x\\ж")); }, Raises(InvalidEscape + "Ж"));
    EXPECT_THAT([&] { answer.SetRight(u"ab\\  "); }, Raises(TrailingBackslash));
    EXPECT_THAT([&] { answer.SetRight(u"a\\*b\\x c"); }, Raises(InvalidEscape + "X"));
    EXPECT_EQ(answer.Right, u"a\\*b\\x c");
    EXPECT_EQ(Shape(answer.Mask), u"A|*|B");
}

bool Matches(const char* spec, const char* typed) {
    TTextAnswer answer;
    answer.SetRight(W(spec));
    answer.Value = W(typed);
    return TTextQuest::MatchAnswer(answer).Matches;
}

TEST(MaskMatching, ExamplesOfTheMaskLanguage) {
    struct TCase {
        const char* Spec;
        std::vector<const char*> Match, NoMatch;
    };
    const TCase cases[] = {
        {"  москва ", {"МОСКВА", " Москва "}, {"Москва-река", "Старая Москва"}},
        {"\\*град", {"Волгоград", "град"}, {"Градус"}},
        {"Ст\\?л", {"стол", "стул"}, {"стл", "столл"}},
        {"a\\*b\\*c", {"abc", "a-b-c", "aXbYbc"}, {"acb", "ab", "xabc"}},
        {"Ёж", {"ёж", "ЕЖ", "Еж"}, {}},
        {"Еж", {}, {"Ёж"}},
        {"5*3", {"5*3"}, {"573", "53"}},
        {"C:\\\\TEMP", {"c:\\temp"}, {}},
        {"\\*ab\\*", {"xxabyy", "ab"}, {"xxayy"}},
        // Literal parts are placed leftmost and never overlap.
        {"\\*b\\*bc", {"abbc"}, {"abc"}},
        {"\\*aa\\*aa", {"aaaa"}, {"aaa"}},
    };
    for (const TCase& c : cases) {
        for (const char* typed : c.Match) {
            EXPECT_TRUE(Matches(c.Spec, typed)) << c.Spec << " / " << typed;
        }
        for (const char* typed : c.NoMatch) {
            EXPECT_FALSE(Matches(c.Spec, typed)) << c.Spec << " / " << typed;
        }
    }
    // No mask accepts any text that is not blank.
    TTextAnswer answer;
    answer.Value = u" \t\r\n";
    EXPECT_TRUE(TTextQuest::MatchAnswer(answer).Empty);
    EXPECT_FALSE(TTextQuest::MatchAnswer(answer).Matches);
    EXPECT_TRUE(Matches("", "anything"));
}

TEST(MaskMatching, FastSearchAgreesWithTryingEveryPosition) {
    const std::u16string letters = W("ABЕЁ?"); // "?" stands for an any-character cell
    std::mt19937 random(12345);
    const auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n)(random); };
    for (int round = 0; round < 3000; ++round) {
        const bool large = round % 10 == 0; // more than 64 cells: several words of bits
        TMaskStr cells;
        for (size_t j = 1 + pick(large ? 140 : 5); j > 0; --j) {
            const char16_t c = letters[pick(4)];
            cells.AddCell() = TMaskCell{c == u'?', c == u'?' ? u'\0' : c};
        }
        std::u16string text(pick(large ? 400 : 30), u' ');
        for (char16_t& c : text) {
            c = letters[pick(3)];
        }
        const size_t start = pick(text.size() + 1);
        long long expected = -1;
        for (size_t p = text.size() + 1; p-- > start;) {
            expected = MatchAt(cells, text, p) ? static_cast<long long>(p) : expected;
        }
        ASSERT_EQ(FindCells(cells, text, start), expected) << "round " << round;
    }
}

TEST(MaskMatching, ManyStarsOnALongTextStayGreedy) {
    // A matcher that goes back to try other places would never finish here.
    std::string spec;
    for (int i = 0; i < 60; ++i) {
        spec += "\\*a";
    }
    TTextAnswer answer;
    answer.SetRight(W(spec + "\\*" + std::string(300, 'a') + "b\\*"));
    answer.Value = std::u16string(200000, u'a') + u"c";
    EXPECT_FALSE(TTextQuest::MatchAnswer(answer).Matches);
    answer.Value.back() = u'b';
    EXPECT_TRUE(TTextQuest::MatchAnswer(answer).Matches);
}

} // namespace
} // namespace stellik::testing
