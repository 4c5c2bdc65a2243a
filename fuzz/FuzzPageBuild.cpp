// The page build of a run page: a run document (one tag or value a line, as the engine writes
// it) loaded as the page document, named with the test, pointed at the package's pictures and
// transformed by the program's page stylesheet with the view profile's parameters. Lines of the
// form name=value before the first line that begins with "<" are parameters.
#include "fuzz/FuzzPlayer.h"
#include "fuzz/FuzzSupport.h"
#include "platform/Exception.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"
#include "shell/OutputDocument.h"
#include "shell/TransformProcessor.h"

#include <memory>

using namespace stellik;

namespace {

// One for the whole run, as the program keeps one: the stylesheet is compiled once.
TTransformProcessor& Transformer() {
    static const std::unique_ptr<TTransformProcessor> transformer = [] {
        fuzz::InstallFuzzKey(); // packing encrypts through the crypto manager's container
        TResources::Install(fuzz::FuzzPlayerResources("sepmsg"));
        return std::make_unique<TTransformProcessor>();
    }();
    return *transformer;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TTransformProcessor& transformer = Transformer();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TXslParams params;
    TWideStrings lines;
    size_t start = 0;
    while (start <= input.size()) {
        const size_t end = std::min(input.find('\n', start), input.size());
        const std::string_view line = input.substr(start, end - start);
        start = end + 1;
        const size_t equals = line.find('=');
        if (lines.empty() && !line.starts_with('<') && equals != std::string_view::npos) {
            params.emplace_back(line.substr(0, equals), line.substr(equals + 1));
        } else {
            lines.push_back(Utf8ToUtf16(line));
        }
    }
    try {
        LoadOutputDocument(transformer.PageModel, lines);
        transformer.PageModel.DocumentElement().SetAttribute(u"test-name", u"Проверка");
        transformer.Transform(&params);
        (void)transformer.HtmlFilter().GetHtml();
    } catch (const Exception&) {
        // "Cannot Parse XML", "Cannot Apply XSL stylesheet": the standard handler's message
    }
    return 0;
}
