// A test of ten thousand questions in list mode: every question on one page, answered in one
// submit, then the stop page and the report. The player keeps working at that size.
#include "ShellKit.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

constexpr int QuestionCount = 10000;

// Single choices, text answers and multiple choices in turn, all in one section.
std::string LargeTestXml() {
    std::string questions;
    std::string ids;
    for (int i = 0; i < QuestionCount; ++i) {
        const std::string id = "q" + std::to_string(i);
        switch (i % 3) {
        case 0:
            questions += "<single id=\"" + id + "\" random=\"n\">Вопрос " + std::to_string(i) +
                         "<answer rating=\"1\" right=\"y\">да</answer>"
                         "<answer rating=\"0\">нет</answer></single>\n";
            break;
        case 1:
            questions += "<text id=\"" + id +
                         "\" rating=\"1\" random=\"n\" format=\"free\">Слово " + std::to_string(i) +
                         " <answer right=\"слово\"/></text>\n";
            break;
        default:
            questions += "<check id=\"" + id + "\" random=\"n\">Выбор" +
                         "<answer rating=\"1\" right=\"y\">а</answer>"
                         "<answer rating=\"1\" right=\"y\">б</answer>"
                         "<answer rating=\"0\">в</answer></check>\n";
        }
        ids += (i > 0 ? " " : "") + id;
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE test SYSTEM \"XTF_v1p2.dtd\">\n<test><name>Большой тест</name><questions>\n" +
           questions +
           "</questions><selector><section id=\"all\"><name>Все</name><allout idref=\"" + ids +
           "\" random=\"n\"/></section></selector></test>";
}

TEST(LargeRun, TenThousandQuestionsInListModeRunToTheReport) {
    TShellKit kit(KitSettingsXml("<view-profile><base-params><test-run-mode>list</test-run-mode>"
                                 "<show-results/><show-report/></base-params></view-profile>"),
                  LargeTestXml());
    ASSERT_EQ(kit.StartError(), "");
    ASSERT_EQ(kit.Doc().Questions.GetCount(), QuestionCount);

    kit.Click("runtest");
    ASSERT_EQ(kit.View.Pages.size(), 2U);
    EXPECT_EQ(kit.PageText(u"count(//question-out)"), std::to_string(QuestionCount));
    EXPECT_GT(kit.View.Pages.back().size(), static_cast<size_t>(QuestionCount) * 100);

    // Every question answered right in one submit.
    TFormFields fields;
    for (int i = 0; i < QuestionCount; ++i) {
        const std::string index = std::to_string(i);
        switch (i % 3) {
        case 0:
            fields.emplace_back("ANSW/" + index, "0");
            break;
        case 1:
            fields.emplace_back("ANSW/" + index + "/0", "слово");
            break;
        default:
            fields.emplace_back("ANSW/" + index, "0");
            fields.emplace_back("ANSW/" + index, "1");
        }
    }
    fields.emplace_back("CMD/NEXT", "Ответить");
    kit.Submit("testinput", fields);
    EXPECT_FALSE(kit.Doc().IsRunning());
    EXPECT_EQ(kit.Doc().AnsweredQuestions, QuestionCount);
    EXPECT_NE(kit.PageText(u"name(//test-stop/*[1])"), "");

    kit.Click("lastreport");
    EXPECT_EQ(kit.View.Pages.size(), 4U);
    EXPECT_GT(kit.View.Pages.back().size(), static_cast<size_t>(QuestionCount) * 10);
}

} // namespace
} // namespace stellik::testing
