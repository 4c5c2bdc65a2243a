// Result messages: targets, result kinds, text and failures.
#include "ReaderKit.h"

#include "platform/Exception.h"
#include "platform/Unicode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string WithMessages(const std::string& messages) {
    return QuestionsXml("<single id=\"q1\"/><single id=\"q2\"/><single/>",
                        "<selector><section id=\"s1\"/><section/></selector><messages>" + messages +
                            "</messages>");
}

TEST(Messages, TargetsAndResultKinds) {
    TReaderKit kit;
    kit.Read(WithMessages("<sectmsg>a</sectmsg>"
                          "<questmsg idref=\"2 q1 q1\" idrating=\"good bad\">b</questmsg>"
                          "<sectmsg idref=\"ALL\" idrating=\"Good ALL\">c</sectmsg>"
                          "<questmsg idref=\"nowhere All\" idrating=\"\">d</questmsg>"
                          "<sectmsg idref=\"s1 2\" idrating=\" middle \">e</sectmsg>"
                          "<questmsg idref=\"\">f</questmsg>"));
    const TMessagesList& messages = kit.Doc.Messages;
    ASSERT_EQ(messages.GetCount(), 6);
    EXPECT_EQ(messages.GetItem(0).TargetClass, TTargetClass::Section);
    EXPECT_THAT(messages.GetItem(0).Ids.Values(), IsEmpty());
    EXPECT_THAT(messages.GetItem(0).States.Values(), IsEmpty());
    EXPECT_EQ(messages.GetItem(1).TargetClass, TTargetClass::Question);
    EXPECT_THAT(messages.GetItem(1).Ids.Values(), ElementsAre(1, 0, 0));
    EXPECT_THAT(messages.GetItem(1).States.Values(), ElementsAre(0, 2));
    EXPECT_THAT(messages.GetItem(2).Ids.Values(), IsEmpty());
    EXPECT_THAT(messages.GetItem(2).States.Values(), IsEmpty()) << "ALL hides the bad token";
    EXPECT_THAT(messages.GetItem(3).Ids.Values(), IsEmpty()) << "nowhere is not looked up";
    EXPECT_THAT(messages.GetItem(4).Ids.Values(), ElementsAre(0, 1));
    EXPECT_THAT(messages.GetItem(4).States.Values(), ElementsAre(1));
    EXPECT_THAT(messages.GetItem(5).Ids.Values(), IsEmpty());
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(messages.GetItem(i).Owner, &kit.Doc);
        EXPECT_EQ(messages.GetItem(i).Text, std::u16string(1, static_cast<char16_t>(u'a' + i)));
    }
}

TEST(Messages, TextKeepsMarkupWithSingleBlanks) {
    TReaderKit kit;
    kit.Read(WithMessages("<sectmsg>\n  Хорошо, <b>очень</b>\t хорошо &amp; <p>да <answer "
                          "rating=\"1\">x</answer></p>  </sectmsg><sectmsg/>"));
    EXPECT_EQ(Utf16ToUtf8(kit.Doc.Messages.GetItem(0).Text),
              " Хорошо, <b>очень</b> хорошо &amp; <p>да <answer rating=\"1\">x</answer></p> ");
    EXPECT_EQ(kit.Doc.Messages.GetItem(1).Text, u"");
}

TEST(Messages, FailuresQuoteTheWholeElement) {
    EXPECT_EQ(TReaderKit().Error(WithMessages("<sectmsg idref=\"s1 s9\">Секция</sectmsg>")),
              "Секция с id=s9 не найдена\r\n"
              "<sectmsg idref=\"s1 s9\" idrating=\"all\">Секция</sectmsg>");
    EXPECT_EQ(TReaderKit().Error(WithMessages("<questmsg idref=\"0\">m</questmsg>")),
              "Вопрос с id=0 не найден\r\n<questmsg idref=\"0\" idrating=\"all\">m</questmsg>");
    EXPECT_EQ(TReaderKit().Error(WithMessages("<questmsg idrating=\"good Good\">m</questmsg>")),
              "Недопустимое значение параметра\r\n"
              "<questmsg idrating=\"good Good\" idref=\"all\">m</questmsg>");
    TReaderKit answer;
    EXPECT_EQ(answer.Error(WithMessages("<questmsg>a<answer rating=\"1\"/></questmsg>")),
              "Элемент questmsg не может содержать элементы answer: \r\n"
              "<questmsg idrating=\"all\" idref=\"all\">a<answer rating=\"1\"/></questmsg>");
    EXPECT_EQ(answer.Doc.Messages.GetCount(), 1) << "the failing message stays";
    // Earlier attribute failures come before the answer test.
    EXPECT_THAT(TReaderKit().Error(WithMessages("<sectmsg idref=\"x\"><answer/></sectmsg>")),
                ::testing::StartsWith("Секция с id=x не найдена\r\n"));
}

TEST(Messages, ResultKindTokens) {
    EXPECT_EQ(TTestParserObj::ParseResultKind("all"), -1);
    EXPECT_EQ(TTestParserObj::ParseResultKind("good"), 0);
    EXPECT_EQ(TTestParserObj::ParseResultKind("middle"), 1);
    EXPECT_EQ(TTestParserObj::ParseResultKind("bad"), 2);
    for (const char* token : {"Bad", "", "mid"}) {
        try {
            TTestParserObj::ParseResultKind(token);
            ADD_FAILURE() << token;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Uncnown result string value");
        }
    }
}

} // namespace
} // namespace stellik::testing
