// Whole test documents: read, checked against the model, then run to a report.
#include "ReaderKit.h"

#include "platform/Unicode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <variant>

namespace stellik::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::UnorderedElementsAre;

std::string ContentText(const TQuestion& question) {
    return Utf16ToUtf8(question.Content.GetText());
}

std::vector<int> Pool(const TIntegerList& list) {
    return list.Values();
}

TEST(TestDocuments, FullDocumentReadsEveryPartOfTheFormat) {
    TReaderKit kit;
    EXPECT_EQ(kit.ReadFile("full_v12.xml"), "UTF-8");
    EXPECT_EQ(kit.Requests, std::vector<std::u16string>{u"XTF_v1p2.dtd"});
    const TTestDoc& doc = kit.Doc;

    // Title and author as written; the abstract on one line with single blanks.
    EXPECT_EQ(doc.Name, W("  Проверка  знаний "));
    EXPECT_EQ(doc.Author, W("И. Петров"));
    EXPECT_EQ(doc.Abstract, TWideStrings{W("Тест по географии и истории ")});

    ASSERT_EQ(doc.Questions.GetCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(doc.Questions.GetItem(i).GetKindCode(), i) << "element order gives the kinds";
        EXPECT_EQ(doc.Questions.GetItem(i).Index, i);
    }

    const TQuestion& single = doc.Questions.GetItem(0);
    EXPECT_EQ(single.Id, u"capital");
    EXPECT_FALSE(single.Shuffle);
    EXPECT_FALSE(single.FreeLayout);
    EXPECT_EQ(single.QuestionPoints, -1);
    EXPECT_EQ(ContentText(single), "Столица <b>России</b>?   ");
    ASSERT_EQ(single.Answers.GetCount(), 2);
    EXPECT_EQ(single.Answers.GetItem(0).Text, W("Москва"));
    EXPECT_EQ(single.Answers.GetItem(0).Points, 1);
    EXPECT_EQ(single.Answers.GetItem(0).Right, u"y");
    EXPECT_EQ(single.Answers.GetItem(1).Right, u"");
    EXPECT_EQ(single.Answers.GetItem(1).Points, -1);

    // Free layout: a link stands where the answer element stood.
    const TQuestion& text = doc.Questions.GetItem(2);
    EXPECT_TRUE(text.FreeLayout);
    EXPECT_EQ(text.QuestionPoints, 2);
    ASSERT_EQ(text.Content.GetCount(), 3);
    EXPECT_EQ(std::get<TStrItm>(text.Content.GetItem(0)).Text, W("Автор «Онегина»: "));
    EXPECT_EQ(std::get<TAnswLinkItm>(text.Content.GetItem(1)).AnswerIndex, 0);
    EXPECT_EQ(std::get<TStrItm>(text.Content.GetItem(2)).Text, u".");
    EXPECT_EQ(text.Answers.GetItem(0).Points, 0) << "no rating under 1.2 is 0 points";

    const TQuestion& number = doc.Questions.GetItem(3);
    EXPECT_TRUE(number.Shuffle) << "random defaults to y";
    EXPECT_EQ(number.Answers.GetItem(0).Points, 3);

    // The table lost what the DTD does not allow; the image kept its escaped attributes.
    const std::string box = ContentText(doc.Questions.GetItem(4));
    EXPECT_THAT(box, HasSubstr("<table border=\"1\">"));
    EXPECT_THAT(box, Not(HasSubstr("caption")));
    EXPECT_THAT(box, Not(HasSubstr("Таблица")));
    EXPECT_THAT(box, HasSubstr("<tr>"));
    EXPECT_THAT(box, HasSubstr("valign=\"top\""));
    EXPECT_THAT(box, HasSubstr("rowspan=\"1\""));
    EXPECT_THAT(box, HasSubstr("colspan=\"1\""));
    EXPECT_THAT(box, Not(HasSubstr("char")));
    EXPECT_THAT(box, HasSubstr("<p>2+2=</p></td>"));
    EXPECT_THAT(box, HasSubstr("<img src=\"map.gif\" alt=\"карта &amp; &#34;схема&#34;\"/>"));
    EXPECT_THAT(box, HasSubstr("</tr>"));
    EXPECT_THAT(box, HasSubstr("</table>"));

    ASSERT_EQ(doc.Sections.GetCount(), 2);
    const TSection& first = doc.Sections.GetItem(0);
    EXPECT_EQ(first.Id, u"s1");
    EXPECT_EQ(first.Name, W("Первая секция"));
    EXPECT_THAT(Pool(first.AllPool), ElementsAre(0, 1));
    EXPECT_FALSE(first.AllRandom);
    EXPECT_THAT(Pool(first.GoodPool), ElementsAre(2));
    EXPECT_EQ(first.GoodRequested, 1);
    EXPECT_TRUE(first.GoodRandom);
    EXPECT_THAT(Pool(first.MidPool), ElementsAre(3));
    EXPECT_FALSE(first.MidRandom);
    EXPECT_THAT(Pool(first.BadPool), ElementsAre(4));
    EXPECT_THAT(Pool(doc.Sections.GetItem(1).AllPool), ElementsAre(3, 4));

    ASSERT_EQ(doc.Messages.GetCount(), 3);
    const TTestMessage& right = doc.Messages.GetItem(0);
    EXPECT_EQ(right.TargetClass, TTargetClass::Question);
    EXPECT_THAT(right.Ids.Values(), ElementsAre(0));
    EXPECT_THAT(right.States.Values(), ElementsAre(ResultGood));
    EXPECT_EQ(right.Text, W("Верно: <b>Москва</b>!"));
    EXPECT_THAT(doc.Messages.GetItem(1).States.Values(), ElementsAre(ResultBad, ResultMiddle));
    EXPECT_TRUE(doc.Messages.GetItem(1).Ids.Values().empty());
    const TTestMessage& section = doc.Messages.GetItem(2);
    EXPECT_EQ(section.TargetClass, TTargetClass::Section);
    EXPECT_THAT(section.Ids.Values(), ElementsAre(0, 1));
    EXPECT_EQ(section.Text, W("Секция пройдена"));
}

// Right answers to every question of full_v12.xml.
TAnswerKey FullDocumentKey() {
    return {{0, {{0, u"1"}}},
            {1, {{0, u"1"}, {1, u"1"}}},
            {2, {{0, W("пушкин")}}},
            {3, {{0, u"1703"}}},
            {4, {{0, u" 4 "}}}};
}

TEST(TestDocuments, FullDocumentRunsWithMessagesToAFullReport) {
    TReaderKit kit;
    kit.ReadFile("full_v12.xml");
    const TRunTrace trace = RunToReport(kit.Doc, 2, FullDocumentKey());

    EXPECT_THAT(trace.Questions, UnorderedElementsAre(0, 1, 2, 3, 4));
    EXPECT_THAT(trace.Messages,
                ElementsAre("Верно: <b>Москва</b>!", "Секция пройдена", "Секция пройдена"));
    const TOutputDoc report(kit.Doc.GetOutput());
    EXPECT_EQ(report.Text("/test-out/@mode"), "report");
    EXPECT_EQ(report.Text("/test-out/test-stop-reason"), "test-end");
    EXPECT_EQ(report.Text("/test-out/summary/rating/max"), "9");
    EXPECT_EQ(report.Text("/test-out/summary/rating/current"), "9");
    EXPECT_EQ(report.Count("/test-out/section-out"), 2);
    EXPECT_EQ(report.Count("//question-out"), 5);
}

TEST(TestDocuments, WrongAnswerBringsTheMessageForBadResults) {
    TReaderKit kit;
    kit.ReadFile("full_v12.xml");
    TAnswerKey key = FullDocumentKey();
    key[0] = {{1, u"1"}}; // Париж
    const TRunTrace trace = RunToReport(kit.Doc, 2, key);
    ASSERT_FALSE(trace.Messages.empty());
    EXPECT_EQ(trace.Messages.front(), "Подумайте ещё");
    EXPECT_EQ(TOutputDoc(kit.Doc.GetOutput()).Text("/test-out/summary/rating/current"), "7")
        << "Париж takes a point away";
}

TEST(TestDocuments, Version10DocumentRunsInListMode) {
    TReaderKit kit;
    EXPECT_EQ(kit.ReadFile("basic_v10.xml"), "UTF-8");
    // The Windows path's file name, in another letter case, still chose version 1.0.
    EXPECT_EQ(kit.Requests, std::vector<std::u16string>{u"XTF_v1p0.dtd"});
    ASSERT_EQ(kit.Doc.Sections.GetCount(), 2);
    EXPECT_THAT(Pool(kit.Doc.Sections.GetItem(0).AllPool), ElementsAre(1, 0));
    EXPECT_EQ(kit.Doc.Sections.GetItem(0).Name, u"");

    const TRunTrace trace =
        RunToReport(kit.Doc, 1, {{0, {{0, u"1"}}}, {1, {{0, u"6"}}}, {2, {{1, u"1"}}}});
    EXPECT_THAT(trace.Questions, ElementsAre(1, 0, 2)) << "one page, in pool order";
    const TOutputDoc report(kit.Doc.GetOutput());
    EXPECT_EQ(report.Text("/test-out/summary/rating/max"), "4");
    EXPECT_EQ(report.Text("/test-out/summary/rating/current"), "4");
}

TEST(TestDocuments, Windows1251DocumentKeepsItsCyrillic) {
    TReaderKit kit;
    EXPECT_EQ(kit.ReadFile("cp1251_v11.xml"), "Windows-1251");
    EXPECT_EQ(kit.Requests, std::vector<std::u16string>{u"XTF_v1p1.dtd"});
    const TTestDoc& doc = kit.Doc;
    EXPECT_EQ(doc.Name, W("Тест в кодировке Windows-1251"));
    EXPECT_EQ(doc.Author, W("Ёжиков"));
    ASSERT_EQ(doc.Questions.GetCount(), 2);
    EXPECT_EQ(doc.Questions.GetItem(0).Id, W("город"));
    EXPECT_EQ(ContentText(doc.Questions.GetItem(0)), "Город на Неве: ");
    ASSERT_EQ(doc.Sections.GetCount(), 1);
    EXPECT_EQ(doc.Sections.GetItem(0).Id, W("главная"));
    EXPECT_EQ(doc.Sections.GetItem(0).Name, W("Главная"));
    EXPECT_THAT(Pool(doc.Sections.GetItem(0).AllPool), ElementsAre(0, 1));
    EXPECT_THAT(doc.Messages.GetItem(0).Ids.Values(), ElementsAre(0));

    const TRunTrace trace =
        RunToReport(kit.Doc, 2, {{0, {{0, W("санкт-петербург")}}}, {1, {{0, W("а")}}}});
    EXPECT_THAT(trace.Messages, ElementsAre("Отлично"));
    const TOutputDoc report(kit.Doc.GetOutput());
    EXPECT_EQ(report.Text("/test-out/summary/rating/current"), "2");
    EXPECT_EQ(report.Text("/test-out/summary/rating/max"), "2");
}

TEST(TestDocuments, Utf16DocumentRunsWithoutSections) {
    TReaderKit kit;
    EXPECT_EQ(kit.ReadFile("utf16_v12.xml"), "UTF-16");
    ASSERT_EQ(kit.Doc.Questions.GetCount(), 1);
    EXPECT_EQ(kit.Doc.Sections.GetCount(), 0);
    const TQuestion& check = kit.Doc.Questions.GetItem(0);
    EXPECT_EQ(check.Answers.GetItem(1).Points, 0);
    EXPECT_EQ(check.Answers.GetItem(2).Text, W("о"));

    RunToReport(kit.Doc, 1, {{0, {{0, u"1"}, {2, u"1"}}}});
    const TOutputDoc report(kit.Doc.GetOutput());
    EXPECT_EQ(report.Text("/test-out/summary/rating/current"), "2");
    EXPECT_EQ(report.Text("/test-out/summary/sections/count"), "1") << "the default section";
}

} // namespace
} // namespace stellik::testing
