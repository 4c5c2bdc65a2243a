// Questions and answers: attributes, content text, answers at any depth, and their failures.
#include "ReaderKit.h"

#include "platform/Unicode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <variant>

namespace stellik::testing {
namespace {

using ::testing::StartsWith;

std::string Content(const TTestDoc& doc, int index) {
    return Utf16ToUtf8(doc.Questions.GetItem(index).Content.GetText());
}

TEST(Questions, IdentifiersAreOptionalCaseSensitiveAndUnique) {
    TReaderKit kit;
    kit.Read(QuestionsXml("<single/><single id=\"\"/><check id=\"a2\"/><text id=\"A2\"/>"));
    ASSERT_EQ(kit.Doc.Questions.GetCount(), 4);
    EXPECT_EQ(kit.Doc.Questions.GetItem(0).Id, u"");
    EXPECT_EQ(kit.Doc.Questions.GetItem(1).Id, u"");
    EXPECT_EQ(kit.Doc.Questions.GetItem(2).Id, u"a2");
    EXPECT_EQ(kit.Doc.Questions.GetItem(3).Id, u"A2");

    TReaderKit twice;
    EXPECT_EQ(twice.Error(QuestionsXml("<single id=\"q\"/><box/><check id=\"q\"/>")),
              "Идентификаторы вопросов должны быть уникальны");
    EXPECT_EQ(twice.Doc.Questions.GetCount(), 3) << "what was read before stays";
    EXPECT_EQ(TReaderKit().Error(QuestionsXml("<single id=\"7q\"/>")),
              "Значение параметра id не должно начинаться с цифры");

    // A question already in the test counts too.
    TReaderKit preset;
    TQuestion* existing = preset.Doc.AddQuestion(0, -1);
    ASSERT_NE(existing, nullptr);
    existing->Id.assign(1, u'q');
    EXPECT_EQ(preset.Error(QuestionsXml("<single id=\"q\"/>")),
              "Идентификаторы вопросов должны быть уникальны");
}

std::vector<std::string> Pictures(const TTestParserObj& parser) {
    std::vector<std::string> names;
    for (const std::u16string& name : parser.PictureNames()) {
        names.push_back(Utf16ToUtf8(name));
    }
    return names;
}

TEST(Questions, ReadQuestionsLeaveTheTreeButTheirPicturesStayListedInOrder) {
    const std::string messages = "<messages><questmsg><img src=\"m.png\"/></questmsg></messages>";
    TReaderKit kit;
    kit.Read(QuestionsXml("<single><p><img src=\"a.png\"/></p><answer/></single>"
                          "<box format=\"free\"><table><tr><td><img src=\"b.png\" alt=\"\"/>"
                          "<answer right=\"x\"/></td></tr></table></box>"
                          "<text><img src=\"a.png\"/><img src=\"\"/></text>",
                          messages));
    ASSERT_EQ(kit.Doc.Questions.GetCount(), 3);
    EXPECT_FALSE(kit.Parser.GetXpObjModel().Document().SelectSingleNode(u"//questions/*"));
    EXPECT_EQ(Pictures(kit.Parser),
              (std::vector<std::string>{"a.png", "b.png", "a.png", "", "m.png"}));

    // A failing question stays in the tree with those after it: the order still holds.
    EXPECT_NE(kit.Error(QuestionsXml("<single><img src=\"x.png\"/></single>"
                                     "<check rating=\"r\"><img src=\"y.png\"/></check>"
                                     "<number><img src=\"z.png\"/></number>",
                                     messages)),
              "");
    EXPECT_EQ(Pictures(kit.Parser), (std::vector<std::string>{"x.png", "y.png", "z.png", "m.png"}));
    EXPECT_EQ(kit.Parser.GetXpObjModel().Document().SelectNodes(u"//questions/*").Length(), 2U);

    // A document that does not load leaves no names of the one before.
    EXPECT_NE(kit.Error("<test>"), "");
    EXPECT_TRUE(Pictures(kit.Parser).empty());
}

TEST(Questions, FlagsFollowTheirExactValuesAndDefaults) {
    TReaderKit kit;
    kit.Read(QuestionsXml("<single random=\"n\" format=\"free\"/><check/>"));
    const TQuestion& ordered = kit.Doc.Questions.GetItem(0);
    EXPECT_FALSE(ordered.Shuffle);
    EXPECT_TRUE(ordered.FreeLayout);
    const TQuestion& defaults = kit.Doc.Questions.GetItem(1);
    EXPECT_TRUE(defaults.Shuffle);
    EXPECT_FALSE(defaults.FreeLayout);
    EXPECT_EQ(defaults.QuestionPoints, -1);
}

TEST(Questions, RatingsAreIntegersOrTheReadingStops) {
    TReaderKit kit;
    kit.Read(QuestionsXml("<single rating=\" 5\"><answer rating=\"$1F\"/><answer rating=\"-2\"/>"
                          "</single><check rating=\"0x10\"/>"));
    EXPECT_EQ(kit.Doc.Questions.GetItem(0).QuestionPoints, 5);
    EXPECT_EQ(kit.Doc.Questions.GetItem(0).Answers.GetItem(0).Points, 31);
    EXPECT_EQ(kit.Doc.Questions.GetItem(0).Answers.GetItem(1).Points, -2);
    EXPECT_EQ(kit.Doc.Questions.GetItem(1).QuestionPoints, 16);

    EXPECT_EQ(
        TReaderKit().Error(QuestionsXml("<single rating=\"5 \" random=\"n\">Вопрос</single>")),
        "Значение параметра должно быть числом: \r\n"
        "<single rating=\"5 \" random=\"n\" format=\"custom\">Вопрос</single>");
    EXPECT_THAT(TReaderKit().Error(QuestionsXml("<single rating=\"\"/>")),
                StartsWith("Значение параметра должно быть числом: \r\n<single rating=\"\""));
    EXPECT_EQ(TReaderKit().Error(QuestionsXml("<check><answer rating=\"два\">2</answer></check>")),
              "Значение параметра должно быть числом: \r\n<answer rating=\"два\">2</answer>");
}

TEST(Questions, ContentCopiesTheMarkupAroundAnswersAtAnyDepth) {
    TReaderKit kit;
    kit.Read(
        QuestionsXml("<box random=\"n\" format=\"free\">Fill\n\t in: <table><tr><td><p>a "
                     "<answer rating=\"1\" right=\"x\"/></p></td></tr></table><img src=\"i.gif\" "
                     "alt=\"&amp; &lt;&quot;\"/></box>"));
    const TQuestion& question = kit.Doc.Questions.GetItem(0);
    ASSERT_EQ(question.Answers.GetCount(), 1);
    EXPECT_EQ(question.Answers.GetItem(0).Right, u"x");
    ASSERT_EQ(question.Content.GetCount(), 3);
    EXPECT_EQ(Utf16ToUtf8(std::get<TStrItm>(question.Content.GetItem(0)).Text),
              "Fill in: <table><tr><td rowspan=\"1\" colspan=\"1\"><p>a ");
    EXPECT_EQ(std::get<TAnswLinkItm>(question.Content.GetItem(1)).AnswerIndex, 0);
    EXPECT_EQ(Utf16ToUtf8(std::get<TStrItm>(question.Content.GetItem(2)).Text),
              "</p></td></tr></table><img src=\"i.gif\" alt=\"&amp; &lt;&#34;\"/>");
}

TEST(Questions, TextIsEscapedAndCustomLayoutHasNoLinks) {
    TReaderKit kit;
    kit.Read(QuestionsXml("<number>1 &lt; x &amp;&amp; x &gt; 0<answer rating=\"1\" "
                          "right=\"1..2\"/>?</number><single></single>"));
    const TQuestion& number = kit.Doc.Questions.GetItem(0);
    ASSERT_EQ(number.Content.GetCount(), 1);
    EXPECT_EQ(Content(kit.Doc, 0), "1 &lt; x &amp;&amp; x &gt; 0?");
    EXPECT_EQ(kit.Doc.Questions.GetItem(1).Content.GetCount(), 0);
    EXPECT_EQ(kit.Doc.Questions.GetItem(1).Answers.GetCount(), 0);
}

TEST(Questions, AnswerTextKeepsMarkupOnOneLine) {
    TReaderKit kit;
    kit.Read(QuestionsXml("<check><answer rating=\"1\"> Первый\n   <b>жирный</b>\tответ </answer>"
                          "<answer rating=\"1\">x<b>y<answer rating=\"2\">z</answer></b></answer>"
                          "</check>"));
    const TQuestion& check = kit.Doc.Questions.GetItem(0);
    ASSERT_EQ(check.Answers.GetCount(), 2) << "an answer nested deeper is only markup";
    EXPECT_EQ(Utf16ToUtf8(check.Answers.GetItem(0).Text), " Первый <b>жирный</b> ответ ");
    EXPECT_EQ(Utf16ToUtf8(check.Answers.GetItem(1).Text),
              "x<b>y<answer rating=\"2\">z</answer></b>");
}

// A carriage return given as a character reference is white space like any other: with the
// blanks around it, it becomes one space in question and answer text alike.
TEST(Questions, CarriageReturnReferencesAreWhiteSpaceInQuestionAndAnswerText) {
    TReaderKit kit;
    kit.Read(QuestionsXml("<check>one&#13;two &#13;\n three<answer rating=\"1\">four&#13;five"
                          "</answer><answer rating=\"1\">six\t&#13;&#13; <b>seven</b></answer>"
                          "</check>"));
    const TQuestion& check = kit.Doc.Questions.GetItem(0);
    ASSERT_EQ(check.Answers.GetCount(), 2);
    EXPECT_EQ(Content(kit.Doc, 0), "one two three");
    EXPECT_EQ(Utf16ToUtf8(check.Answers.GetItem(0).Text), "four five");
    EXPECT_EQ(Utf16ToUtf8(check.Answers.GetItem(1).Text), "six <b>seven</b>");
}

TEST(Questions, AnswerInsideAnAnswerStopsTheReading) {
    TReaderKit kit;
    EXPECT_EQ(
        kit.Error(QuestionsXml(
            "<single><answer rating=\"1\">а<answer rating=\"0\">б</answer></answer></single>")),
        "Элемент answer не может содержать другие элементы answer: \r\n"
        "<answer rating=\"1\">а<answer rating=\"0\">б</answer></answer>");
    EXPECT_EQ(kit.Doc.Questions.GetItem(0).Answers.GetCount(), 1);
}

TEST(Questions, RightSpecificationsTheKindCannotParsePassTheirMessage) {
    EXPECT_EQ(TReaderKit().Error(QuestionsXml("<text><answer right=\"ab\\n\"/></text>")),
              "Ошибка в синтаксисе. Недопустимый символ \\N");
    EXPECT_EQ(TReaderKit().Error(QuestionsXml("<text><answer right=\"ab\\\"/></text>")),
              "Ошибка в синтаксисе. Ожидается символ после \\");
    EXPECT_NE(TReaderKit().Error(QuestionsXml("<number><answer right=\"один\"/></number>")), "");
}

TEST(ContentPiece, CommentsAndInstructionsLeaveNoTrace) {
    TReaderKit kit;
    kit.Read(QuestionsXml("<single>a<!-- note -->b<?pi data?><![CDATA[<c> & d]]></single>"));
    EXPECT_EQ(Content(kit.Doc, 0), "ab&lt;c&gt; &amp; d");
}

} // namespace
} // namespace stellik::testing
