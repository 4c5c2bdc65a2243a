// Question content: the markup that reaches the page, the answer boxes, inputs and outputs.
#include "PageDocs.h"
#include "StyleKit.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

const std::string Form = "//form[@action='stellik://cmd/testinput']";

// A list page holding one question with content.
THtml Page(const std::string& content, const std::string& savedAs = "") {
    return THtml(Transform(RunDoc("list", Section(1, "", Question(1, content))), {}, savedAs));
}

std::string Output(const std::string& type, int number, const std::string& value,
                   const std::string& right = "") {
    return "<answ-output type=\"" + type + "\" owner-id=\"4\" id=\"" + std::to_string(number - 1) +
           "\" number=\"" + std::to_string(number) + "\"" +
           (right.empty() ? "" : " right=\"" + right + "\"") + ">" + value + "</answ-output>";
}

TEST(QuestionMarkup, OnlyTheTwelveHtmlElementsAreCopiedOthersLeaveTheirText) {
    const std::string text =
        "<p align=\"center\">A <span class=\"s\">B</span> <a href=\"http://example.org/\">C</a> "
        "<b class=\"k\">D</b><i>E</i><u>F</u><sub>G</sub><sup>H</sup><br/>"
        "<font color=\"red\" face=\"Arial\">I</font><img src=\"stellik://content/pic.gif\" "
        "width=\"5\"/><script>J</script><div onclick=\"x()\">K</div><BR/><q-text>L</q-text></p>"
        "<table border=\"1\"><tr><td colspan=\"2\">M</td></tr></table>";
    const THtml page = Page(Custom(text, ""), "question-markup");
    for (const char* kept : {"p", "b", "i", "u", "sub", "sup", "br", "font", "img"}) {
        EXPECT_EQ(page.Count(Form + "//" + kept), 1) << kept;
    }
    EXPECT_EQ(page.Count(Form + "//table[@border='1']/tr/td[@colspan='2']"), 1);
    for (const char* dropped : {"span", "a", "script", "div[@onclick]", "q-text"}) {
        EXPECT_EQ(page.Count("//" + std::string(dropped)), 0) << dropped;
    }
    EXPECT_EQ(page.Text(Form + "//p"), "A B C DEFGHIJKL");
    EXPECT_EQ(page.Text(Form + "//table[@border='1']"), "M");
    EXPECT_EQ(page.Text(Form + "//p/@align"), "center");
    EXPECT_EQ(page.Text(Form + "//b/@class"), "k");
    EXPECT_EQ(page.Text(Form + "//font/@color"), "red");
    EXPECT_EQ(page.Text(Form + "//font/@face"), "Arial");
    EXPECT_EQ(page.Text(Form + "//img/@src"), "stellik://content/pic.gif");
    EXPECT_EQ(page.Text(Form + "//img/@width"), "5");
}

TEST(AnswerInputs, EachTypeGetsItsFieldNamedForTheQuestionAndAnswer) {
    const std::string box = "<answ-input type=\"box\" owner-id=\"4\" id=\"1\" number=\"2\">\r\n"
                            "<value>\r\nкрасный\r\n</value>\r\n<value>\r\nA&amp;B\r\n</value>\r\n"
                            "</answ-input>";
    const std::string items = Item(Input("single", 4, 2, 1), "один") +
                              Item(Input("check", 4, 3, 2), "два") + Item(Input("text", 4, 0, 3)) +
                              Item(Input("number", 4, 5, 4)) + Item(box);
    const THtml page = Page(Custom("Q", items), "answer-inputs");
    EXPECT_EQ(page.Text(Form + "//input[@type='radio']/@name"), "ANSW/4");
    EXPECT_EQ(page.Text(Form + "//input[@type='radio']/@value"), "2");
    EXPECT_EQ(page.Text(Form + "//input[@type='checkbox']/@name"), "ANSW/4");
    EXPECT_EQ(page.Text(Form + "//input[@type='checkbox']/@value"), "3");
    EXPECT_EQ(page.Texts(Form + "//input[@type='text']/@name"),
              (std::vector<std::string>{"ANSW/4/0", "ANSW/4/5"}));
    EXPECT_EQ(page.Text(Form + "//select/@name"), "ANSW/4/1");
    EXPECT_NE(page.Text(Form + "//select/@style").find("Arial"), std::string::npos);
    // Nothing chosen or filled in beforehand; the list starts with a single space.
    EXPECT_EQ(page.Count(Form + "//input[@checked or (@type='text' and @value)]"), 0);
    EXPECT_EQ(page.Texts(Form + "//select/option"),
              (std::vector<std::string>{" ", "красный", "A&B"}));
    EXPECT_EQ(page.Count(Form + "//select/option[@selected or @value]"), 0);
}

TEST(AnswerBox, HorizontalIsOneRowPerItemVerticalTwoRows) {
    const std::string items = Item(Input("single", 0, 0, 1), "один") +
                              Lines({"<item>", "<answ-text>", "два", "</answ-text>",
                                     Input("single", 0, 1, 2), "</item>"}) +
                              Item(Input("single", 0, 2, 3));
    const THtml horizontal = Page(Custom("Q", items, "horizontal"));
    const std::string box = Form + "//table[tr/td/input[@type='radio']]";
    EXPECT_EQ(horizontal.Count(box + "/tr"), 3);
    EXPECT_EQ(horizontal.Count(box + "/tr[@valign='top']"), 3);
    EXPECT_EQ(horizontal.Count(box + "/tr[1]/td[1]/input"), 1);
    EXPECT_EQ(horizontal.Text("normalize-space(" + box + "/tr[1]/td[2])"), "один");
    EXPECT_EQ(horizontal.Text("normalize-space(" + box + "/tr[2]/td[1])"), "два");
    EXPECT_EQ(horizontal.Count(box + "/tr[2]/td[2]/input"), 1);
    EXPECT_EQ(horizontal.Count(box + "/tr[3]/td"), 1);

    const THtml vertical = Page(Custom("Q", items, "vertical"), "answer-box-vertical");
    EXPECT_EQ(vertical.Count(box + "/tr"), 2);
    EXPECT_EQ(vertical.Count(box + "/tr[1]/td"), 3);
    EXPECT_EQ(vertical.Count(box + "/tr[2]/td"), 3);
    EXPECT_EQ(vertical.Count(box + "/tr[1]/td[1]/input"), 1);
    EXPECT_EQ(vertical.Text("normalize-space(" + box + "/tr[1]/td[2])"), "два");
    EXPECT_EQ(vertical.Text("normalize-space(" + box + "/tr[2]/td[1])"), "один");
    EXPECT_EQ(vertical.Count(box + "/tr[2]/td[2]/input"), 1);
    EXPECT_EQ(vertical.Text(box + "/tr[2]/td[3]"), "");
}

TEST(AnswerBox, QuestionTextComesFirstWhereverTheDocumentHasIt) {
    const std::string textAfter =
        Lines({"<custom-out>", "<answ-box layout=\"horizontal\">", Item(Input("check", 0, 0, 1)),
               "</answ-box>", "<q-text>", "Текст вопроса", "</q-text>", "</custom-out>"});
    const THtml page = Page(textAfter);
    EXPECT_EQ(page.Text("normalize-space(" + Form + "//table[1]//td[not(.//table)][1])"),
              "Текст вопроса");
    EXPECT_EQ(page.Count(Form + "//table[.//td[normalize-space()='Текст вопроса']]"
                                "/following::input[@type='checkbox']"),
              1);
}

TEST(AnswerInputs, FreeLayoutPutsTheFieldsInsideTheText) {
    const THtml page = Page(Lines({"<free-out>",
                                   "Столица <b>Франции</b> - " + Input("text", 2, 0, 1) +
                                       ", Италии - " + Input("text", 2, 1, 2) + ".",
                                   "</free-out>"}));
    EXPECT_EQ(page.Texts(Form + "//input[@type='text']/@name"),
              (std::vector<std::string>{"ANSW/2/0", "ANSW/2/1"}));
    EXPECT_EQ(page.Text("normalize-space(" + Form + "//td[b])"),
              "Вопрос №1 Столица Франции - , Италии - . " + Nbsp);
}

TEST(AnswerLabels, NumbersBecomeLetters) {
    const struct {
        int Number;
        const char* Label;
    } cases[] = {{1, "a)"},   {2, "b)"},   {26, "z)"},  {27, "aa)"},  {52, "az)"},
                 {53, "ba)"}, {78, "bz)"}, {79, "ca)"}, {702, "zz)"}, {703, "a)"}};
    std::string items;
    for (const auto& c : cases) {
        items += Item(Output("check", c.Number, "0"));
    }
    const THtml page = Page(Custom("Q", items));
    const auto labels = page.Texts("//table[@width='50']//td[1]");
    ASSERT_EQ(labels.size(), std::size(cases));
    for (size_t i = 0; i < labels.size(); ++i) {
        EXPECT_EQ(labels[i], cases[i].Label) << cases[i].Number;
    }
}

TEST(AnswerOutputs, ChoicesShowLabelAndMarkValuesShowBetweenTheirEnds) {
    const std::string items = Item(Output("single", 1, "1")) + Item(Output("single", 2, "0")) +
                              Item(Output("check", 3, "\r\n1\r\n")) + Item(Output("check", 4, "")) +
                              Item(Output("text", 5, "Ньютон &amp; сын")) +
                              Item(Output("box", 6, "синий"));
    const THtml page = Page(Custom("Q", items), "answer-outputs");
    EXPECT_EQ(page.Texts("//table[@width='50']//td[2]/img/@src"),
              (std::vector<std::string>{"select_gif", "index_gif", "select_gif", "index_gif"}));
    EXPECT_EQ(page.Count("//table[@width='50'][@border='0']/tr[count(td)=2]"), 4);
    const std::string label = "//table[@width='50']//td[1]/@style";
    for (const char* part : {"Arial", "bold", "12px", "#3557B4"}) {
        EXPECT_NE(page.Text(label).find(part), std::string::npos) << part;
    }
    EXPECT_EQ(page.Texts("//img[@src='enterL_gif']/following-sibling::*[1]"),
              (std::vector<std::string>{"Ньютон & сын", "синий"}));
    EXPECT_EQ(page.Count("//img[@src='enterL_gif']/following-sibling::*[2][@src='enterP_gif']"), 2);
    EXPECT_NE(page.Text("//img[@src='enterL_gif']/following-sibling::*[1]/@style").find("10px"),
              std::string::npos);
}

} // namespace
} // namespace stellik::testing
