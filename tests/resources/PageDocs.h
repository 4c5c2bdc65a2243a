// tests/resources/PageDocs.h -- page documents written by hand the way the run engine writes
// them: one tag or value per line, so every value has line breaks around it
#pragma once

#include <initializer_list>
#include <string>

namespace stellik::testing {

// Lines joined by CR LF.
std::string Lines(std::initializer_list<std::string> lines);

struct TSummarySpec {
    int QuestionsAnswered = 1;
    int QuestionsCount = 3;
    int SectionsAnswered = 0;
    int SectionsCount = 2;
    int RatingCurrent = 2;
    int RatingMax = 5;
    int Percent = 40;
    std::string Pass = "00:01:15"; // hh:mm:ss
    std::string Total;             // hh:mm:ss of the limit; empty: no limit (and no "left")
    std::string Left = "00:28:45"; // written only with a limit
    std::string Mark;              // empty: no mark element
};

// The test's summary (begin, sections, questions, test-time, rating, mark).
std::string TestSummary(const TSummarySpec& spec = {});
// A section's or question's summary: questions (sections only), rating, mark.
std::string ObjectSummary(int percent, int answered = -1, int count = -1,
                          const std::string& mark = "");

// "<section-out number=.. id=.. >", the name (when not empty), the summary, body, close.
std::string Section(int number, const std::string& name, const std::string& body,
                    const std::string& summary = ObjectSummary(0, 0, 1));
// "<question-out number=.. id=..>", its summary, content, close.
std::string Question(int number, const std::string& content, int percent = 0);
// A custom layout: q-text, then the answer box of items (each item's lines given whole).
std::string Custom(const std::string& qText, const std::string& items,
                   const std::string& layout = "horizontal");
std::string Item(const std::string& tag, const std::string& answerText = "");
std::string Input(const std::string& type, int ownerId, int id, int number);

// A run document: declaration, "<test-out mode=.. test-name=..>", the summary, body, close.
std::string RunDoc(const std::string& mode, const std::string& body,
                   const TSummarySpec& summary = {}, const std::string& testName = "Физика");
// A results document (the report under "test-results", user and test before the summary).
std::string ResultsDoc(const std::string& body, const TSummarySpec& summary = {});

} // namespace stellik::testing
