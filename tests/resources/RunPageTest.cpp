// Run and message pages: the top bar, the panel, the answer form and its buttons.
#include "PageDocs.h"
#include "StyleKit.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

const std::string Bar = "//td[@background='topbar_gif']";
const std::string Form = "//form[@action='stellik://cmd/testinput'][@method='post']";

std::string OneQuestion(const std::string& sectionName = "Механика") {
    return Section(1, sectionName,
                   Question(1, Custom("Сколько?", Item(Input("single", 0, 0, 1), "один") +
                                                      Item(Input("single", 0, 1, 2), "два"))));
}

std::string Message() {
    return Lines({"<message-out>", "<p>Верно, <span>молодец</span>!</p>", "</message-out>"});
}

TEST(RunPage, TopBarHoldsTheItemsThatAreOnWithSeparatorsBetween) {
    TSummarySpec limited;
    limited.Total = "00:30:00";
    const TSummarySpec unlimited;
    const std::string all = "пройдено вопросов: 1 из 3 | пройдено секций: 0 из 2 | "
                            "набрано баллов: 2 из 5";
    const struct {
        TParams Params;
        TSummarySpec Summary;
        std::string Text;
        bool Timer;
    } cases[] = {
        {{}, limited, all + " | времени осталось: ", true},
        {{}, unlimited, all, false},
        {{{"run-question-info", "0"}, {"run-section-info", "0"}},
         limited,
         "набрано баллов: 2 из 5 | времени осталось: ",
         true},
        {{{"run-question-info", "0"}, {"run-rating-info", "0"}},
         unlimited,
         "пройдено секций: 0 из 2",
         false},
        {{{"run-question-info", "0"}, {"run-rating-info", "0"}},
         limited,
         "пройдено секций: 0 из 2 | времени осталось: ",
         true},
        {{{"run-question-info", "0"}, {"run-section-info", "0"}, {"run-rating-info", "0"}},
         limited,
         "времени осталось: ",
         true},
        {{{"run-time-left", "0"}}, limited, all, false},
        {{{"run-question-info", "0"},
          {"run-section-info", "0"},
          {"run-rating-info", "0"},
          {"run-time-left", "0"}},
         limited,
         "",
         false},
    };
    int n = 0;
    for (const auto& c : cases) {
        const THtml page(Transform(RunDoc("step", OneQuestion(), c.Summary), c.Params,
                                   n++ == 0 ? "run-step" : ""));
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(page.Count(Bar), 1);
        EXPECT_EQ(page.Text(Bar + "/@height"), "49");
        EXPECT_EQ(page.Text(Bar), c.Text);
        EXPECT_EQ(page.Count(Bar + "/img"), c.Timer ? 1 : 0);
        if (c.Timer) {
            EXPECT_EQ(page.Text(Bar + "/img/@id"), "timer");
            EXPECT_EQ(page.Text(Bar + "/img/@src"), "stellik://system/timer.gif");
        }
    }
}

TEST(RunPage, ButtonsFollowThePageKindTheModeAndSkipbtn) {
    using TButtons = std::vector<std::string>;
    const TButtons both = {"CMD/NEXT=Ответить", "CMD/SKIP=Пропустить"};
    const TButtons answerOnly = {"CMD/NEXT=Ответить"};
    const struct {
        std::string Mode;
        std::string Body;
        TParams Params;
        TButtons Buttons;
        std::string SavedAs;
    } cases[] = {
        {"step", OneQuestion(), {}, both, ""},
        {"stepmsg", OneQuestion(), {{"skipbtn", "1"}}, both, ""},
        {"list", OneQuestion(), {}, answerOnly, ""},
        {"step", OneQuestion(), {{"skipbtn", "0"}}, answerOnly, ""},
        {"stepmsg", OneQuestion(), {{"skipbtn", "yes"}}, answerOnly, ""},
        {"stepmsg", Message(), {}, {"CMD/NEXT=ОК"}, "run-message"},
    };
    for (const auto& c : cases) {
        const THtml page(Transform(RunDoc(c.Mode, c.Body), c.Params, c.SavedAs));
        SCOPED_TRACE(c.Mode + " " + c.Body.substr(0, 20));
        TButtons buttons;
        const auto names = page.Texts(Form + "//input[@type='submit']/@name");
        const auto values = page.Texts(Form + "//input[@type='submit']/@value");
        ASSERT_EQ(names.size(), values.size());
        for (size_t i = 0; i < names.size(); ++i) {
            buttons.push_back(names[i] + "=" + values[i]);
        }
        EXPECT_EQ(buttons, c.Buttons);
        // Every run page has the top bar and the panel titled with the test name.
        EXPECT_EQ(page.Count(Bar), 1);
        EXPECT_EQ(page.Text("//td[@background='centertop_gif']"), "Физика");
    }
}

TEST(RunPage, RunPanelIsWideWithTenSpacesInItsTopCorners) {
    const THtml page(Transform(RunDoc("list", OneQuestion())));
    const std::string panel = "//table[tr/td[@background='centertop_gif']]";
    EXPECT_EQ(page.Text(panel + "/@width"), "94%");
    EXPECT_EQ(page.Text(panel + "//td[@background='lefttop_gif']"), Repeat(Nbsp, 10));
    EXPECT_EQ(page.Text(panel + "//td[@background='righttop_gif']"), Repeat(Nbsp, 10));
    EXPECT_EQ(page.Text(panel + "//td[@background='leftbottom_gif']"), Nbsp);
    EXPECT_EQ(page.Text(panel + "//td[@bgcolor='#E6E9F0']//form/@action"),
              "stellik://cmd/testinput");
}

TEST(RunPage, SectionLineNeedsItsParameterAndAName) {
    const struct {
        TParams Params;
        std::string Name; // as the run document holds it: escaped
        std::string Line; // empty: no line
    } cases[] = {
        {{}, "Оптика", "Секция №1: \"Оптика\""},
        {{{"run-section-name", "0"}}, "Оптика", ""},
        {{}, "", ""},
        // Markup in a name is shown as text.
        {{}, "&lt;b&gt;Оптика&lt;/b&gt; &amp; свет", "Секция №1: \"<b>Оптика</b> & свет\""},
    };
    for (const auto& c : cases) {
        const THtml page(Transform(RunDoc("step", OneQuestion(c.Name)), c.Params));
        const std::string line = Form + "//div[starts-with(., 'Секция')]";
        EXPECT_EQ(page.Count(line), c.Line.empty() ? 0 : 1) << c.Name;
        if (!c.Line.empty()) {
            EXPECT_EQ(page.Text(line), c.Line);
            EXPECT_EQ(page.Count(line + "/*"), 0);
            EXPECT_NE(page.Text(line + "/@style").find("italic"), std::string::npos);
        }
    }
}

TEST(RunPage, QuestionHeadingAndSpacerAroundItsContent) {
    const THtml page(Transform(
        RunDoc("list", Section(1, "", Question(7, Custom("Текст", "")) + Question(8, "")))));
    EXPECT_EQ(page.Texts(Form + "//div[starts-with(., 'Вопрос')]"),
              (std::vector<std::string>{"Вопрос №7", "Вопрос №8"}));
    EXPECT_NE(page.Text(Form + "//div[.='Вопрос №7']/@style").find("bold"), std::string::npos);
    EXPECT_NE(page.Text(Form + "//div[.='Вопрос №7']/@style").find("#3557B4"), std::string::npos);
    EXPECT_EQ(page.Count(Form + "//div[.='" + Nbsp + "'][contains(@style, 'height:20px')]"), 2);
    // The question's summary values never reach the page.
    EXPECT_EQ(page.BodyText().find("10"), std::string::npos);
}

TEST(RunPage, MessagePageShowsTheMessageTextOnly) {
    const THtml page(Transform(RunDoc("stepmsg", Message())));
    EXPECT_EQ(page.Text(Form + "//p"), "Верно, молодец!");
    EXPECT_EQ(page.Count("//span"), 0);
    EXPECT_EQ(page.Count(Form + "//div[starts-with(., 'Вопрос')]"), 0);
}

TEST(RunPage, NothingToShowGivesAnEmptyTable) {
    const THtml page(Transform(RunDoc("step", "")));
    EXPECT_EQ(page.Count("/html/body/table"), 1);
    EXPECT_EQ(page.Count("/html/body/table//tr"), 0);
    EXPECT_EQ(page.BodyText(), "");
}

} // namespace
} // namespace stellik::testing
