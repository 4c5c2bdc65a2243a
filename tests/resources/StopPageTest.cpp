// The stop page: title by reason, the result lines, the report button, the save picture.
#include "PageDocs.h"
#include "StyleKit.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

std::string StopDoc(const std::string& reason, const TSummarySpec& summary = {}) {
    return RunDoc("step", Lines({"<test-stop>", "<" + reason + "/>", "</test-stop>"}), summary);
}

std::string Row(const THtml& page, const std::string& label) {
    return page.Text("//tr[td[1]='" + label + "']/td[2]");
}

TEST(StopPage, TitleAndTimeLineFollowTheReasonAndTheLimit) {
    TSummarySpec limited;
    limited.Total = "00:30:00";
    limited.Pass = "00:30:00";
    const struct {
        std::string Reason;
        TSummarySpec Summary;
        std::string Title;
        std::string Time;
        std::string SavedAs;
    } cases[] = {
        {"time-out", limited, "Время истекло", "00:30:00 из 00:30:00", "stop-time-out"},
        {"test-end", {}, "Тест завершен", "00:01:15", "stop-test-end"},
        {"test-end", limited, "Тест завершен", "00:30:00 из 00:30:00", ""},
    };
    for (const auto& c : cases) {
        const THtml page(Transform(StopDoc(c.Reason, c.Summary), {}, c.SavedAs));
        EXPECT_EQ(page.Text("//td[@background='centertop_gif']"), c.Title + Nbsp);
        EXPECT_EQ(Row(page, "Затрачено времени:"), c.Time);
        EXPECT_EQ(page.Count("//td[@background='topbar_gif']"), 0); // no run bar
        EXPECT_EQ(page.Count("//form[@action='stellik://cmd/testinput']"), 0);
    }
}

TEST(StopPage, EachResultLineHasItsParameter) {
    TSummarySpec marked;
    marked.Mark = "хорошо";
    const std::vector<std::string> labels = {"Пройдено вопросов:", "Пройдено секций:",
                                             "Набрано баллов:", "Затрачено времени:", "Оценка:"};
    const std::vector<std::string> values = {"1 из 3", "0 из 2", "2 из 5", "00:01:15", "хорошо"};
    const char* params[] = {"end-question-info", "end-section-info", "end-rating-info",
                            "end-time-info", "end-mark"};
    {
        const THtml page(Transform(StopDoc("test-end", marked)));
        EXPECT_EQ(page.Texts("//tr[count(td)=2]/td[1][normalize-space()]"), labels);
        EXPECT_EQ(page.Texts("//tr[count(td)=2][td[1][normalize-space()]]/td[2]"), values);
        EXPECT_EQ(page.Text("//td[.='Пройдено вопросов:']/@width"), "170");
    }
    for (size_t off = 0; off < std::size(params); ++off) {
        const THtml page(Transform(StopDoc("test-end", marked), {{params[off], "0"}}));
        for (size_t i = 0; i < labels.size(); ++i) {
            EXPECT_EQ(Row(page, labels[i]), i == off ? "" : values[i]) << params[off];
        }
    }
    // Without a mark in the summary there is no mark line, whatever the parameter says.
    const THtml unmarked(Transform(StopDoc("test-end"), {{"end-mark", "1"}}));
    EXPECT_EQ(unmarked.Count("//td[.='Оценка:']"), 0);
    // Markup in a mark (escaped in the run document) is shown as text.
    TSummarySpec markup;
    markup.Mark = "&lt;i&gt;5&lt;/i&gt; &amp; +";
    const THtml escaped(Transform(StopDoc("test-end", markup)));
    EXPECT_EQ(Row(escaped, "Оценка:"), "<i>5</i> & +");
    EXPECT_EQ(escaped.Count("//tr[td[1]='Оценка:']/td[2]//*"), 0);
}

// Labels and values alike are plain text in the page's colour: blue is for headings.
TEST(StopPage, ResultLinesArePlainText) {
    TSummarySpec marked;
    marked.Mark = "хорошо";
    const THtml page(Transform(StopDoc("test-end", marked)));
    const std::string cells = ResultCells;
    ASSERT_EQ(page.Count(cells), 10);
    EXPECT_EQ(page.Count(cells + "/ancestor-or-self::*[contains(@style, 'color') or "
                                 "contains(@style, 'bold') or @color]"),
              0);
    EXPECT_EQ(page.Count(cells + "//*[self::b or self::font or @style]"), 0);
}

TEST(StopPage, ReportButtonAndSavePictureFollowTheirParameters) {
    const std::string reportForm = "//form[@action='stellik://cmd/lastreport']";
    const std::string saveLink = "//a[@href='stellik://cmd/saveresults']";
    {
        const THtml page(Transform(StopDoc("test-end")));
        EXPECT_EQ(page.Count(reportForm), 1);
        EXPECT_EQ(page.Count(reportForm + "[@method]"), 0); // a plain request
        EXPECT_EQ(page.Text(reportForm + "/input[@type='submit']/@id"), "Submit1");
        EXPECT_EQ(page.Count(reportForm + "/input[@name]"), 0);
        EXPECT_EQ(page.Text(reportForm + "/input/@value"), "Протокол тестирования");
        EXPECT_EQ(page.Count(saveLink), 0);
    }
    const THtml page(Transform(StopDoc("time-out"),
                               {{"report-view-allow", "0"}, {"save-result-required", "1"}},
                               "stop-save"));
    EXPECT_EQ(page.Count(reportForm), 0);
    EXPECT_EQ(page.Text("//td[@background='topbar_gif'][@height='49']" + saveLink + "/img/@src"),
              "saveresultbtn_gif");
    EXPECT_EQ(page.Text(saveLink + "/img/@border"), "0");
    // The save bar comes first, then the panel.
    EXPECT_EQ(page.Count("/html/body/table/tr[1]//a[@href='stellik://cmd/saveresults']"), 1);
    EXPECT_EQ(page.Count("/html/body/table/tr[2]//td[@background='centertop_gif']"), 1);
}

} // namespace
} // namespace stellik::testing
