// tests/resources/EngineRun.h -- page documents written by the run engine itself
#pragma once

#include "model/TestDoc.h"

#include <cstdint>
#include <string>

namespace stellik::testing {

// A small test of the five question kinds in two named sections, with marks from 50 and 90 %:
//   section 1 "Механика": 0 single (a right), 1 check (a, c right), 2 text in free layout;
//   section 2 "Оптика": 3 number (1..5 right), 4 box (values "красный", "синий").
// Answers are shown in document order.
class TEngineRun {
public:
    // mode: RunModeStep, RunModeList or RunModeStepMsg; minutes: the time limit (0: none).
    explicit TEngineRun(uint8_t mode, int minutes = 0);

    // The run document as the shell hands it to the stylesheet: UTF-8 declaration, the
    // test name on the root.
    std::string Page() const;
    // The report as the results document's root "test-results" (the user and test elements
    // are left out: the stylesheet does not look at them).
    std::string Report();

    void Answer(int question, int answer, const std::string& value);
    void Submit() { Doc.SubmitAnswers(); }
    void Skip() { Doc.SkipQuestion(); }

    TTestDoc Doc;
};

} // namespace stellik::testing
