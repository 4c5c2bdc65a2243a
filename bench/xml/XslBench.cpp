// One page through the page stylesheet, compiled once: a step page, and list pages as the
// test grows; and, for comparison, compiling the stylesheet itself.
#include "model/QuestionManager.h"
#include "model/TestDoc.h"
#include "platform/Unicode.h"
#include "xml/XpObjModel.h"
#include "xml/XpXslProcessor.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace {

using namespace stellik;

std::string StyleText() {
    std::ifstream file(std::string(STELLIK_SOURCE_DIR) + "/resources/view_style.xsl",
                       std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

// count single-choice questions of three answers in one section, in document order.
std::unique_ptr<TTestDoc> MakeTest(int count) {
    RegisterQuestionKinds();
    auto doc = std::make_unique<TTestDoc>();
    doc->Name = u"Benchmark";
    TSection* section = doc->AddSection(-1);
    section->Name = u"Section";
    section->AllRandom = false;
    for (int i = 0; i < count; ++i) {
        TQuestion* question = doc->AddQuestion(0, -1);
        question->Content.AddText(u"<p>Question text of a typical length, with <b>some</b> "
                                  u"markup.</p>");
        for (int a = 0; a < 3; ++a) {
            TAnswer* answer = question->AddAnswer();
            answer->Points = a == 0 ? 1 : 0;
            answer->Text = u"An answer";
        }
        section->AllPool.Add(i);
    }
    return doc;
}

// The run document as the page document: text as written, the test name on the root.
void LoadPage(const TTestDoc& doc, TXpObjModel& page) {
    std::u16string text;
    for (const std::u16string& line : doc.GetOutput()) {
        text += line + u"\r\n";
    }
    page.SetNormalizeData(false);
    if (!page.LoadText(text)) {
        throw std::runtime_error("run document does not load");
    }
    page.DocumentElement().SetAttribute(u"test-name", doc.Name);
}

void Transform(benchmark::State& state, uint8_t mode, int count) {
    auto doc = MakeTest(count);
    doc->StartRun(mode, 0);
    TXpObjModel page;
    LoadPage(*doc, page);
    TXpXSLProcessor processor;
    processor.StyleData(StyleText());
    processor.SetParameter(u"skipbtn", u"1");
    for (auto _ : state) {
        if (!processor.ApplyStyle(page)) {
            state.SkipWithError("transformation failed");
            break;
        }
        benchmark::DoNotOptimize(processor.Filter.GetHtml().data());
    }
    state.counters["html_kB"] = static_cast<double>(processor.Filter.GetHtml().size()) / 1024;
    state.SetComplexityN(count);
}

void BM_StepPage(benchmark::State& state) {
    Transform(state, RunModeStep, 10);
}

void BM_ListPage(benchmark::State& state) {
    Transform(state, RunModeList, static_cast<int>(state.range(0)));
}

// What preparing the stylesheet costs: paid once per program run.
void BM_CompileStylesheet(benchmark::State& state) {
    const std::string text = StyleText();
    for (auto _ : state) {
        TXpXSLProcessor processor;
        processor.StyleData(text);
        benchmark::DoNotOptimize(processor.HasStyle());
    }
}

BENCHMARK(BM_StepPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListPage)
    ->RangeMultiplier(10)
    ->Range(10, 1000)
    ->Complexity()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompileStylesheet)->Unit(benchmark::kMicrosecond);

} // namespace
