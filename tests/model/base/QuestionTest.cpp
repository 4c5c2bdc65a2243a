#include "SampleKind.h"

#include "platform/Exception.h"
#include "platform/Random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

namespace stellik::testing {
namespace {

TEST(QuestionContent, MergesConsecutiveRunsAndLinksOnlyLaterAnswersInFreeLayout) {
    TSampleQuest question;
    question.Answer(); // added before free layout is set: no link for it
    question.FreeLayout = true;
    TQuestionContent& content = question.Content;
    EXPECT_EQ(content.AddText(u"<b>a</b>"), 0);
    EXPECT_EQ(content.AddText(u" b"), 0);
    question.Answer();
    EXPECT_EQ(content.AddText(u" c"), 2);
    ASSERT_EQ(content.GetCount(), 3);
    EXPECT_EQ(std::get<TStrItm>(content.GetItem(0)).Text, u"<b>a</b> b");
    EXPECT_EQ(std::get<TAnswLinkItm>(content.GetItem(1)).AnswerIndex, 1);
    EXPECT_EQ(content.GetText(), u"<b>a</b> b c");
    EXPECT_THROW(content.GetItem(3), EListError);
}

TEST(Answer, BlankTextIsNoTextAndChoiceFlagsAreExact) {
    TAnswer answer;
    answer.Text = u" \t\r\n ";
    EXPECT_FALSE(answer.HasText());
    answer.Text = u"\u00A0";
    EXPECT_TRUE(answer.HasText());
    answer.Value = u" 1";
    EXPECT_FALSE(IsChosen(answer));
    answer.Right = u" Y\t";
    EXPECT_TRUE(IsMarkedRight(answer));
    answer.Right = u"yes";
    EXPECT_FALSE(IsMarkedRight(answer));
}

TEST(Question, SetAnswerValueUsesTheIntegerConversionAndIgnoresTheRest) {
    TSampleQuest question;
    for (int i = 0; i < 3; ++i) {
        question.Answer();
    }
    question.Order.Clear();
    for (const int position : {2, 0, 1}) {
        question.Order.Add(position);
    }
    for (const char* refused : {"x", "-1", "3", "", "1 ", "1.0", "$", "0x"}) {
        question.SetAnswerValue(refused, u"bad");
    }
    question.SetAnswerValue("0", u"first"); // position in Answers, not in Order
    question.SetAnswerValue(" 0x1", u"second");
    question.SetAnswerValue("$2", u"third");
    EXPECT_EQ(question.Answers.GetItem(0).Value, u"first");
    EXPECT_EQ(question.Answers.GetItem(1).Value, u"second");
    EXPECT_EQ(question.Answers.GetItem(2).Value, u"third");
}

TEST(Question, RatingUsesFixedPointsOrTheAnswersPoints) {
    TSampleQuest question;
    question.MaxForAnswers = 7;
    question.PointsResult = {-2, true};
    question.CheckResult = {true, false};
    EXPECT_EQ(question.ResetRating(), 7);
    EXPECT_EQ(question.CalcRating().Points, -2);

    question.QuestionPoints = 5;
    EXPECT_EQ(question.ResetRating(), 5);
    EXPECT_EQ(question.CalcRating().Points, 5);
    EXPECT_FALSE(question.CalcRating().Answered);
    question.CheckResult = {false, true};
    EXPECT_EQ(question.CalcRating().Points, 0);
    EXPECT_TRUE(question.CalcRating().Answered);
}

TEST(Question, ResetClearsValuesAndKeepsDocumentOrderUnlessShuffled) {
    TSampleQuest empty;
    empty.Shuffle = true;
    empty.MaxForAnswers = 3;
    EXPECT_EQ(empty.Reset(), 3);
    EXPECT_EQ(empty.Order.GetCount(), 0);

    TSampleQuest question;
    for (int i = 0; i < 4; ++i) {
        question.Answer().Value = u"1";
    }
    question.Shuffle = true;
    question.FreeLayout = true; // free layout ignores Shuffle
    question.Reset();
    EXPECT_EQ(question.Order.Values(), (std::vector<int>{0, 1, 2, 3}));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(question.Answers.GetItem(i).Value, u"");
        EXPECT_FALSE(question.Answers.GetItem(i).Placed);
    }
}

// Replays the shuffle from a seed: draw until an unplaced answer comes up, for every place.
std::vector<int> ReplayShuffle(uint32_t seed, int count, int& draws) {
    std::vector<bool> placed(static_cast<size_t>(count));
    std::vector<int> order;
    draws = 0;
    while (static_cast<int>(order.size()) < count) {
        seed = seed * 134775813u + 1u;
        ++draws;
        const int r = static_cast<int>((uint64_t{seed} * static_cast<uint32_t>(count)) >> 32);
        if (!placed[static_cast<size_t>(r)]) {
            placed[static_cast<size_t>(r)] = true;
            order.push_back(r);
        }
    }
    return order;
}

TEST(Question, ShuffleIsAPermutationDrawnFromTheSharedGenerator) {
    constexpr int count = 7;
    TSampleQuest question;
    question.Shuffle = true;
    for (int i = 0; i < count; ++i) {
        question.Answer();
    }
    std::set<std::vector<int>> seen;
    for (int run = 0; run < 20; ++run) {
        question.Reset();
        const std::vector<int> order = question.Order.Values();
        seen.insert(order);
        for (int i = 0; i < count; ++i) {
            EXPECT_TRUE(question.Answers.GetItem(i).Placed);
        }
        // Walk the generator back from its final seed: some start seed must replay to exactly
        // this order (a permutation by construction) with exactly that many draws.
        constexpr uint32_t inverse = 3645876429u; // 134775813 * inverse = 1 (mod 2^32)
        static_assert(uint32_t{134775813u * inverse} == 1u);
        uint32_t start = TRandom::GetSeed();
        bool replayed = false;
        for (int back = 1; back <= 2000 && !replayed; ++back) {
            start = (start - 1u) * inverse;
            int draws = 0;
            replayed = ReplayShuffle(start, count, draws) == order && draws == back;
        }
        EXPECT_TRUE(replayed) << "order does not follow the generator's draws";
    }
    EXPECT_GT(seen.size(), 1u); // every Reset reseeds from the clock
}

} // namespace
} // namespace stellik::testing
