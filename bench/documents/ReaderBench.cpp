// Reading a test document as the test grows, beside libxml2 alone parsing and validating it.
#include "documents/TestParser.h"
#include "model/TestDoc.h"
#include "platform/MemoryStream.h"
#include "platform/Unicode.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <string>

namespace {

using namespace stellik;

const std::string ResourcesFolder = STELLIK_SOURCE_DIR "/resources/";

// count questions of the five kinds with Cyrillic text and markup, ten sections whose pools
// name every question by identifier, and a question and a section message for each section.
std::string MakeDocument(int count) {
    static const char* const Kinds[] = {"single", "check", "text", "number", "box"};
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<!DOCTYPE test SYSTEM \"XTF_v1p2.dtd\">\n<test>\n<name>Большой тест</name>\n"
                      "<abstract>Проверка скорости чтения\n  большого документа</abstract>\n"
                      "<questions>\n";
    for (int i = 0; i < count; ++i) {
        const std::string kind = Kinds[i % 5];
        const std::string id = "q" + std::to_string(i);
        xml += "<" + kind + " id=\"" + id + "\" random=\"n\"" + (i % 2 ? " format=\"free\"" : "") +
               ">\n  <p>Вопрос <b>" + std::to_string(i) +
               "</b>: выберите\n  правильный ответ.</p>\n";
        if (kind == "single" || kind == "check") {
            xml += "  <answer rating=\"1\" right=\"y\">Первый <i>ответ</i></answer>\n"
                   "  <answer rating=\"0\">Второй ответ</answer>\n"
                   "  <answer rating=\"0\">Третий ответ</answer>\n";
        } else if (kind == "text") {
            xml += "  <table border=\"1\"><tr><td>Слово: <answer rating=\"2\" right=\"Мос\\*\"/>"
                   "</td></tr></table>\n";
        } else if (kind == "number") {
            xml += "  <answer rating=\"1\" right=\"10..20\"/>\n";
        } else {
            xml += "  <answer rating=\"1\" right=\"да\"/><img src=\"pic.gif\" alt=\"рисунок\"/>\n";
        }
        xml += "</" + kind + ">\n";
    }
    xml += "</questions>\n<selector>\n";
    const int sections = 10;
    for (int s = 0; s < sections; ++s) {
        xml += "<section id=\"s" + std::to_string(s) + "\"><name>Секция " + std::to_string(s) +
               "</name><allout idref=\"";
        for (int i = s; i < count; i += sections) {
            xml += "q" + std::to_string(i) + " ";
        }
        xml += "\" count=\"5\"/></section>\n";
    }
    xml += "</selector>\n<messages>\n";
    for (int s = 0; s < sections; ++s) {
        xml +=
            "<sectmsg idref=\"s" + std::to_string(s) + "\" idrating=\"good\">Отлично</sectmsg>\n";
        xml += "<questmsg idref=\"q" + std::to_string(s) +
               "\" idrating=\"bad middle\">Подумайте "
               "<b>ещё</b></questmsg>\n";
    }
    xml += "</messages>\n</test>\n";
    return xml;
}

void BM_ParseTest(benchmark::State& state) {
    const std::string xml = MakeDocument(static_cast<int>(state.range(0)));
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
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}
BENCHMARK(BM_ParseTest)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// The same document through libxml2 alone: parse with the external DTD, defaults and validation.
void BM_Libxml2ParseAndValidate(benchmark::State& state) {
    const std::string xml = MakeDocument(static_cast<int>(state.range(0)));
    const std::string url = "file://" + ResourcesFolder + "document.xml"; // the DTD lies beside it
    for (auto _ : state) {
        xmlDoc* doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), url.c_str(), nullptr,
                                    XML_PARSE_DTDLOAD | XML_PARSE_DTDATTR | XML_PARSE_DTDVALID |
                                        XML_PARSE_NONET | XML_PARSE_NOWARNING);
        if (doc == nullptr || !doc->intSubset) {
            state.SkipWithError("libxml2 could not read the document");
        }
        xmlFreeDoc(doc);
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * xml.size()));
}
BENCHMARK(BM_Libxml2ParseAndValidate)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
