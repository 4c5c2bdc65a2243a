// Reading a test document as the test grows, beside libxml2 alone parsing and validating it:
// tests of ten sections, and tests shaped like the demo (many sections, each named by a
// message).
#include "TestDocumentMaker.h"

#include "documents/TestParser.h"
#include "model/TestDoc.h"
#include "platform/MemoryStream.h"
#include "platform/Unicode.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <malloc.h>

#include <string>

namespace {

using namespace stellik;

const std::string ResourcesFolder = STELLIK_SOURCE_DIR "/resources/";

size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

using TDocumentMaker = std::string (*)(int count);

void ParseTest(benchmark::State& state, TDocumentMaker make) {
    const std::string xml = make(static_cast<int>(state.range(0)));
    TTestParserObj parser;
    parser.OnDTDRequest = [](TTestParserObj&, std::u16string& name) {
        name = Utf8ToUtf16(ResourcesFolder) + name;
    };
    for (auto _ : state) {
        TTestDoc doc;
        TMemoryStream stream(xml);
        std::string encoding;
        parser.ParseTest(stream, doc, encoding);
        benchmark::DoNotOptimize(doc.Questions.GetCount());
    }
    {
        // The memory a read test holds: the parser's document and the model built from it.
        TTestDoc doc;
        TMemoryStream stream(xml);
        std::string encoding;
        const size_t before = HeapInUse();
        parser.ParseTest(stream, doc, encoding);
        state.counters["HeapBytes"] = static_cast<double>(HeapInUse() - before);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}
void BM_ParseTest(benchmark::State& state) {
    ParseTest(state, bench::MakeTestDocument);
}
BENCHMARK(BM_ParseTest)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// The same document through libxml2 alone: parse with the external DTD, defaults and validation.
void Libxml2ParseAndValidate(benchmark::State& state, TDocumentMaker make) {
    const std::string xml = make(static_cast<int>(state.range(0)));
    const std::string url = "file://" + ResourcesFolder + "document.xml"; // the DTD lies beside it
    const auto read = [&] {
        return xmlReadMemory(xml.data(), static_cast<int>(xml.size()), url.c_str(), nullptr,
                             XML_PARSE_DTDLOAD | XML_PARSE_DTDATTR | XML_PARSE_DTDVALID |
                                 XML_PARSE_NONET | XML_PARSE_NOWARNING);
    };
    for (auto _ : state) {
        xmlDoc* doc = read();
        if (doc == nullptr || !doc->intSubset) {
            state.SkipWithError("libxml2 could not read the document");
        }
        xmlFreeDoc(doc);
    }
    const size_t before = HeapInUse();
    xmlDoc* doc = read();
    state.counters["HeapBytes"] = static_cast<double>(HeapInUse() - before); // the tree alone
    xmlFreeDoc(doc);
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}
void BM_Libxml2ParseAndValidate(benchmark::State& state) {
    Libxml2ParseAndValidate(state, bench::MakeTestDocument);
}
BENCHMARK(BM_Libxml2ParseAndValidate)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_ParseDemoShapedTest(benchmark::State& state) {
    ParseTest(state, bench::MakeDemoShapedDocument);
}
BENCHMARK(BM_ParseDemoShapedTest)
    ->Arg(500)
    ->Arg(5000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

void BM_Libxml2DemoShaped(benchmark::State& state) {
    Libxml2ParseAndValidate(state, bench::MakeDemoShapedDocument);
}
BENCHMARK(BM_Libxml2DemoShaped)
    ->Arg(500)
    ->Arg(5000)
    ->Arg(30000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
