#include "PageDocs.h"

#include <string>

namespace stellik::testing {

namespace {

std::string Element(const std::string& name, const std::string& value) {
    return Lines({"<" + name + ">", value, "</" + name + ">"});
}

std::string Clock(const std::string& name, const std::string& hhmmss) {
    return Lines({"<" + name + ">", Element("hour", hhmmss.substr(0, 2)),
                  Element("min", hhmmss.substr(3, 2)), Element("sec", hhmmss.substr(6, 2)),
                  "</" + name + ">"});
}

std::string Rating(int current, int max, int percent) {
    return Lines({"<rating>", Element("max", std::to_string(max)),
                  Element("current", std::to_string(current)),
                  Element("in-percent", std::to_string(percent)), "</rating>"});
}

std::string Counts(const std::string& name, int answered, int count) {
    return Lines({"<" + name + ">", Element("count", std::to_string(count)),
                  Element("answered", std::to_string(answered)), "</" + name + ">"});
}

} // namespace

std::string Lines(std::initializer_list<std::string> lines) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) {
            text += "\r\n";
        }
        text += line;
    }
    return text;
}

std::string TestSummary(const TSummarySpec& spec) {
    std::string time = "<test-time>";
    if (!spec.Total.empty()) {
        time += "\r\n" + Clock("total", spec.Total);
    }
    time += "\r\n" + Clock("pass", spec.Pass);
    if (!spec.Total.empty()) {
        time += "\r\n" + Clock("left", spec.Left);
    }
    time += "\r\n</test-time>";
    return Lines({"<summary>", "<begin>",
                  Lines({"<date>", Element("day", "05"), Element("month", "03"),
                         Element("year", "2024"), "</date>"}),
                  Clock("time", "09:07:03"), "</begin>",
                  Counts("sections", spec.SectionsAnswered, spec.SectionsCount),
                  Counts("questions", spec.QuestionsAnswered, spec.QuestionsCount), time,
                  Rating(spec.RatingCurrent, spec.RatingMax, spec.Percent),
                  spec.Mark.empty() ? std::string() : Element("mark", spec.Mark), "</summary>"});
}

std::string ObjectSummary(int percent, int answered, int count, const std::string& mark) {
    return Lines({"<summary>", count < 0 ? std::string() : Counts("questions", answered, count),
                  Rating(percent / 10, 10, percent),
                  mark.empty() ? std::string() : Element("mark", mark), "</summary>"});
}

std::string Section(int number, const std::string& name, const std::string& body,
                    const std::string& summary) {
    return Lines({"<section-out number=\"" + std::to_string(number) + "\" id=\"" +
                      std::to_string(number - 1) + "\" >",
                  name.empty() ? std::string() : Element("section-name", name), summary, body,
                  "</section-out>"});
}

std::string Question(int number, const std::string& content, int percent) {
    return Lines({"<question-out number=\"" + std::to_string(number) + "\" id=\"" +
                      std::to_string(number + 10) + "\">",
                  ObjectSummary(percent), content, "</question-out>"});
}

std::string Custom(const std::string& qText, const std::string& items, const std::string& layout) {
    return Lines({"<custom-out>", Element("q-text", qText), "<answ-box layout=\"" + layout + "\">",
                  items, "</answ-box>", "</custom-out>"});
}

std::string Item(const std::string& tag, const std::string& answerText) {
    return Lines({"<item>", tag,
                  answerText.empty() ? std::string() : Element("answ-text", answerText),
                  "</item>"});
}

std::string Input(const std::string& type, int ownerId, int id, int number) {
    return "<answ-input type=\"" + type + "\" owner-id=\"" + std::to_string(ownerId) + "\" id=\"" +
           std::to_string(id) + "\" number=\"" + std::to_string(number) + "\"/>";
}

std::string RunDoc(const std::string& mode, const std::string& body, const TSummarySpec& summary,
                   const std::string& testName) {
    return Lines({"<?xml version=\"1.0\" encoding=\"utf-8\"?>",
                  "<test-out mode=\"" + mode + "\" test-name=\"" + testName + "\">",
                  TestSummary(summary), body, "</test-out>"});
}

std::string ResultsDoc(const std::string& body, const TSummarySpec& summary) {
    return Lines({"<?xml version=\"1.0\" encoding=\"utf-8\"?>", "<test-results>",
                  "<test-stop-reason>", "test-end", "</test-stop-reason>",
                  "<user><first-name>Иван</first-name><last-name>Петров</last-name>"
                  "<patronymic-name/><additional-info/></user><test>Физика</test>",
                  TestSummary(summary), body, "</test-results>"});
}

} // namespace stellik::testing
