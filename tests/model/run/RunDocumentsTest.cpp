// The run and report documents: their lines, and that they are XML as the shell saves them.
#include "RunKit.h"
#include "XmlCheck.h"

#include "model/QuestionManager.h"
#include "model/TextUtils.h"
#include "platform/Convert.h"
#include "platform/Unicode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

namespace stellik::testing {
namespace {

TWideStrings Lines(std::initializer_list<const char16_t*> items) {
    return TWideStrings(items.begin(), items.end());
}

TEST(DateAndTime, EveryPartHasTwoDigitsAndItsOwnLine) {
    TWideStrings lines;
    const TDateTime when = EncodeDate(2024, 3, 5) + EncodeTime(9, 7, 3);
    TTestDoc::WriteDate(u"date", lines, when);
    TTestDoc::WriteTime(u"time", lines, when);
    EXPECT_EQ(lines, Lines({u"<date>",   u"<day>",  u"05",      u"</day>",  u"<month>", u"03",
                            u"</month>", u"<year>", u"2024",    u"</year>", u"</date>", u"<time>",
                            u"<hour>",   u"09",     u"</hour>", u"<min>",   u"07",      u"</min>",
                            u"<sec>",    u"03",     u"</sec>",  u"</time>"}));
    lines.clear();
    TTestDoc::WriteDate(u"d", lines, EncodeDate(987, 12, 31));
    EXPECT_EQ(lines[2], u"31");
    EXPECT_EQ(lines[5], u"12");
    EXPECT_EQ(lines[8], u"987");
    lines.clear();
    TTestDoc::WriteTime(u"total", lines, 25.0 / 24); // whole days are dropped
    EXPECT_EQ(lines, Lines({u"<total>", u"<hour>", u"01", u"</hour>", u"<min>", u"00", u"</min>",
                            u"<sec>", u"00", u"</sec>", u"</total>"}));
}

class RunDocument : public ::testing::Test {
protected:
    void Start(uint8_t mode, TDateTime limit = 0) {
        AddProbe(doc, 2);
        AddProbe(doc, 2);
        AddOrderedSection(doc, {0, 1}).Name = u"S<1>";
        AddOrderedSection(doc, {}); // no questions, still counted
        doc.TestTime = limit;
        doc.StartRun(mode, 0);
    }
    XmlDocPtr Parsed() const {
        XmlDocPtr parsed = ParseLines(doc.GetOutput());
        EXPECT_NE(parsed, nullptr) << "not well-formed";
        return parsed;
    }
    std::string Text(const std::string& path) const { return XPathText(Parsed().get(), path); }
    TTestDoc doc;
};

TEST_F(RunDocument, FrameAndSummaryLineByLine) {
    auto profile = std::make_unique<TMarkProfile>();
    profile->DefaultMark = u"A&B";
    doc.MarkProfiles.Add(std::move(profile));
    Start(RunModeStep);
    const TWideStrings& out = doc.GetOutput();
    ASSERT_GT(out.size(), 60u);
    EXPECT_EQ(out[0], u"<?xml version=\"1.0\" encoding=\"utf-16\" ?>");
    EXPECT_EQ(out[1], u"<test-out mode=\"step\">");
    EXPECT_EQ(out[2], u"<summary>");
    EXPECT_EQ(out[3], u"<begin>");
    const TWideStrings tail(out.begin() + 27, out.begin() + 59);
    EXPECT_EQ(tail, Lines({u"<sections>",   u"<count>",  u"2",           u"</count>",
                           u"<answered>",   u"1",        u"</answered>", u"</sections>",
                           u"<questions>",  u"<count>",  u"2",           u"</count>",
                           u"<answered>",   u"0",        u"</answered>", u"</questions>",
                           u"<test-time>",  u"<pass>",   u"<hour>",      u"00",
                           u"</hour>",      u"<min>",    u"00",          u"</min>",
                           u"<sec>",        u"00",       u"</sec>",      u"</pass>",
                           u"</test-time>", u"<rating>", u"<max>",       u"4"}));
    EXPECT_TRUE(HasLine(out, u"A&amp;B"));
    EXPECT_EQ(out.back(), u"</test-out>");
    EXPECT_TRUE(doc.IsRunning());
    EXPECT_EQ(ShownQuestions(out), (std::vector<TShown>{{0, 1}}));

    XmlDocPtr parsed = Parsed();
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(XPathText(parsed.get(), "/test-out/summary/mark"), "A&B");
    EXPECT_EQ(XPathText(parsed.get(), "/test-out/summary/rating/in-percent"), "0");
    EXPECT_EQ(XPathText(parsed.get(), "/test-out/section-out/section-name"), "S<1>");
    EXPECT_EQ(XPathNumber(parsed.get(), "count(/test-out/test-stop)"), 0);
    const TDateParts today = DecodeDate(doc.StartTime);
    EXPECT_EQ(XPathText(parsed.get(), "/test-out/summary/begin/date/year"),
              std::to_string(today.Year));
}

TEST_F(RunDocument, ThirtyMinuteLimitAfterSeventyFiveSeconds) {
    Start(RunModeStep, 30.0 / 1440);
    for (int i = 0; i < 75; ++i) {
        doc.Tick();
    }
    doc.SkipQuestion(); // any run operation rewrites the document
    XmlDocPtr parsed = Parsed();
    ASSERT_NE(parsed, nullptr);
    const std::string times = "/test-out/summary/test-time/";
    EXPECT_EQ(XPathText(parsed.get(), times + "total"), "00 30 00");
    EXPECT_EQ(XPathText(parsed.get(), times + "pass"), "00 01 15");
    EXPECT_EQ(XPathText(parsed.get(), times + "left"), "00 28 45");
    EXPECT_EQ(XPathNumber(parsed.get(), "count(" + times + "*)"), 3);
}

TEST_F(RunDocument, FinishingSubmitCarriesTheFinalSummaryAndTestEnd) {
    Start(RunModeStep);
    Answer(doc, 0, u"a");
    Answer(doc, 1, u"b");
    EXPECT_FALSE(doc.IsRunning());
    XmlDocPtr parsed = Parsed();
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(XPathNumber(parsed.get(), "count(/test-out/test-stop/test-end)"), 1);
    EXPECT_EQ(XPathText(parsed.get(), "/test-out/summary/rating/current"), "2");
    EXPECT_EQ(XPathText(parsed.get(), "/test-out/summary/questions/answered"), "2");
    EXPECT_EQ(XPathText(parsed.get(), "/test-out/summary/sections/answered"), "2");
    EXPECT_EQ(XPathNumber(parsed.get(), "count(//question-out)"), 0);
}

TEST_F(RunDocument, TimeOutShowsTheStopInsteadOfThePage) {
    Start(RunModeList, 2.0 / 86400);
    doc.Tick();
    doc.Tick();
    EXPECT_FALSE(doc.GetOutManager()->GetPage().empty());
    XmlDocPtr parsed = Parsed();
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(XPathNumber(parsed.get(), "count(/test-out/test-stop/time-out)"), 1);
    EXPECT_EQ(XPathNumber(parsed.get(), "count(//section-out)"), 0);
    EXPECT_EQ(XPathText(parsed.get(), "/test-out/summary/test-time/left"), "00 00 00");
}

TEST_F(RunDocument, ReportDuringTheRunHasAnEmptyStopReasonAndOnlyAnsweredQuestions) {
    Start(RunModeList);
    doc.WriteReport();
    const TWideStrings& out = doc.GetOutput();
    EXPECT_EQ(out[1], u"<test-out mode=\"report\">");
    EXPECT_EQ(TWideStrings(out.begin() + 2, out.begin() + 6),
              Lines({u"<test-stop-reason>", u"", u"</test-stop-reason>", u"<summary>"}));
    EXPECT_TRUE(ShownQuestions(out).empty()); // nothing answered: summary, no section
    EXPECT_FALSE(HasLine(out, u"<section-out number=\"1\" id=\"0\" >"));
    ASSERT_NE(Parsed(), nullptr);

    Answer(doc, 1, u"a<&>\"");
    doc.ShowRight = true;
    doc.WriteReport();
    EXPECT_TRUE(doc.Questions.GetItem(1).ShowRight);
    EXPECT_EQ(ShownQuestions(doc.GetOutput()), (std::vector<TShown>{{1, 2}}));
    XmlDocPtr parsed = Parsed();
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(XPathNumber(parsed.get(), "count(/test-out/section-out)"), 1);
    EXPECT_EQ(XPathText(parsed.get(), "//answ-output[@owner-id='1']"), "a<&>\"");
    EXPECT_EQ(XPathText(parsed.get(), "//answ-output[@owner-id='1']/@right"), "a");
}

TEST_F(RunDocument, ReportAfterAStopCarriesItsReason) {
    Start(RunModeStep);
    TTestDoc fresh;
    AddProbe(fresh);
    fresh.WriteReport(); // never run: nothing written
    EXPECT_TRUE(fresh.GetOutput().empty());
    doc.Stop(u"test-end");
    doc.WriteReport();
    EXPECT_EQ(doc.GetOutput()[3], u"test-end");
    ASSERT_NE(Parsed(), nullptr);
}

// The producer writes its page into the run document itself: no copy of a page of many
// questions. The document stays whole when its head changes length (a mark appears), when it is
// written again, around a report, and when the run stops.
TEST(PageInPlace, ListPageStandsInTheRunDocumentItself) {
    TTestDoc doc;
    for (int i = 0; i < 4; ++i) {
        AddProbe(doc);
    }
    AddOrderedSection(doc, {0, 1, 2, 3});
    auto profile = std::make_unique<TMarkProfile>();
    profile->Elements.Add(50, u"pass"); // no mark below 50 percent
    doc.MarkProfiles.Add(std::move(profile));
    // The page's lines are those of the document between the summary and the closing tag.
    const auto expectInPlace = [&doc](const std::vector<TShown>& shown) {
        const std::span<const std::u16string> page = doc.GetOutManager()->GetPage();
        const TWideStrings& out = doc.GetOutput();
        ASSERT_FALSE(page.empty());
        ASSERT_GE(page.data(), out.data() + 1);
        ASSERT_EQ(page.data() + page.size(), out.data() + out.size() - 1);
        EXPECT_EQ(page.data()[-1], u"</summary>");
        EXPECT_EQ(out.back(), u"</test-out>");
        EXPECT_NE(ParseLines(out), nullptr);
        EXPECT_EQ(ShownQuestions(out), shown);
    };

    doc.StartRun(RunModeList, 0);
    expectInPlace({{0, 1}, {1, 2}, {2, 3}, {3, 4}});
    EXPECT_FALSE(HasLine(doc.GetOutput(), u"<mark>"));
    Answer(doc, 0, u"a");
    expectInPlace({{1, 2}, {2, 3}, {3, 4}});
    Answer(doc, 1, u"a"); // 50 percent: the head grows by the mark
    expectInPlace({{2, 3}, {3, 4}});
    EXPECT_TRUE(HasLine(doc.GetOutput(), u"pass"));
    const TWideStrings written = doc.GetOutput();
    doc.WriteRunDocument();
    EXPECT_EQ(doc.GetOutput(), written);

    doc.WriteReport(); // written over the page, which the producer keeps
    EXPECT_EQ(doc.GetOutput()[1], u"<test-out mode=\"report\">");
    EXPECT_EQ(ShownQuestions(doc.GetOutput()), (std::vector<TShown>{{0, 1}, {1, 2}}));
    EXPECT_EQ(ShownQuestions(TWideStrings(doc.GetOutManager()->GetPage().begin(),
                                          doc.GetOutManager()->GetPage().end())),
              (std::vector<TShown>{{2, 3}, {3, 4}}));
    doc.WriteRunDocument();
    EXPECT_EQ(doc.GetOutput(), written);
    doc.SkipQuestion();
    expectInPlace({{2, 3}, {3, 4}});

    doc.Stop(u"test-end");
    EXPECT_EQ(StopBlock(doc.GetOutput()), TWideStrings{u"<test-end/>"});
    EXPECT_TRUE(ShownQuestions(doc.GetOutput()).empty());
    EXPECT_EQ(ShownQuestions(TWideStrings(doc.GetOutManager()->GetPage().begin(),
                                          doc.GetOutManager()->GetPage().end())),
              (std::vector<TShown>{{2, 3}, {3, 4}}));
}

// Every kind of the system and every mode, with typed values that no XML document may hold.
TEST(WellFormed, EveryDocumentParsesWhateverWasTyped) {
    RegisterQuestionKinds();
    const std::u16string nasty = u"<x>&\"\x01\x08\x0B\x1F\xD800\xFFFE\xFFFF\xDFFF"
                                 u"y\xD83D\xDE00";
    const std::string kept = Utf16ToUtf8(u"<x>&\"y\xD83D\xDE00");
    for (uint8_t mode : {RunModeStep, RunModeList, RunModeStepMsg}) {
        TTestDoc doc;
        for (int kind : {0, 1, 2, 3, 4}) {
            TQuestion* question = doc.AddQuestion(kind, -1);
            ASSERT_NE(question, nullptr) << kind;
            question->Content.AddText(u"<p>question</p>");
            for (int a = 0; a < 2; ++a) {
                TAnswer* answer = question->AddAnswer();
                answer->Points = 1;
                answer->Text = u"<i>answer</i>";
                answer->SetRight(kind == 3 ? u"1..5" : kind == 4 ? u"A&B" : u"y");
            }
        }
        TSection& section = AddOrderedSection(doc, {0, 1, 2, 3, 4});
        section.Name = u"Раздел \"1\" & <2>";
        TTestMessage* message = doc.AddMessage(-1);
        message->TargetClass = TTargetClass::Question;
        message->Text = u"<b>well done</b>";
        doc.TestTime = 1.0 / 24;
        doc.StartRun(mode, -1);
        ASSERT_NE(ParseLines(doc.GetOutput()), nullptr) << int(mode);
        for (int step = 0; step < 12 && doc.IsRunning(); ++step) {
            for (int q = 0; q < 5; ++q) {
                // choices take "1", the number field a number, the text fields anything
                const std::u16string value = q <= 1 ? u"1" : q == 3 ? u"3" : nasty;
                doc.BufferAnswer(IntToStrW(q), u"0", value);
                doc.BufferAnswer(IntToStrW(q), u"1", value);
            }
            doc.SubmitAnswers();
            doc.Tick();
            ASSERT_NE(ParseLines(doc.GetOutput()), nullptr) << int(mode) << " step " << step;
        }
        EXPECT_FALSE(doc.IsRunning()) << int(mode);
        doc.ShowRight = true;
        doc.WriteReport();
        XmlDocPtr report = ParseLines(doc.GetOutput());
        ASSERT_NE(report, nullptr) << int(mode);
        EXPECT_EQ(XPathNumber(report.get(), "count(//question-out)"), 5);
        EXPECT_EQ(XPathText(report.get(), "//answ-output[@type='text']"), kept);
        EXPECT_EQ(XPathText(report.get(), "//section-out/section-name"),
                  Utf16ToUtf8(u"Раздел \"1\" & <2>"));
    }
}

} // namespace
} // namespace stellik::testing
