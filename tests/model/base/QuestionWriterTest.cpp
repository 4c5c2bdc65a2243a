#include "SampleKind.h"

#include "platform/Convert.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TWideStrings Summary(int max, int current, int percent) {
    return {u"<summary>",    u"<rating>",        u"<max>",           IntToStrW(max),
            u"</max>",       u"<current>",       IntToStrW(current), u"</current>",
            u"<in-percent>", IntToStrW(percent), u"</in-percent>",   u"</rating>",
            u"</summary>"};
}

TWideStrings Concat(std::initializer_list<TWideStrings> parts) {
    TWideStrings all;
    for (const TWideStrings& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

// Two answers, the second with a text, shown in the order 1, 0.
void FillTwoAnswers(TSampleQuest& q) {
    q.Content.AddText(u"Pick <b>one</b>");
    q.Answer(u"", 1);
    q.Answer(u"<i>second</i>", 2);
    q.Order.Clear();
    q.Order.Add(1);
    q.Order.Add(0);
}

TEST(QuestionWriter, CustomLayoutInInputForm) {
    TSampleQuest q;
    FillTwoAnswers(q);
    q.Number = 1;
    TWideStrings lines;
    q.WriteQuestionIn(lines);
    const TWideStrings expected = Concat({
        {u"<question-out number=\"1\" id=\"0\">"},
        Summary(0, 0, 0),
        {u"<custom-out>", u"<q-text>", u"Pick <b>one</b>", u"</q-text>",
         u"<answ-box layout=\"horizontal\">", u"<item>",
         u"<answ-input type=\"single\" owner-id=\"0\" id=\"1\" number=\"1\"/>", u"<answ-text>",
         u"<i>second</i>", u"</answ-text>", u"</item>", u"<item>",
         u"<answ-input type=\"single\" owner-id=\"0\" id=\"0\" number=\"2\"/>", u"</item>",
         u"</answ-box>", u"</custom-out>", u"</question-out>"},
    });
    EXPECT_EQ(lines, expected);
}

TEST(QuestionWriter, CustomLayoutInOutputFormWithTextAfterAndFieldLast) {
    TSampleQuest q(3);
    FillTwoAnswers(q);
    q.Index = 4;
    q.Number = 2;
    q.TextPos = 3;
    q.Layout = 3;
    q.MaxRating = 3;
    q.Rating = 1;
    q.Percent = 33;
    q.SetAnswerValue("0", u"a<b");
    q.SetAnswerValue("1", u"12");
    TWideStrings lines;
    q.WriteQuestionOut(lines);
    const TWideStrings expected = Concat({
        {u"<question-out number=\"2\" id=\"4\">"},
        Summary(3, 1, 33),
        {u"<custom-out>", u"<answ-box layout=\"vertical\">", u"<item>", u"<answ-text>",
         u"<i>second</i>", u"</answ-text>",
         u"<answ-output type=\"number\" owner-id=\"4\" id=\"1\" number=\"1\">12</answ-output>",
         u"</item>", u"<item>",
         u"<answ-output type=\"number\" owner-id=\"4\" id=\"0\" number=\"2\">a&lt;b</answ-output>",
         u"</item>", u"</answ-box>", u"<q-text>", u"Pick <b>one</b>", u"</q-text>",
         u"</custom-out>", u"</question-out>"},
    });
    EXPECT_EQ(lines, expected);
}

TEST(QuestionWriter, LayoutChoosesBoxAndLineOrderAndOtherTextPositionsWriteNoText) {
    struct TCase {
        uint8_t Layout;
        const char16_t* Box;
        bool FieldFirst;
    };
    const std::u16string tag =
        u"<answ-input type=\"single\" owner-id=\"0\" id=\"0\" number=\"1\"/>";
    for (const TCase c : {TCase{0, u"horizontal", true}, TCase{1, u"horizontal", false},
                          TCase{2, u"vertical", true}, TCase{3, u"vertical", false},
                          TCase{4, u"vertical", false}, TCase{7, u"vertical", false}}) {
        TSampleQuest q;
        q.Answer(u"t");
        q.Reset();
        q.Layout = c.Layout;
        q.TextPos = 5;
        TWideStrings lines;
        q.WriteQuestionIn(lines);
        const TWideStrings body(lines.begin() + 14, lines.end());
        const TWideStrings item = c.FieldFirst
                                      ? TWideStrings{tag, u"<answ-text>", u"t", u"</answ-text>"}
                                      : TWideStrings{u"<answ-text>", u"t", u"</answ-text>", tag};
        const TWideStrings expected = Concat({
            {u"<custom-out>", u"<answ-box layout=\"" + std::u16string(c.Box) + u"\">", u"<item>"},
            item,
            {u"</item>", u"</answ-box>", u"</custom-out>", u"</question-out>"},
        });
        EXPECT_EQ(body, expected) << int(c.Layout);
    }
}

TEST(QuestionWriter, FreeLayoutWritesOneLineFromTheContent) {
    TSampleQuest q;
    q.FreeLayout = true;
    q.Shuffle = true;
    q.Content.AddText(u"Pay ");
    q.Answer();
    q.Content.AddText(u" now ");
    q.Answer();
    q.Content.AddText(u".");
    q.Reset();
    EXPECT_EQ(q.Order.Values(), (std::vector<int>{0, 1}));
    q.SetAnswerValue("1", u"\"x\"");

    TWideStrings in;
    q.WriteQuestionIn(in);
    ASSERT_EQ(in.size(), 18u);
    EXPECT_EQ(in[14], u"<free-out>");
    EXPECT_EQ(in[15], u"Pay <answ-input type=\"single\" owner-id=\"0\" id=\"0\" number=\"1\"/> now "
                      u"<answ-input type=\"single\" owner-id=\"0\" id=\"1\" number=\"2\"/>.");
    EXPECT_EQ(in[16], u"</free-out>");
    EXPECT_EQ(in[17], u"</question-out>");

    TWideStrings out;
    q.WriteQuestionOut(out);
    ASSERT_EQ(out.size(), 18u);
    EXPECT_EQ(
        out[15],
        u"Pay <answ-output type=\"single\" owner-id=\"0\" id=\"0\" number=\"1\"></answ-output>"
        u" now <answ-output type=\"single\" owner-id=\"0\" id=\"1\" number=\"2\">"
        u"&quot;x&quot;</answ-output>.");
}

TEST(QuestionWriter, EmptyQuestionsStillWriteTheirFrames) {
    TSampleQuest custom;
    TSampleQuest freeLayout;
    freeLayout.FreeLayout = true;
    TWideStrings customLines, freeLines;
    custom.WriteQuestionIn(customLines);
    freeLayout.WriteQuestionIn(freeLines);
    EXPECT_EQ(TWideStrings(customLines.begin() + 14, customLines.end()),
              (TWideStrings{u"<custom-out>", u"<q-text>", u"", u"</q-text>",
                            u"<answ-box layout=\"horizontal\">", u"</answ-box>", u"</custom-out>",
                            u"</question-out>"}));
    EXPECT_EQ(TWideStrings(freeLines.begin() + 14, freeLines.end()),
              (TWideStrings{u"<free-out>", u"", u"</free-out>", u"</question-out>"}));
}

TEST(QuestionWriter, KindAttributesAndContentExtendTheInputTag) {
    TSampleQuest q(4);
    q.Answer().Value = u"typed";
    q.ExtraAttrs = {u"size=3", u"hint=a=b"};
    q.InputContent = {u"<opt>A</opt>", u"<opt>B</opt>"};
    EXPECT_EQ(q.GetAnswerInput(0, 1),
              u"<answ-input type=\"box\" owner-id=\"0\" id=\"0\" number=\"1\" size=\"3\" "
              u"hint=\"a=b\"><opt>A</opt>\r\n<opt>B</opt>\r\n</answ-input>");
}

// The right-answer attributes of answer 0; both tags must carry the same ones.
std::u16string RightAttrs(int kind, const std::u16string& right, int points, int fixed = -1) {
    TSampleQuest q(kind);
    q.QuestionPoints = fixed;
    q.ShowRight = true;
    q.Answer(u"", points).SetRight(right);
    const std::u16string attrs =
        u"type=\"" + q.GetKindName() + u"\" owner-id=\"0\" id=\"0\" number=\"1\" ";
    const std::u16string input = q.GetAnswerInput(0, 1);
    const std::u16string head = u"<answ-input " + attrs;
    if (input.rfind(head, 0) != 0 || input.size() < head.size() + 2) {
        ADD_FAILURE() << "unexpected input tag";
        return {};
    }
    const std::u16string rightAttrs = input.substr(head.size(), input.size() - head.size() - 2);
    EXPECT_EQ(input, head + rightAttrs + u"/>");
    EXPECT_EQ(q.GetAnswerOutput(0, 1), u"<answ-output " + attrs + rightAttrs + u"></answ-output>");
    return rightAttrs;
}

TEST(QuestionWriter, RightAttributesOfChoiceAndValueKinds) {
    EXPECT_EQ(RightAttrs(0, u"  Y ", 0), u"right=\"1\" maxrating=\"0\"");
    EXPECT_EQ(RightAttrs(1, u"yes", 5), u"right=\"0\" maxrating=\"5\"");
    EXPECT_EQ(RightAttrs(0, u"", 3), u"right=\"1\" maxrating=\"3\"");
    EXPECT_EQ(RightAttrs(1, u"", 0), u"right=\"0\" maxrating=\"0\"");
    EXPECT_EQ(RightAttrs(0, u"", -2), u"right=\"0\" maxrating=\"-2\"");
    EXPECT_EQ(RightAttrs(0, u"  ", 3), u"right=\"0\" maxrating=\"3\""); // blank is not empty
    EXPECT_EQ(RightAttrs(3, u"1..5", 2), u"right=\"1..5\" maxrating=\"2\"");
    EXPECT_EQ(RightAttrs(4, u"A&B", 1, 4), u"right=\"A&amp;B\"");
    EXPECT_EQ(RightAttrs(2, u"\"a\"<b>", 0, 0), u"right=\"&quot;a&quot;&lt;b&gt;\"");
}

} // namespace
} // namespace stellik::testing
