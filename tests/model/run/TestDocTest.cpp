// The test document: building with position shifting, run control, clock and totals.
#include "RunKit.h"

#include "model/XmlChars.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <span>

namespace stellik::testing {
namespace {

std::vector<int> Values(const TIntegerList& list) {
    return list.Values();
}

TEST(TestDocBuilding, InsertingAQuestionShiftsEveryStoredPosition) {
    TTestDoc doc;
    for (int i = 0; i < 3; ++i) {
        AddProbe(doc);
    }
    TSection& section = AddOrderedSection(doc, {0, 2});
    section.GoodPool.Add(1);
    section.MidPool.Add(2);
    section.BadPool.Add(0);
    int changes = 0;
    section.AllPool.OnChange = [&changes](TIntegerList&) { ++changes; };
    TTestMessage* questionMsg = doc.AddMessage(-1);
    questionMsg->TargetClass = TTargetClass::Question;
    for (int id : {0, 1, 2}) {
        questionMsg->Ids.Add(id);
    }
    TTestMessage* sectionMsg = doc.AddMessage(-1);
    sectionMsg->TargetClass = TTargetClass::Section;
    sectionMsg->Ids.Add(1);
    EXPECT_EQ(questionMsg->Owner, &doc);

    RegisterProbeKind();
    TQuestion* inserted = doc.AddQuestion(TProbeQuest::KindCode, 1);
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(&doc.Questions.GetItem(1), inserted);
    for (int i = 0; i < doc.Questions.GetCount(); ++i) {
        EXPECT_EQ(doc.Questions.GetItem(i).Index, i);
    }
    EXPECT_EQ(Values(section.AllPool), (std::vector<int>{0, 3}));
    EXPECT_EQ(Values(section.GoodPool), (std::vector<int>{2}));
    EXPECT_EQ(Values(section.MidPool), (std::vector<int>{3}));
    EXPECT_EQ(Values(section.BadPool), (std::vector<int>{0}));
    EXPECT_EQ(changes, 1); // only the entry that moved went through the setter
    EXPECT_EQ(Values(questionMsg->Ids), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(Values(sectionMsg->Ids), (std::vector<int>{1}));

    TSection* front = doc.AddSection(0);
    EXPECT_EQ(front->Index, 0);
    EXPECT_EQ(section.Index, 1);
    EXPECT_EQ(Values(sectionMsg->Ids), (std::vector<int>{2}));
    EXPECT_EQ(Values(questionMsg->Ids), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(Values(section.AllPool), (std::vector<int>{0, 3}));
    EXPECT_EQ(front->AllQuestions, &doc.Questions);

    TTestMessage* firstMsg = doc.AddMessage(0);
    EXPECT_EQ(&doc.Messages.GetItem(0), firstMsg);
    EXPECT_EQ(Values(sectionMsg->Ids), (std::vector<int>{2})); // messages shift nothing
}

TEST(TestDocBuilding, RefusedAdditionsChangeNothing) {
    TTestDoc doc;
    AddProbe(doc);
    EXPECT_EQ(doc.AddQuestion(12345, -1), nullptr);
    EXPECT_THROW(doc.AddQuestion(TProbeQuest::KindCode, 2), EListError);
    EXPECT_THROW(doc.AddQuestion(TProbeQuest::KindCode, -2), EListError);
    EXPECT_EQ(doc.Questions.GetCount(), 1);
    EXPECT_THROW(doc.AddSection(1), EListError);
    EXPECT_THROW(doc.AddMessage(1), EListError);
    EXPECT_EQ(doc.Sections.GetCount(), 0);
    EXPECT_EQ(doc.Messages.GetCount(), 0);
}

TEST(TestDocBuilding, ClearEmptiesTheTestButKeepsRunSettingsAndOutput) {
    TTestDoc doc;
    AddProbe(doc);
    doc.MarkProfiles.Add(std::make_unique<TMarkProfile>());
    doc.Name = u"n";
    doc.Author = u"a";
    doc.Abstract.push_back(u"x");
    doc.TestTime = 1.0 / 24;
    doc.ShowRight = true;
    doc.StartRun(RunModeStep, 0);
    const TWideStrings output = doc.GetOutput();
    doc.BufferAnswer(u"0", u"0", u"a");
    doc.Clear();
    EXPECT_EQ(doc.Questions.GetCount(), 0);
    EXPECT_EQ(doc.Sections.GetCount(), 0);
    EXPECT_EQ(doc.Messages.GetCount(), 0);
    EXPECT_EQ(doc.MarkProfiles.GetCount(), 0);
    EXPECT_EQ(doc.MarkProfile, nullptr);
    EXPECT_TRUE(doc.Name.empty() && doc.Author.empty() && doc.Abstract.empty());
    EXPECT_EQ(doc.AnswerBuf.GetCount(), 0);
    EXPECT_FALSE(doc.IsRunning());
    EXPECT_TRUE(doc.GetStopReason().empty());
    EXPECT_TRUE(doc.Started);
    EXPECT_TRUE(doc.ShowRight);
    EXPECT_EQ(doc.TestTime, 1.0 / 24);
    EXPECT_EQ(doc.GetOutput(), output);
}

TEST(TestDocRun, TestWithoutSectionsGetsOneDefaultSectionOnce) {
    TTestDoc doc;
    for (int i = 0; i < 4; ++i) {
        AddProbe(doc, i + 1);
    }
    doc.StartRun(RunModeList, 0);
    ASSERT_EQ(doc.Sections.GetCount(), 1);
    const TSection& section = doc.Sections.GetItem(0);
    EXPECT_EQ(Values(section.AllPool), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(section.AllRandom && section.GoodRandom && section.MidRandom && section.BadRandom);
    EXPECT_TRUE(section.Name.empty());
    EXPECT_EQ(section.Questions.size(), 4u);
    EXPECT_EQ(doc.MaxRating, 10);
    doc.StartRun(RunModeStep, 0);
    EXPECT_EQ(doc.Sections.GetCount(), 1);
}

TEST(TestDocRun, ResetHandsOutProfileAndShowRightAndClearsTheLastRun) {
    TTestDoc doc;
    AddProbe(doc, 2);
    AddProbe(doc, 3);
    AddOrderedSection(doc, {0, 1});
    auto profile = std::make_unique<TMarkProfile>();
    const TMarkProfile* first = profile.get();
    doc.MarkProfiles.Add(std::move(profile));
    doc.MarkProfiles.Add(std::make_unique<TMarkProfile>());
    doc.ShowRight = true;
    doc.StartRun(RunModeStep, 0);
    Answer(doc, 0, u"a");
    doc.Stop(u"test-end");
    doc.ShowRight = false;
    doc.StartRun(RunModeStep, 0);
    EXPECT_EQ(doc.MarkProfile, first);
    EXPECT_EQ(doc.Sections.GetItem(0).MarkProfile, first);
    EXPECT_EQ(doc.Questions.GetItem(0).MarkProfile, nullptr);
    EXPECT_FALSE(doc.Questions.GetItem(0).ShowRight);
    EXPECT_FALSE(doc.Questions.GetItem(0).Answered);
    EXPECT_EQ(doc.Questions.GetItem(1).Number, 0); // not shown yet in this run
    EXPECT_EQ(doc.MaxRating, 5);
    EXPECT_EQ(doc.Rating, 0);
    EXPECT_TRUE(doc.IsRunning());
    EXPECT_TRUE(doc.GetStopReason().empty());
}

TEST(TestDocRun, TotalsCountSectionsQuestionsAndPoints) {
    TTestDoc doc;
    for (int i = 0; i < 4; ++i) {
        AddProbe(doc, 2);
    }
    AddOrderedSection(doc, {0, 1});
    AddOrderedSection(doc, {}); // empty: counts as answered
    TSection& last = AddOrderedSection(doc, {2});
    last.MidPool.Add(3);
    doc.StartRun(RunModeList, 1);
    EXPECT_EQ(doc.PlannedQuestions, 4);
    EXPECT_EQ(doc.AnsweredSections, 1);
    doc.BufferAnswer(u"0", u"0", u"a");
    doc.BufferAnswer(u"1", u"0", u"b");
    doc.BufferAnswer(u"3", u"0", u"a");
    doc.SubmitAnswers();
    EXPECT_EQ(doc.AnsweredQuestions, 3);
    EXPECT_EQ(doc.AnsweredSections, 2);
    EXPECT_EQ(doc.Rating, 4);
    EXPECT_EQ(doc.MaxRating, 6); // fixed at level 0, where the last section had one question
    EXPECT_EQ(doc.Percent, 67);
    EXPECT_FALSE(doc.Answered);
}

TEST(TestDocRun, UnknownModeRaisesAndLeavesTheRunAsItWas) {
    TTestDoc doc;
    AddProbe(doc);
    doc.StartRun(RunModeStep, 0);
    Answer(doc, 0, u"a");
    const TWideStrings output = doc.GetOutput();
    const TOutManager* producer = doc.GetOutManager();
    try {
        doc.StartRun(3, 0);
        FAIL() << "mode 3 accepted";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Unknown run mode 3 (0 step, 1 list, 2 step with messages)");
    }
    EXPECT_EQ(doc.GetOutManager(), producer);
    EXPECT_EQ(doc.GetOutput(), output);
    EXPECT_FALSE(doc.IsRunning());
    EXPECT_EQ(doc.GetStopReason(), u"test-end");
    EXPECT_TRUE(doc.Questions.GetItem(0).Answered);
}

TEST(TestDocRun, AProducerThatRaisesLeavesTheDocumentAndItsPageAsTheyWere) {
    for (uint8_t mode : {RunModeStep, RunModeStepMsg}) {
        SCOPED_TRACE(int(mode));
        TTestDoc doc;
        AddProbe(doc);
        AddProbe(doc);
        AddOrderedSection(doc, {0, 1});
        doc.StartRun(mode, 0); // the page stands in the run document from now on
        const TWideStrings output = doc.GetOutput();
        const std::span<const std::u16string> shown = doc.GetOutManager()->GetPage();
        const TWideStrings page(shown.begin(), shown.end());
        ASSERT_FALSE(page.empty());

        doc.AddSection(0); // in front of the running section, without questions
        try {
            doc.SkipQuestion();
            FAIL() << "the producer found a question";
        } catch (const EListError& e) {
            EXPECT_STREQ(e.what(), "List index out of bounds (0)");
        }
        EXPECT_EQ(doc.GetOutput(), output);
        const std::span<const std::u16string> after = doc.GetOutManager()->GetPage();
        EXPECT_EQ(TWideStrings(after.begin(), after.end()), page);
        EXPECT_TRUE(doc.IsRunning());
    }
}

TEST(TestDocAnswers, BufferConvertsTheIndexAndKeepsOnlyXmlCharacters) {
    TTestDoc doc; // no run needed to buffer
    doc.BufferAnswer(u" 2", u"1",
                     u"a\x01"
                     u"b\x1F\tc");
    EXPECT_THROW(doc.BufferAnswer(u"2a", u"0", u"x"), EConvertError);
    ASSERT_EQ(doc.AnswerBuf.GetCount(), 1);
    const TAnswerRec& rec = doc.AnswerBuf.GetItem(0);
    EXPECT_EQ(rec.Index, 2);
    EXPECT_EQ(rec.AnswerId, u"1");
    EXPECT_EQ(rec.Value, u"ab\tc");
    EXPECT_THROW(doc.AnswerBuf.GetItem(1), EListError);
}

TEST(TestDocAnswers, DropNonXmlCharsKeepsPairsAndDropsOrphans) {
    const std::u16string pair = u"\xD83D\xDE00";
    EXPECT_EQ(DropNonXmlChars(u"\t\n\r x" + pair), u"\t\n\r x" + pair);
    EXPECT_EQ(DropNonXmlChars(std::u16string(u"a\0b", 3)), u"ab");
    EXPECT_EQ(DropNonXmlChars(u"\xD83D"
                              u"a\xDE00"
                              u"b\xD83D"),
              u"ab");
    EXPECT_EQ(DropNonXmlChars(u"\xFFFE\xFFFF\xFFFD\x7F"), u"\xFFFD\x7F");
}

TEST(TestDocAnswers, LaterValueWinsAndSkipDropsTheBuffer) {
    TTestDoc doc;
    AddProbe(doc);
    AddProbe(doc);
    AddOrderedSection(doc, {0, 1});
    doc.StartRun(RunModeList, 0);
    doc.BufferAnswer(u"0", u"0", u"a");
    doc.BufferAnswer(u"1", u"0", u"a");
    doc.SkipQuestion();
    EXPECT_EQ(doc.AnswerBuf.GetCount(), 0);
    EXPECT_FALSE(doc.Questions.GetItem(0).Answered);
    doc.BufferAnswer(u"0", u"0", u"a");
    doc.BufferAnswer(u"0", u"0", u"b");
    doc.SubmitAnswers();
    EXPECT_EQ(doc.Questions.GetItem(0).Answers.GetItem(0).Value, u"b");
    EXPECT_EQ(doc.Rating, 0);
}

TEST(TestDocAnswers, ForgedQuestionIndexFailsAndKeepsTheBuffer) {
    TTestDoc doc;
    AddProbe(doc);
    AddProbe(doc);
    doc.StartRun(RunModeList, 0);
    const TWideStrings output = doc.GetOutput();
    doc.BufferAnswer(u"0", u"0", u"a");
    doc.BufferAnswer(u"9", u"0", u"a");
    EXPECT_THROW(doc.SubmitAnswers(), EListError);
    EXPECT_EQ(doc.AnswerBuf.GetCount(), 2);
    EXPECT_EQ(doc.GetOutput(), output);
    EXPECT_EQ(doc.Rating, 0); // applied but not yet rated
}

TEST(TestDocAnswers, AfterTheRunIsOverNothingMovesAndTheLastDocumentStands) {
    for (uint8_t mode : {RunModeStep, RunModeList, RunModeStepMsg}) {
        TTestDoc doc;
        AddProbe(doc);
        AddProbe(doc);
        AddOrderedSection(doc, {0});
        AddOrderedSection(doc, {1});
        doc.StartRun(mode, -1);
        doc.BufferAnswer(u"0", u"0", u"a");
        doc.BufferAnswer(u"1", u"0", u"b");
        doc.SubmitAnswers();
        if (doc.IsRunning()) {
            Answer(doc, 1, u"b");
        }
        ASSERT_FALSE(doc.IsRunning()) << int(mode);
        const TWideStrings output = doc.GetOutput();
        const int rating = doc.Rating;
        doc.BufferAnswer(u"1", u"0", u"a");
        EXPECT_NO_THROW(doc.SubmitAnswers());
        doc.BufferAnswer(u"1", u"0", u"a");
        EXPECT_NO_THROW(doc.SkipQuestion());
        EXPECT_NO_THROW(doc.UpdateRating());
        EXPECT_EQ(doc.AnswerBuf.GetCount(), 0);
        EXPECT_EQ(doc.GetOutput(), output);
        EXPECT_EQ(doc.Rating, rating);
        EXPECT_EQ(doc.GetStopReason(), u"test-end");
        EXPECT_FALSE(doc.IsRunning());
    }
}

TEST(TestDocAnswers, BeforeAnyRunTheOperationsLeaveTheDocumentAlone) {
    TTestDoc doc;
    AddProbe(doc);
    doc.BufferAnswer(u"0", u"0", u"a");
    EXPECT_NO_THROW(doc.SubmitAnswers());
    EXPECT_NO_THROW(doc.SkipQuestion());
    doc.Stop(u"test-end");
    doc.Tick();
    doc.WriteRunDocument();
    doc.WriteReport();
    EXPECT_TRUE(doc.GetOutput().empty());
    EXPECT_EQ(doc.AnswerBuf.GetCount(), 0);
    EXPECT_EQ(doc.PassSeconds, 0);
    EXPECT_FALSE(doc.IsRunning());
}

TEST(TestDocStop, StopWritesTheReasonOnlyWhileRunning) {
    TTestDoc doc;
    AddProbe(doc);
    doc.StartRun(RunModeStep, 0);
    doc.Stop(u"test-end");
    EXPECT_FALSE(doc.IsRunning());
    EXPECT_EQ(StopBlock(doc.GetOutput()), TWideStrings{u"<test-end/>"});
    const TWideStrings output = doc.GetOutput();
    doc.Stop(u"time-out");
    EXPECT_EQ(doc.GetStopReason(), u"test-end");
    EXPECT_EQ(doc.GetOutput(), output);
}

class Clock : public ::testing::Test {
protected:
    void Start(TDateTime limit) {
        AddProbe(doc);
        AddProbe(doc);
        doc.TestTime = limit;
        doc.StartRun(RunModeStep, 0);
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            doc.Tick();
        }
    }
    TTestDoc doc;
};

TEST_F(Clock, WithoutLimitOnlyTheTimeUsedGrows) {
    for (TDateTime limit : {0.0, -1.0 / 1440}) {
        doc.Clear();
        Start(limit);
        Ticks(5000);
        EXPECT_TRUE(doc.IsRunning());
        EXPECT_EQ(doc.PassSeconds, 5000);
        EXPECT_DOUBLE_EQ(doc.PassTime, 5000 / 86400.0);
        EXPECT_EQ(doc.LeftTime, limit);
    }
}

TEST_F(Clock, OneMinuteLimitStopsOnTheSixtiethTick) {
    Start(1.0 / 1440);
    Ticks(59);
    EXPECT_TRUE(doc.IsRunning());
    EXPECT_GT(doc.LeftTime, 0);
    doc.Tick();
    EXPECT_FALSE(doc.IsRunning());
    EXPECT_EQ(doc.GetStopReason(), u"time-out");
    EXPECT_EQ(doc.LeftTime, 0);
    EXPECT_EQ(StopBlock(doc.GetOutput()), TWideStrings{u"<time-out/>"});
    Ticks(3);
    EXPECT_EQ(doc.PassSeconds, 60);
}

TEST_F(Clock, LongLimitsStopExactlyOnTheirLastSecond) {
    // Limits as a settings reader may compute them, with the rounding of their day fraction.
    for (int minutes : {4, 5, 13, 45, 600}) {
        doc.Clear();
        Start(minutes * (1.0 / 1440));
        Ticks(minutes * 60 - 1);
        EXPECT_TRUE(doc.IsRunning()) << minutes;
        doc.Tick();
        EXPECT_FALSE(doc.IsRunning()) << minutes;
    }
}

TEST_F(Clock, SubmitAfterTimeOutAppliesNothingButRewritesTheStop) {
    Start(1.0 / 86400);
    doc.Tick();
    ASSERT_FALSE(doc.IsRunning());
    doc.BufferAnswer(u"0", u"0", u"a");
    doc.SubmitAnswers();
    EXPECT_EQ(doc.AnswerBuf.GetCount(), 0);
    EXPECT_TRUE(doc.Questions.GetItem(0).Answers.GetItem(0).Value.empty());
    EXPECT_EQ(StopBlock(doc.GetOutput()), TWideStrings{u"<time-out/>"});
    EXPECT_TRUE(ShownQuestions(doc.GetOutput()).empty());
    EXPECT_FALSE(doc.GetOutManager()->IsFinished());
}

} // namespace
} // namespace stellik::testing
