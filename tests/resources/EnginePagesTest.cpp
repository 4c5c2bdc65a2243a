// Pages of documents that the run engine wrote: a whole run in each mode, then the report.
#include "EngineRun.h"
#include "StyleKit.h"

#include "model/OutManagers.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

const std::string Form = "//form[@action='stellik://cmd/testinput'][@method='post']";

TEST(EnginePages, StepRunWithATimeLimitFromFirstQuestionToTheStopPage) {
    TEngineRun run(RunModeStep, 30);
    {
        const THtml page(Transform(run.Page(), {}, "engine-step-single"));
        EXPECT_EQ(page.Text("//td[@background='centertop_gif']"), "Физика, 9 класс");
        EXPECT_EQ(page.Text("//td[@background='topbar_gif']"),
                  "пройдено вопросов: 0 из 5 | пройдено секций: 0 из 2 | набрано баллов: 0 "
                  "из 7 | времени осталось: ");
        EXPECT_EQ(page.Text("//img[@id='timer']/@src"), "stellik://system/timer.gif");
        EXPECT_EQ(page.Text(Form + "//div[1]"), "Секция №1: \"Механика\"");
        EXPECT_EQ(page.Texts(Form + "//input[@type='radio']/@value"),
                  (std::vector<std::string>{"0", "1", "2"}));
        EXPECT_EQ(page.Count(Form + "//input[@type='radio'][@name='ANSW/0']"), 3);
        EXPECT_EQ(page.Texts(Form + "//input[@type='submit']/@name"),
                  (std::vector<std::string>{"CMD/NEXT", "CMD/SKIP"}));
    }
    run.Answer(0, 0, "1");
    run.Submit();
    {
        const THtml page(Transform(run.Page(), {}, "engine-step-check"));
        EXPECT_EQ(page.Count(Form + "//input[@type='checkbox'][@name='ANSW/1']"), 4);
        EXPECT_EQ(page.Text(Form + "//b"), "векторные"); // markup of the question text
    }
    run.Answer(1, 0, "1");
    run.Answer(1, 2, "1");
    run.Submit();
    {
        const THtml page(Transform(run.Page(), {}, "engine-step-free"));
        const std::string field = Form + "//input[@type='text']";
        EXPECT_EQ(page.Text(field + "/@name"), "ANSW/2/0");
        EXPECT_EQ(page.Text(field + "/@value"), "");
        EXPECT_NE(page.BodyText().find("Закон всемирного тяготения открыл ."), std::string::npos);
    }
    run.Answer(2, 0, "Ньютон");
    run.Submit();
    run.Skip(); // the number question comes back after the box question
    {
        const THtml page(Transform(run.Page(), {}, "engine-step-box"));
        EXPECT_EQ(page.Texts(Form + "//select/@name"),
                  (std::vector<std::string>{"ANSW/4/0", "ANSW/4/1"}));
        EXPECT_EQ(page.Texts("(" + Form + "//select)[1]/option"),
                  (std::vector<std::string>{" ", "синий", "красный"}));
        EXPECT_EQ(page.Text(Form + "//div[1]"), "Секция №2: \"Оптика\"");
    }
    run.Answer(4, 0, "синий");
    run.Answer(4, 1, "синий");
    run.Submit();
    run.Answer(3, 0, "3");
    run.Submit();
    {
        const THtml page(Transform(run.Page(), {}, "engine-stop"));
        EXPECT_EQ(page.Count(Form), 0);
        EXPECT_EQ(page.Text("//td[@background='centertop_gif']"), "Тест завершен" + Nbsp);
        EXPECT_EQ(page.Text("//tr[td[1]='Пройдено вопросов:']/td[2]"), "5 из 5");
        EXPECT_EQ(page.Text("//tr[td[1]='Набрано баллов:']/td[2]"), "6 из 7");
        EXPECT_EQ(page.Text("//tr[td[1]='Оценка:']/td[2]"), "удовлетворительно");
        EXPECT_EQ(page.Text("//tr[td[1]='Затрачено времени:']/td[2]"), "00:00:00 из 00:30:00");
    }
    const THtml report(Transform(run.Report(), {}, "engine-report"));
    EXPECT_EQ(report.Texts(
                  "//div[preceding-sibling::*[1][self::hr] and following-sibling::*[1][self::hr]]"),
              (std::vector<std::string>{Nbsp + "Вопрос №1", Nbsp + "Вопрос №2", Nbsp + "Вопрос №3",
                                        Nbsp + "Вопрос №4", Nbsp + "Вопрос №5"}));
    EXPECT_EQ(report.Texts("//span[preceding-sibling::span[1]='Дан ответ: ']"),
              (std::vector<std::string>{"a", "a, c", "Ньютон", "3", "синий, синий"}));
    EXPECT_EQ(report.Texts("//span[preceding-sibling::span[1]='Правильный ответ: ']"),
              (std::vector<std::string>{"a", "a, c", "Ньютон", "1..5", "синий, красный"}));
    EXPECT_EQ(report.Texts("//img[contains(@src, 'marker')]/@src"),
              (std::vector<std::string>{"gmarker_gif", "gmarker_gif", "gmarker_gif", "gmarker_gif",
                                        "ymarker_gif"}));
    EXPECT_EQ(report.Texts("//div[contains(@style, 'bold')][starts-with(., '1. ') or "
                           "starts-with(., '2. ') or starts-with(., '3. ')]"),
              (std::vector<std::string>{"1. Результаты тестирования",
                                        "2. Результаты тестирования по секциям",
                                        "3. Протокол тестирования"}));
}

TEST(EnginePages, ListRunShowsEveryOpenQuestionWithoutSkipButton) {
    TEngineRun run(RunModeList);
    const THtml page(Transform(run.Page(), {}, "engine-list"));
    EXPECT_EQ(page.Texts(Form + "//div[contains(., 'Вопрос №')]"),
              (std::vector<std::string>{"Вопрос №1", "Вопрос №2", "Вопрос №3", "Вопрос №4",
                                        "Вопрос №5"}));
    EXPECT_EQ(page.Texts(Form + "//input[@type='submit']/@value"),
              (std::vector<std::string>{"Ответить"}));
    EXPECT_EQ(page.Count("//img[@id='timer']"), 0); // no time limit
}

} // namespace
} // namespace stellik::testing
