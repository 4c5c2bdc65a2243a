// Rating after an answer goes over what the answer changed only, with the result of rating
// everything afresh.
#include "RunKit.h"

#include "model/QuestionManager.h"
#include "platform/Convert.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace stellik::testing {
namespace {

// Every rating field of every question, section and the test, one line each.
std::vector<std::string> Ratings(const TTestDoc& doc) {
    std::vector<std::string> lines;
    const auto add = [&lines](const char* kind, int index, const TTestObject& object, int a, int b,
                              int c) {
        std::ostringstream line;
        line << kind << ' ' << index << ": rating " << object.Rating << " of " << object.MaxRating
             << ", " << object.Percent << "%, answered " << object.Answered << ", mark '"
             << std::string(object.Mark.begin(), object.Mark.end()) << "', " << a << ' ' << b << ' '
             << c;
        lines.push_back(line.str());
    };
    for (int i = 0; i < doc.Questions.GetCount(); ++i) {
        add("question", i, doc.Questions.GetItem(i), 0, 0, 0);
    }
    for (int i = 0; i < doc.Sections.GetCount(); ++i) {
        const TSection& section = doc.Sections.GetItem(i);
        add("section", i, section, section.GetAnsweredCount(),
            static_cast<int>(section.Questions.size()), section.Level);
    }
    add("test", 0, doc, doc.AnsweredQuestions, doc.AnsweredSections, doc.PlannedQuestions);
    return lines;
}

// The run document without the start date and time, which two runs need not share.
TWideStrings WithoutBegin(const TWideStrings& lines) {
    TWideStrings kept;
    bool inBegin = false;
    for (const std::u16string& line : lines) {
        inBegin = inBegin ? line != u"</begin>" : line == u"<begin>";
        if (!inBegin && line != u"</begin>") {
            kept.push_back(line);
        }
    }
    return kept;
}

// Forty questions of three kinds (some with fixed points, some with negative points), five
// sections whose pools of every level overlap and repeat entries, with requested counts; a
// mark profile and messages for the step-with-messages mode. Nothing is shuffled, so the same
// seed builds the same test with the same selections.
void BuildMixedTest(TTestDoc& doc, unsigned seed) {
    RegisterQuestionKinds();
    std::mt19937 random(seed);
    const auto draw = [&random](int below) { return static_cast<int>(random() % below); };
    const int count = 40;
    for (int i = 0; i < count; ++i) {
        if (i % 3 == 0) {
            AddProbe(doc, draw(4) - 1);
            continue;
        }
        TQuestion* question = doc.AddQuestion(i % 3 == 1 ? 0 : 1, -1); // single or check
        question->QuestionPoints = draw(3) == 0 ? 3 : -1;
        for (int a = 0; a < 3; ++a) {
            question->AddAnswer()->Points = draw(4) - 1;
        }
    }
    for (int s = 0; s < 5; ++s) {
        TSection* section = doc.AddSection(-1);
        for (TIntegerList* pool :
             {&section->AllPool, &section->GoodPool, &section->MidPool, &section->BadPool}) {
            for (int n = draw(6); n > 0; --n) {
                pool->Add(draw(count));
            }
        }
        section->AllRequested = draw(4);
        section->GoodRequested = draw(3);
        section->MidRequested = draw(3);
        section->BadRequested = draw(3);
        section->AllRandom = section->GoodRandom = section->MidRandom = section->BadRandom = false;
    }
    auto profile = std::make_unique<TMarkProfile>();
    profile->DefaultMark = u"2";
    profile->Elements.Add(50, u"3");
    profile->Elements.Add(75, u"4");
    doc.MarkProfiles.Add(std::move(profile));
    for (TTargetClass target : {TTargetClass::Question, TTargetClass::Section}) {
        TTestMessage* message = doc.AddMessage(-1);
        message->TargetClass = target;
        message->Text = u"well done";
        message->States.Add(ResultGood);
    }
}

// One random step of a user, or of a forged form: answers to questions shown or not, right,
// wrong or empty values; next, skip, the clock, a stop. Done alike to both tests; the second
// rates everything afresh every time.
void RandomStep(TTestDoc& doc, TTestDoc& afresh, std::mt19937& random) {
    const auto draw = [&random](int below) { return static_cast<int>(random() % below); };
    const auto both = [&](auto&& operation) {
        operation(doc);
        afresh.InvalidateRatings();
        operation(afresh);
    };
    const int action = draw(10);
    if (action < 6) {
        const std::vector<TShown> shown = ShownQuestions(doc.GetOutput());
        for (int n = 1 + draw(3); n > 0; --n) {
            const int index =
                !shown.empty() && draw(4) != 0
                    ? shown[static_cast<size_t>(draw(static_cast<int>(shown.size())))].Id
                    : draw(doc.Questions.GetCount());
            const std::u16string answerId =
                IntToStrW(draw(doc.Questions.GetItem(index).Answers.GetCount()));
            const char16_t* values[] = {u"1", u"a", u"b", u""};
            const std::u16string value = values[draw(4)];
            for (TTestDoc* each : {&doc, &afresh}) {
                each->BufferAnswer(IntToStrW(index), answerId, value);
            }
        }
        both([](TTestDoc& d) { d.SubmitAnswers(); });
    } else if (action < 8) {
        both([](TTestDoc& d) { d.SkipQuestion(); });
    } else if (action < 9) {
        both([](TTestDoc& d) { d.Tick(); });
    } else if (draw(8) == 0) {
        both([](TTestDoc& d) { d.Stop(u"test-end"); });
    }
}

TEST(IncrementalRating, RandomRunsRateAsEverythingAfresh) {
    for (uint8_t mode : {RunModeStep, RunModeList, RunModeStepMsg}) {
        for (int level : {-1, 0, 1, 2}) {
            for (unsigned seed = 1; seed <= 3; ++seed) {
                const unsigned testSeed = seed * 97 + mode * 7 + static_cast<unsigned>(level + 1);
                TTestDoc doc, afresh;
                BuildMixedTest(doc, testSeed);
                BuildMixedTest(afresh, testSeed);
                std::mt19937 random(testSeed);
                for (int run = 0; run < 2; ++run) { // the second run reuses every object
                    for (TTestDoc* each : {&doc, &afresh}) {
                        each->TestTime = 40 / SecondsPerDay;
                        each->StartRun(mode, level);
                    }
                    for (int step = 0; step < 80 && doc.IsRunning(); ++step) {
                        RandomStep(doc, afresh, random);
                        const std::string where =
                            "mode " + std::to_string(mode) + " level " + std::to_string(level) +
                            " seed " + std::to_string(seed) + " run " + std::to_string(run) +
                            " step " + std::to_string(step);
                        ASSERT_EQ(Ratings(doc), Ratings(afresh)) << where;
                        ASSERT_EQ(WithoutBegin(doc.GetOutput()), WithoutBegin(afresh.GetOutput()))
                            << where;
                    }
                }
            }
        }
    }
}

TEST(IncrementalRating, AnAnswerRatesOnlyTheQuestionsItAnswers) {
    for (uint8_t mode : {RunModeStep, RunModeList, RunModeStepMsg}) {
        SCOPED_TRACE(int(mode));
        TTestDoc doc;
        for (int i = 0; i < 400; ++i) {
            AddProbe(doc);
        }
        std::vector<int> first(200), second(200);
        for (int i = 0; i < 200; ++i) {
            first[static_cast<size_t>(i)] = i;
            second[static_cast<size_t>(i)] = 200 + i;
        }
        AddOrderedSection(doc, first);
        AddOrderedSection(doc, second);
        doc.StartRun(mode, 0);
        ResetProbeRatingCount();
        Answer(doc, 0, u"a");
        EXPECT_EQ(ProbeRatingCount(), 1);
        doc.BufferAnswer(u"1", u"0", u"b");
        doc.BufferAnswer(u"1", u"0", u"a");
        doc.BufferAnswer(u"250", u"0", u"a");
        doc.SubmitAnswers();
        EXPECT_EQ(ProbeRatingCount(), 3);
        doc.SkipQuestion();
        doc.Stop(u"test-end");
        EXPECT_EQ(ProbeRatingCount(), 3);
        EXPECT_EQ(doc.Rating, 3);
        EXPECT_EQ(doc.AnsweredQuestions, 3);
        EXPECT_EQ(doc.Sections.GetItem(1).Rating, 1);
    }
}

// Section and test totals are exact sums held at the ends of the 32-bit range, whatever order
// the answers come in.
TEST(IncrementalRating, TotalsAreExactSumsHeldToThirtyTwoBits) {
    TTestDoc doc;
    AddProbe(doc, INT_MAX);
    AddProbe(doc, INT_MAX);
    AddProbe(doc, -5);
    AddOrderedSection(doc, {0, 1, 2});
    doc.StartRun(RunModeList, 0);
    EXPECT_EQ(doc.MaxRating, INT_MAX);
    Answer(doc, 0, u"a");
    Answer(doc, 1, u"a");
    Answer(doc, 2, u"a"); // 2 * INT_MAX - 5, not INT_MAX - 5
    EXPECT_EQ(doc.Sections.GetItem(0).Rating, INT_MAX);
    EXPECT_EQ(doc.Rating, INT_MAX);
    EXPECT_EQ(doc.Percent, 100);
}

} // namespace
} // namespace stellik::testing
