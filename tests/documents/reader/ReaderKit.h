// tests/documents/reader/ReaderKit.h -- reading test documents and looking into the results
#pragma once

#include "documents/TestParser.h"
#include "model/TestDoc.h"
#include "xml/XpObjModel.h"

#include <map>
#include <string>
#include <vector>

namespace stellik::testing {

std::string DataPath(const std::string& name); // a document of tests/documents/reader/data

// A reader whose DTD requests are answered from the resources folder and remembered.
class TReaderKit {
public:
    TReaderKit();
    // Reads the bytes into Doc; returns the encoding name.
    std::string Read(const std::string& bytes);
    std::string ReadFile(const std::string& name);
    // The message of the exception the bytes raise; "" when they are read without one.
    std::string Error(const std::string& bytes);

    TTestParserObj Parser;
    TTestDoc Doc;
    std::vector<std::u16string> Requests; // the DTD names asked for
};

// A document of the format around the given content of the test element.
std::string TestXml(const std::string& content, const std::string& dtd = "XTF_v1p2.dtd");
// The same with one question list and what follows it.
std::string QuestionsXml(const std::string& questions, const std::string& rest = "",
                         const std::string& dtd = "XTF_v1p2.dtd");

// The engine's output lines loaded as a document, for XPath checks.
class TOutputDoc {
public:
    explicit TOutputDoc(const TWideStrings& lines);
    std::string Text(const std::string& path) const; // string value, blanks trimmed
    int Count(const std::string& path) const;
    std::vector<std::string> Values(const std::string& path) const; // each node's string value

private:
    TXpObjModel Model;
};

// The answers to give: question index -> (answer position, value) pairs.
using TAnswerKey = std::map<int, std::vector<std::pair<int, std::u16string>>>;

struct TRunTrace {
    std::vector<std::string> Messages; // texts of the message pages, in order
    std::vector<int> Questions;        // question indexes in the order they were shown
};

// Runs the test in the given mode at level 0, answering every shown question from the key and
// acknowledging every message page, until the run stops; then writes the report.
TRunTrace RunToReport(TTestDoc& doc, uint8_t mode, const TAnswerKey& key);

} // namespace stellik::testing
