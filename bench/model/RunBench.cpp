// One answer's round trip through the engine, and a list page, as the test grows. An answer
// costs about the same whatever the size of the test; a list page grows with its questions.
#include "model/QuestionManager.h"
#include "model/TestDoc.h"
#include "platform/Convert.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace stellik;

// count single-choice questions of three answers shown in document order: in one section, or
// in sections of perSection questions each.
std::unique_ptr<TTestDoc> MakeTest(int count, int perSection = 0) {
    RegisterQuestionKinds();
    auto doc = std::make_unique<TTestDoc>();
    TSection* section = nullptr;
    for (int i = 0; i < count; ++i) {
        if (section == nullptr || (perSection > 0 && i % perSection == 0)) {
            section = doc->AddSection(-1);
            section->AllRandom = false;
        }
        TQuestion* question = doc->AddQuestion(0, -1);
        question->Content.AddText(u"<p>Question text of a typical length, with some markup.</p>");
        for (int a = 0; a < 3; ++a) {
            TAnswer* answer = question->AddAnswer();
            answer->Points = a == 0 ? 1 : 0;
            answer->Text = u"An answer";
        }
        section->AllPool.Add(i);
    }
    return doc;
}

// BufferAnswer, SubmitAnswers (which rates the test, moves on and writes the run document).
void AnswerRoundTrip(benchmark::State& state, int perSection) {
    const int count = static_cast<int>(state.range(0));
    auto doc = MakeTest(count, perSection);
    doc->StartRun(RunModeStep, 0);
    int next = 0;
    for (auto _ : state) {
        if (next == count) {
            state.PauseTiming();
            doc->StartRun(RunModeStep, 0);
            next = 0;
            state.ResumeTiming();
        }
        doc->BufferAnswer(IntToStrW(next), u"0", u"1");
        doc->SubmitAnswers();
        ++next;
        benchmark::DoNotOptimize(doc->GetOutput().data());
    }
    state.SetComplexityN(count);
}

void BM_AnswerRoundTrip(benchmark::State& state) {
    AnswerRoundTrip(state, 0);
}

// The same with one question per section: every answer finishes a section and opens the next.
void BM_AnswerRoundTripSectionEach(benchmark::State& state) {
    AnswerRoundTrip(state, 1);
}

// A list page: the engine writes every open question of the test on one page.
void BM_ListPage(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    auto doc = MakeTest(count);
    doc->StartRun(RunModeList, 0);
    for (auto _ : state) {
        doc->SkipQuestion(); // rates, writes the whole page again, rewrites the document
        benchmark::DoNotOptimize(doc->GetOutput().data());
    }
    state.counters["lines"] = static_cast<double>(doc->GetOutput().size());
    state.SetComplexityN(count);
}

BENCHMARK(BM_AnswerRoundTrip)->RangeMultiplier(10)->Range(10, 10000)->Complexity();
BENCHMARK(BM_AnswerRoundTripSectionEach)->RangeMultiplier(10)->Range(10, 10000)->Complexity();
BENCHMARK(BM_ListPage)->RangeMultiplier(10)->Range(10, 10000)->Complexity();

} // namespace
