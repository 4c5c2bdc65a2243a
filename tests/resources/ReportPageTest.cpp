// The report page: its numbered parts, the results by section and the protocol.
#include "PageDocs.h"
#include "StyleKit.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

const std::string Headings = "//div[contains(@style, 'bold')][contains(@style, '#3557B4')]"
                             "[not(contains(., 'Вопрос'))]";

std::string Choice(int number, int percent, const std::string& values, const std::string& rights) {
    std::string items;
    for (size_t i = 0; i < values.size(); ++i) {
        items += Item("<answ-output type=\"check\" owner-id=\"" + std::to_string(number) +
                      "\" id=\"" + std::to_string(i) + "\" number=\"" + std::to_string(i + 1) +
                      "\"" + (rights.empty() ? "" : " right=\"" + rights.substr(i, 1) + "\"") +
                      " maxrating=\"1\">\r\n" + values.substr(i, 1) + "\r\n</answ-output>");
    }
    return Question(number, Custom("Выбор", items), percent);
}

std::string Typed(int number, int percent, const std::vector<std::string>& values,
                  const std::vector<std::string>& rights) {
    std::string items;
    for (size_t i = 0; i < values.size(); ++i) {
        items += Item("<answ-output type=\"text\" owner-id=\"" + std::to_string(number) +
                      "\" id=\"" + std::to_string(i) + "\" number=\"" + std::to_string(i + 1) +
                      "\"" + (rights.empty() ? "" : " right=\"" + rights[i] + "\"") + ">" +
                      values[i] + "</answ-output>");
    }
    return Question(number, Custom("Ввод", items), percent);
}

std::string TwoSections(const std::string& sectionMark = "") {
    return Section(1, "Механика", Choice(1, 100, "101", "101"),
                   ObjectSummary(100, 1, 1, sectionMark)) +
           Section(2, "Оптика", Typed(2, 0, {"7", "b&amp;c"}, {"1..5", "a&amp;b"}),
                   ObjectSummary(0, 1, 2));
}

TEST(ReportPage, PartsAreNumberedByWhichOfThemArePresent) {
    TSummarySpec marked;
    marked.Mark = "хорошо";
    const std::string protocol = "Протокол тестирования";
    const std::string results = "Результаты тестирования";
    const std::string bySection = "Результаты тестирования по секциям";
    const struct {
        std::string Body;
        TSummarySpec Summary;
        TParams Params;
        std::vector<std::string> Parts;
    } cases[] = {
        // Defaults, no mark: the results part has nothing to show.
        {TwoSections(), {}, {}, {"1. " + bySection, "2. " + protocol}},
        // One section: no results by section.
        {Section(1, "Механика", Choice(1, 100, "1", "1")), {}, {}, {"1. " + protocol}},
        {TwoSections(), marked, {}, {"1. " + results, "2. " + bySection, "3. " + protocol}},
        {TwoSections(),
         {},
         {{"rep-time-info", "1"},
          {"rep-insect-question-info", "0"},
          {"rep-insect-rating-info", "0"}},
         {"1. " + results, "2. " + protocol}},
        // The per-section mark alone counts only when the test itself has a mark.
        {TwoSections("хорошо"),
         {},
         {{"rep-insect-question-info", "0"}, {"rep-insect-rating-info", "0"}},
         {"1. " + protocol}},
        {TwoSections(), {}, {{"rep-mark", "0"}}, {"1. " + bySection, "2. " + protocol}},
    };
    for (const auto& c : cases) {
        const THtml page(Transform(ResultsDoc(c.Body, c.Summary), c.Params));
        EXPECT_EQ(page.Texts(Headings), c.Parts) << c.Parts.front();
    }
}

TEST(ReportPage, ResultsOfTheTestInTheirOrder) {
    TSummarySpec summary;
    summary.Mark = "хорошо";
    summary.Total = "00:30:00";
    const THtml page(Transform(ResultsDoc(TwoSections(), summary),
                               {{"rep-question-info", "1"},
                                {"rep-section-info", "1"},
                                {"rep-rating-info", "1"},
                                {"rep-time-info", "1"}},
                               "report-full"));
    const std::string table = "//div[.='1. Результаты тестирования']/following-sibling::table[1]";
    EXPECT_EQ(page.Texts(table + "/tr/td[1]"),
              (std::vector<std::string>{"Пройдено вопросов:", "Пройдено Секций:",
                                        "Затрачено времени:", "Набрано баллов:", "Оценка:"}));
    EXPECT_EQ(
        page.Texts(table + "/tr/td[2]"),
        (std::vector<std::string>{"1 из 3", "0 из 2", "00:01:15 из 00:30:00", "2 из 5", "хорошо"}));
    EXPECT_EQ(page.Text(table + "/tr[1]/td[1]/@width"), "180");
    EXPECT_EQ(page.Text("//td[@background='centertop_gif']"), "Протокол тестирования" + Nbsp);
    EXPECT_EQ(page.Text("//td[@background='lefttop_gif']"), Repeat(Nbsp, 10));
}

TEST(ReportPage, ResultsBySectionWithEachSectionsOwnValues) {
    TSummarySpec summary;
    summary.Mark = "хорошо";
    const THtml page(Transform(ResultsDoc(TwoSections("отлично"), summary)));
    EXPECT_EQ(page.Texts("//div[starts-with(., 'Секция')]"),
              (std::vector<std::string>{"Секция №1. \"Механика\"", "Секция №2. \"Оптика\""}));
    const std::string first = "//div[.='Секция №1. \"Механика\"']/following-sibling::table[1]";
    EXPECT_EQ(page.Texts(first + "/tr/td[2]"),
              (std::vector<std::string>{"1 из 1", "10 из 10", "отлично"}));
    const std::string second = "//div[.='Секция №2. \"Оптика\"']/following-sibling::table[1]";
    EXPECT_EQ(page.Texts(second + "/tr/td[1]"),
              (std::vector<std::string>{"Пройдено вопросов:", "Набрано баллов:"}));
    EXPECT_NE(page.Text(first + "/@style").find("margin:4px 0 6px 10px"), std::string::npos);

    const THtml noMarks(Transform(ResultsDoc(TwoSections("отлично"), summary),
                                  {{"rep-insect-mark", "0"}, {"rep-insect-rating-info", "0"}}));
    EXPECT_EQ(noMarks.Texts(first + "/tr/td[1]"), (std::vector<std::string>{"Пройдено вопросов:"}));
}

// Only the headings are blue (and bold): result lines, their values and the lines naming
// the sections are plain text in the page's colour.
TEST(ReportPage, OnlyHeadingsAreBlue) {
    TSummarySpec summary;
    summary.Mark = "хорошо";
    const THtml page(Transform(ResultsDoc(TwoSections("отлично"), summary),
                               {{"rep-question-info", "1"}, {"rep-rating-info", "1"}}));
    EXPECT_EQ(page.Texts(Headings),
              (std::vector<std::string>{"1. Результаты тестирования",
                                        "2. Результаты тестирования по секциям",
                                        "3. Протокол тестирования"}));
    const std::string plain = ResultCells + " | //div[starts-with(., 'Секция')]";
    ASSERT_EQ(page.Count(plain), 2 * 3 + 2 * 3 + 2 * 2 + 2);
    EXPECT_EQ(page.Count("(" + plain +
                         ")/ancestor-or-self::*[contains(@style, '#3557B4') or "
                         "contains(@style, 'bold') or @color]"),
              0);
    EXPECT_EQ(page.Count("(" + plain + ")//*[self::b or self::font or @style]"), 0);
    // The section lines keep their italics.
    EXPECT_NE(page.Text("//div[starts-with(., 'Секция')]/@style").find("italic"),
              std::string::npos);
}

TEST(ReportPage, NamesAndMarksWithMarkupAreShownAsText) {
    // As the report document holds them: escaped.
    TSummarySpec summary;
    summary.Mark = "&lt;i&gt;отлично&lt;/i&gt; &amp; +";
    const std::string body =
        Section(1, "&lt;b&gt;Механика&lt;/b&gt; &amp; свет", Choice(1, 100, "1", "1"),
                ObjectSummary(100, 1, 1, "&lt;u&gt;5&lt;/u&gt;")) +
        Section(2, "a &lt; b", Choice(2, 0, "0", "1"), ObjectSummary(0, 1, 1));
    const THtml page(Transform(ResultsDoc(body, summary)));
    EXPECT_EQ(page.Texts("//div[starts-with(., 'Секция')]"),
              (std::vector<std::string>{"Секция №1. \"<b>Механика</b> & свет\"",
                                        "Секция №2. \"a < b\""}));
    EXPECT_EQ(page.Text("//div[.='1. Результаты тестирования']/following-sibling::table[1]"
                        "/tr[td[1]='Оценка:']/td[2]"),
              "<i>отлично</i> & +");
    EXPECT_EQ(page.Text("//div[starts-with(., 'Секция №1')]/following-sibling::table[1]"
                        "/tr[td[1]='Оценка:']/td[2]"),
              "<u>5</u>");
    EXPECT_EQ(page.Count("//b | //i | //u"), 0);
}

TEST(ReportPage, ProtocolShowsMarkersGivenAndRightAnswers) {
    const std::string body =
        Section(1, "Механика",
                Choice(1, 100, "101", "101") + Choice(2, 50, "110", "101") +
                    Choice(3, 0, "000", "") + Typed(4, 0, {"7", "b&amp;c"}, {"1..5", "a&amp;b"}));
    const std::string given = "//span[preceding-sibling::span[1]='Дан ответ: ']";
    const std::string right = "//span[preceding-sibling::span[1]='Правильный ответ: ']";
    {
        const THtml page(Transform(ResultsDoc(body), {}, "report-protocol"));
        EXPECT_EQ(
            page.Texts("//img[contains(@src, 'marker')]/@src"),
            (std::vector<std::string>{"gmarker_gif", "ymarker_gif", "rmarker_gif", "rmarker_gif"}));
        EXPECT_EQ(page.Texts(given), (std::vector<std::string>{"a, c", "a, b", "", "7, b&c"}));
        // Question 3 has no right attributes: no line for it.
        EXPECT_EQ(page.Texts(right), (std::vector<std::string>{"a, c", "a, c", "1..5, a&b"}));
        EXPECT_EQ(page.Count("//hr[@noshade][@size='1'][@color='#355787']"), 8);
        EXPECT_EQ(page.Count("//div[contains(@style, 'height:10px')]"), 4);
        EXPECT_EQ(page.Text("//div[img[@src='gmarker_gif']]"), Nbsp + "Вопрос №1");
    }
    {
        // Fewer than no points: as wrong as none.
        const THtml page(Transform(ResultsDoc(Section(1, "Механика", Choice(1, -50, "1", "0")))));
        EXPECT_EQ(page.Texts("//img[contains(@src, 'marker')]/@src"),
                  std::vector<std::string>{"rmarker_gif"});
    }
    const THtml page(Transform(
        ResultsDoc(body),
        {{"question-right-marker", "0"}, {"rep-user-answer", "0"}, {"rep-right-answer", "0"}}));
    EXPECT_EQ(page.Count("//img[contains(@src, 'marker')]"), 0);
    EXPECT_EQ(page.Count(given), 0);
    EXPECT_EQ(page.Count(right), 0);
    EXPECT_EQ(page.Texts("//div[preceding-sibling::*[1][self::hr]][starts-with(., 'Вопрос')]"),
              (std::vector<std::string>{"Вопрос №1", "Вопрос №2", "Вопрос №3", "Вопрос №4"}));
}

TEST(ReportPage, SavePictureOnlyWhenSavingIsRequired) {
    const std::string link = "//a[@href='stellik://cmd/saveresults']/img[@src='saveresultbtn_gif']";
    EXPECT_EQ(THtml(Transform(ResultsDoc(TwoSections()))).Count(link), 0);
    const THtml page(Transform(ResultsDoc(TwoSections()), {{"save-result-required", "1"}}));
    EXPECT_EQ(page.Count("/html/body/table/tr[1]/td[@background='topbar_gif']" + link.substr(1)),
              1);
    EXPECT_EQ(page.Count("/html/body/table[@height]"), 0); // full width, not full height
}

} // namespace
} // namespace stellik::testing
