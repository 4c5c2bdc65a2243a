// The page producers: which question or message each page shows, numbering and levels.
#include "RunKit.h"

#include "model/Messages.h"
#include "model/OutManagers.h"
#include "model/Section.h"
#include "platform/Convert.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

namespace stellik::testing {
namespace {

std::vector<TShown> Shown(const TTestDoc& doc) {
    return ShownQuestions(doc.GetOutput());
}

TEST(OutManagerCreate, ChecksSectionsBeforeMessagesInEveryMode) {
    TMessagesList messages;
    TSectionList sections;
    for (uint8_t mode : {RunModeStep, RunModeList, RunModeStepMsg}) {
        try {
            CreateOutManager(mode, nullptr, nullptr, 0);
            FAIL() << "no exception for mode " << int(mode);
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Not Assigned SectionsRef");
        }
        try {
            CreateOutManager(mode, nullptr, &sections, 0);
            FAIL() << "no exception for mode " << int(mode);
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Not Assigned Messages");
        }
        // No sections at all: a producer that is finished at once and has an empty page.
        auto producer = CreateOutManager(mode, &messages, &sections, 0);
        ASSERT_NE(producer, nullptr);
        EXPECT_TRUE(producer->IsFinished());
        EXPECT_TRUE(producer->GetPage().empty());
        EXPECT_EQ(producer->GetCurrentLevel(), 0);
    }
    EXPECT_EQ(CreateOutManager(3, &messages, &sections, 0), nullptr);
}

class StepRun : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            AddProbe(doc);
        }
        AddOrderedSection(doc, {0, 1, 2});
        doc.StartRun(RunModeStep, 0);
    }
    TTestDoc doc;
};

TEST_F(StepRun, SkipCyclesThroughTheSectionKeepingNumbers) {
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{0, 1}}));
    doc.SkipQuestion();
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{1, 2}}));
    doc.SkipQuestion();
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{2, 3}}));
    doc.SkipQuestion();
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{0, 1}}));
    EXPECT_EQ(doc.GetOutManager()->GetCounter(), 3);
}

TEST_F(StepRun, NextWithoutUsableAnswerShowsTheSameQuestion) {
    Answer(doc, 0, u""); // an empty value does not answer
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{0, 1}}));
    doc.BufferAnswer(u"0", u"7", u"a"); // no answer 7: ignored
    doc.SubmitAnswers();
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{0, 1}}));
    EXPECT_TRUE(doc.IsRunning());
}

TEST_F(StepRun, SkippedQuestionsComeBackAfterTheOpenOnes) {
    doc.SkipQuestion();   // 1
    Answer(doc, 1, u"a"); // -> 2
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{2, 3}}));
    Answer(doc, 2, u"b"); // -> back to 0, skipped at first
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{0, 1}}));
    doc.SkipQuestion(); // the only open question is shown again
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{0, 1}}));
    Answer(doc, 0, u"a");
    EXPECT_FALSE(doc.IsRunning());
    EXPECT_EQ(StopBlock(doc.GetOutput()), TWideStrings{u"<test-end/>"});
}

// Section 1 holds questions 0 and 1; section 2 offers 2 (good), 3 (middle) or 4 (bad).
class AdaptiveRun
    : public ::testing::TestWithParam<std::tuple<std::u16string, std::u16string, int>> {
protected:
    void Build() {
        for (int i = 0; i < 5; ++i) {
            AddProbe(doc);
        }
        AddOrderedSection(doc, {0, 1});
        TSection& second = AddOrderedSection(doc, {});
        second.GoodPool.Add(2);
        second.MidPool.Add(3);
        second.BadPool.Add(4);
    }
    TTestDoc doc;
};

TEST_P(AdaptiveRun, NextSectionFollowsTheResultOfTheLast) {
    const auto& [first, second, level] = GetParam();
    Build();
    doc.StartRun(RunModeStep, -1);
    Answer(doc, 0, first);
    Answer(doc, 1, second);
    EXPECT_EQ(doc.Sections.GetItem(1).Level, level);
    EXPECT_EQ(doc.GetOutManager()->GetCurrentLevel(), level);
    ASSERT_EQ(Shown(doc).size(), 1u);
    EXPECT_EQ(Shown(doc)[0].Id, 2 + level);
    EXPECT_EQ(Shown(doc)[0].Number, 3);
}

INSTANTIATE_TEST_SUITE_P(GoodMiddleBad, AdaptiveRun,
                         ::testing::Values(std::make_tuple(u"a", u"a", 0),
                                           std::make_tuple(u"a", u"b", 1),
                                           std::make_tuple(u"b", u"b", 2)));

TEST_F(AdaptiveRun, FixedLevelHoldsWhateverTheResults) {
    Build();
    doc.StartRun(RunModeStepMsg, 1);
    EXPECT_EQ(doc.Sections.GetItem(0).Level, 1);
    Answer(doc, 0, u"a");
    Answer(doc, 1, u"a");
    EXPECT_EQ(doc.Sections.GetItem(1).Level, 1);
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{3, 3}}));
}

TEST_F(AdaptiveRun, EmptyMiddleSectionIsPassedOverAndHandsOnTheLevel) {
    for (int i = 0; i < 4; ++i) {
        AddProbe(doc);
    }
    AddOrderedSection(doc, {0});
    AddOrderedSection(doc, {}).GoodPool.Add(1); // nothing at the bad level
    TSection& third = AddOrderedSection(doc, {});
    third.BadPool.Add(2);
    third.GoodPool.Add(3);
    doc.StartRun(RunModeStep, -1);
    Answer(doc, 0, u"b");
    EXPECT_EQ(doc.Sections.GetItem(1).Level, 2);
    EXPECT_TRUE(doc.Sections.GetItem(1).Questions.empty());
    EXPECT_EQ(doc.Sections.GetItem(2).Level, 2);
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{2, 2}}));
}

TEST(StepModes, FirstSectionWithoutQuestionsEndsTheRunAtOnce) {
    for (uint8_t mode : {RunModeStep, RunModeStepMsg}) {
        TTestDoc doc;
        AddProbe(doc);
        AddOrderedSection(doc, {});
        AddOrderedSection(doc, {0});
        doc.StartRun(mode, 0);
        EXPECT_TRUE(doc.GetOutManager()->IsFinished());
        EXPECT_FALSE(doc.IsRunning());
        EXPECT_EQ(doc.GetStopReason(), u"test-end");
        EXPECT_EQ(StopBlock(doc.GetOutput()), TWideStrings{u"<test-end/>"});
        EXPECT_TRUE(Shown(doc).empty());
    }
}

class StepMsgRun : public ::testing::Test {
protected:
    void SetUp() override {
        AddProbe(doc);
        AddProbe(doc);
        AddOrderedSection(doc, {0, 1});
    }
    void AddMessage(TTargetClass target, const std::u16string& text) {
        TTestMessage* message = doc.AddMessage(-1);
        message->TargetClass = target;
        message->Text = text;
    }
    bool ShowsMessage(const std::u16string& text) const {
        return doc.GetOutput().size() > 3 && HasLine(doc.GetOutput(), u"<message-out>") &&
               HasLine(doc.GetOutput(), text) && Shown(doc).empty();
    }
    TTestDoc doc;
};

TEST_F(StepMsgRun, WithoutFittingMessagesPagesAreThoseOfStepMode) {
    AddMessage(TTargetClass::Question, u"only for good");
    doc.Messages.GetItem(0).States.Add(0);
    doc.StartRun(RunModeStepMsg, 0);
    EXPECT_EQ(doc.GetOutput()[1], u"<test-out mode=\"stepmsg\">");
    Answer(doc, 0, u"b"); // bad: the message does not fit
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{1, 2}}));
    Answer(doc, 1, u"b");
    EXPECT_FALSE(doc.IsRunning()); // neither message: the run ends at once
    EXPECT_EQ(StopBlock(doc.GetOutput()), TWideStrings{u"<test-end/>"});
}

TEST_F(StepMsgRun, QuestionThenSectionMessageBeforeTheRunEnds) {
    AddMessage(TTargetClass::Question, u"<b>question</b>");
    AddMessage(TTargetClass::Section, u"section");
    doc.StartRun(RunModeStepMsg, 0);
    Answer(doc, 0, u"a");
    EXPECT_TRUE(ShowsMessage(u"<b>question</b>"));
    doc.SubmitAnswers(); // next on a message page
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{1, 2}}));
    Answer(doc, 1, u"a");
    EXPECT_TRUE(ShowsMessage(u"<b>question</b>"));
    doc.SkipQuestion(); // skip on a message page acts as next
    EXPECT_TRUE(ShowsMessage(u"section"));
    EXPECT_TRUE(doc.IsRunning());
    doc.SubmitAnswers();
    EXPECT_FALSE(doc.IsRunning());
    EXPECT_EQ(StopBlock(doc.GetOutput()), TWideStrings{u"<test-end/>"});
}

// Every section of the test shows its message when finished, not only the first one.
TEST(StepMsgSections, EachFinishedSectionShowsItsOwnMessage) {
    TTestDoc doc;
    for (int i = 0; i < 3; ++i) {
        AddProbe(doc);
        AddOrderedSection(doc, {i});
        TTestMessage* message = doc.AddMessage(-1);
        message->TargetClass = TTargetClass::Section;
        message->Text = u"section " + IntToStrW(i);
        message->Ids.Add(i);
    }
    doc.StartRun(RunModeStepMsg, 0);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(Shown(doc), (std::vector<TShown>{{i, i + 1}}));
        Answer(doc, i, u"a");
        EXPECT_TRUE(HasLine(doc.GetOutput(), u"<message-out>"));
        EXPECT_TRUE(HasLine(doc.GetOutput(), u"section " + IntToStrW(i)));
        ASSERT_TRUE(doc.IsRunning());
        doc.SubmitAnswers();
    }
    EXPECT_FALSE(doc.IsRunning());
}

class ListRun : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            AddProbe(doc);
        }
        AddOrderedSection(doc, {0, 1});
        AddOrderedSection(doc, {2});
        doc.StartRun(RunModeList, 0);
    }
    TTestDoc doc;
};

TEST_F(ListRun, PageShrinksToTheOpenQuestionsWithNumbersKept) {
    EXPECT_EQ(doc.GetOutput()[1], u"<test-out mode=\"list\">");
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{0, 1}, {1, 2}, {2, 3}}));
    Answer(doc, 1, u"b");
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{0, 1}, {2, 3}}));
    doc.SkipQuestion(); // the same page: nothing applied, nothing moves
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{0, 1}, {2, 3}}));
    Answer(doc, 0, u"a");
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{2, 3}}));
    EXPECT_FALSE(HasLine(doc.GetOutput(), u"<section-out number=\"1\" id=\"0\" >"));
    EXPECT_TRUE(HasLine(doc.GetOutput(), u"<section-out number=\"2\" id=\"1\" >"));
    Answer(doc, 2, u"a");
    EXPECT_FALSE(doc.IsRunning());
    EXPECT_EQ(StopBlock(doc.GetOutput()), TWideStrings{u"<test-end/>"});
}

TEST_F(ListRun, SeveralAnswersInOneSubmit) {
    doc.BufferAnswer(u"0", u"0", u"a");
    doc.BufferAnswer(u"2", u"0", u"a");
    doc.SubmitAnswers();
    EXPECT_EQ(Shown(doc), (std::vector<TShown>{{1, 2}}));
}

TEST(ListModes, LevelIsFixedAndAdaptiveMeansGood) {
    for (int level : {-1, 2}) {
        TTestDoc doc;
        for (int i = 0; i < 4; ++i) {
            AddProbe(doc);
        }
        for (int s = 0; s < 2; ++s) {
            TSection& section = AddOrderedSection(doc, {});
            section.GoodPool.Add(2 * s);
            section.BadPool.Add(2 * s + 1);
        }
        doc.StartRun(RunModeList, level);
        const int expected = level == -1 ? 0 : level;
        EXPECT_EQ(doc.Sections.GetItem(0).Level, expected);
        EXPECT_EQ(doc.Sections.GetItem(1).Level, expected);
        EXPECT_EQ(doc.GetOutManager()->GetCurrentLevel(), expected);
        const int offset = level == -1 ? 0 : 1;
        EXPECT_EQ(Shown(doc), (std::vector<TShown>{{offset, 1}, {2 + offset, 2}}));
    }
}

TEST(FinishedProducer, NextChangesNothingAndLevelStaysReadable) {
    for (uint8_t mode : {RunModeStep, RunModeList, RunModeStepMsg}) {
        TTestDoc doc;
        AddProbe(doc);
        AddOrderedSection(doc, {0});
        doc.StartRun(mode, 2);
        Answer(doc, 0, u"a");
        ASSERT_TRUE(doc.GetOutManager()->IsFinished()) << int(mode);
        EXPECT_EQ(doc.GetOutManager()->GetCurrentLevel(), 2); // no section past the end is read

        // A producer of its own over the answered test, driven to its end and past it.
        const auto producer = CreateOutManager(mode, &doc.Messages, &doc.Sections, 2);
        for (int step = 0; step < 4 && !producer->IsFinished(); ++step) {
            producer->Next(false);
        }
        ASSERT_TRUE(producer->IsFinished()) << int(mode);
        const std::span<const std::u16string> last = producer->GetPage();
        const TWideStrings page(last.begin(), last.end());
        producer->Next(false);
        producer->Next(true);
        EXPECT_TRUE(producer->IsFinished());
        EXPECT_TRUE(std::ranges::equal(producer->GetPage(), page));
        EXPECT_EQ(producer->GetCurrentLevel(), 2);
    }
}

} // namespace
} // namespace stellik::testing
