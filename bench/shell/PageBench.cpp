// One page as the user waits for it: the engine's output lines to the HTML the view shows
// (read the lines, mark the page, transform, write HTML), beside libxslt alone applying the
// same compiled stylesheet to the same parsed page document. A step page shows one question;
// list pages show 10, 100 and 1,000, and the cost grows with them in a straight line.
#include "BenchWindow.h"

#include "model/QuestionManager.h"
#include "platform/Resources.h"
#include "shell/MainFrm.h"
#include "shell/OutputDocument.h"
#include "xml/XmlHandles.h"
#include "xml/XpFilterHtml.h"
#include "xml/XpXslHandles.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

namespace {

using namespace stellik;
using namespace stellik::bench;

std::string Stylesheet() {
    std::ifstream file(STELLIK_SOURCE_DIR "/resources/view_style.xsl", std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A window whose test has count questions of three answers, each with a picture, in one
// section, and whose settings give every stylesheet parameter.
struct TPageFixture {
    explicit TPageFixture(int count, uint8_t mode) : Frame(View, Dialogs, Services) {
        TResources::Install({{"VIEW_STYLE", Stylesheet()}});
        RegisterQuestionKinds();
        Services.TransformProcessor = std::make_unique<TTransformProcessor>();
        TMemoryStream settings("<sk-settings><test-time>30</test-time></sk-settings>");
        Frame.ApplySettings(settings);
        TTestDoc& doc = Frame.GetTestDoc();
        AddPlainSection(
            doc, count,
            [](int) {
                return u"<p>Question text of a typical length, with <b>some</b> markup and a "
                       u"picture <img src=\"map.gif\"/>.</p>";
            },
            u"An answer of a few words");
        doc.TestTime = 30.0 / (24 * 60);
        doc.StartRun(mode, 0);
    }

    TNullView View;
    TNullDialogs Dialogs;
    TServiceModules Services;
    TMainFrm Frame;
};

void BM_RunPage(benchmark::State& state, uint8_t mode) {
    TPageFixture fixture(static_cast<int>(state.range(0)), mode);
    for (auto _ : state) {
        fixture.Frame.ShowRunPage();
    }
    state.SetComplexityN(state.range(0));
    state.counters["html_bytes"] =
        static_cast<double>(fixture.Services.TransformProcessor->HtmlFilter().GetHtml().size());
}

// libxslt alone: the page document as the pipeline hands it over (parsed, marked, links
// fixed) and the stylesheet compiled once; each round applies it with the same parameters.
// withHtml also writes the result tree as HTML text, as every page needs.
void BareTransform(benchmark::State& state, uint8_t mode, bool withHtml) {
    TPageFixture fixture(static_cast<int>(state.range(0)), mode);
    fixture.Frame.ShowRunPage();
    const TXpObjModel& page = fixture.Services.TransformProcessor->PageModel;
    const std::string text = Stylesheet();
    XmlDocPtr styleDoc(xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                     XML_PARSE_NONET | XML_PARSE_NOCDATA));
    XsltStylesheetPtr style(xsltParseStylesheetDoc(styleDoc.release()));
    std::vector<std::string> quoted;
    for (const auto& [name, value] : fixture.Frame.GetXslParams()) {
        quoted.push_back(name);
        quoted.push_back("'" + value + "'");
    }
    std::vector<const char*> params;
    for (const std::string& item : quoted) {
        params.push_back(item.c_str());
    }
    params.push_back(nullptr);
    for (auto _ : state) {
        XmlDocPtr result(xsltApplyStylesheet(style.get(), page.Handle(), params.data()));
        if (withHtml) {
            benchmark::DoNotOptimize(XpHtmlText(result.get()));
        }
        benchmark::DoNotOptimize(result.get());
    }
    state.SetComplexityN(state.range(0));
}

// Reading the lines of a list page: straight into the parser, and the way a UTF-16 stream
// with a byte-order mark and CR LF after every line would take them.
void BM_ListPageDocument(benchmark::State& state) {
    TPageFixture fixture(static_cast<int>(state.range(0)), RunModeList);
    TXpObjModel model;
    model.SetNormalizeData(false);
    for (auto _ : state) {
        LoadOutputDocument(model, fixture.Frame.GetTestDoc().GetOutput());
    }
    state.SetComplexityN(state.range(0));
}

void BM_ListPageDocumentThroughUtf16Stream(benchmark::State& state) {
    TPageFixture fixture(static_cast<int>(state.range(0)), RunModeList);
    TXpObjModel model;
    model.SetNormalizeData(false);
    for (auto _ : state) {
        TMemoryStream stream;
        stream.Write("\xFF\xFE", 2);
        for (const std::u16string& line : fixture.Frame.GetTestDoc().GetOutput()) {
            stream.Write(line.data(), line.size() * 2);
            stream.Write(u"\r\n", 4);
        }
        stream.SetPosition(0);
        benchmark::DoNotOptimize(model.LoadStream(stream));
        TXpNode document = model.Document();
        document.RemoveChild(document.FirstChild());
        document.InsertBefore(model.CreateProcessingInstruction(u"xml", PageDeclarationData),
                              model.DocumentElement());
    }
    state.SetComplexityN(state.range(0));
}

void BM_StepPage(benchmark::State& state) {
    BM_RunPage(state, RunModeStep);
}
void BM_StepPageBareTransform(benchmark::State& state) {
    BareTransform(state, RunModeStep, false);
}
void BM_StepPageBareTransformAndHtml(benchmark::State& state) {
    BareTransform(state, RunModeStep, true);
}
void BM_ListPage(benchmark::State& state) {
    BM_RunPage(state, RunModeList);
}
void BM_ListPageBareTransform(benchmark::State& state) {
    BareTransform(state, RunModeList, false);
}
void BM_ListPageBareTransformAndHtml(benchmark::State& state) {
    BareTransform(state, RunModeList, true);
}

BENCHMARK(BM_ListPageDocument)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListPageDocumentThroughUtf16Stream)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepPage)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepPageBareTransform)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StepPageBareTransformAndHtml)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListPage)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_ListPageBareTransform)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_ListPageBareTransformAndHtml)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

} // namespace
