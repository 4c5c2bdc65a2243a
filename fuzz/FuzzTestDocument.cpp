// Test documents as a package carries them: read and validated against the program's DTDs,
// then, when they are read, run for a few pages and reported, as the player would.
#include "documents/TestParser.h"
#include "fuzz/FuzzSupport.h"
#include "model/TestDoc.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"

using namespace stellik;

namespace {

constexpr int MaxPages = 64;

void RunBriefly(TTestDoc& doc, uint8_t mode) {
    doc.StartRun(mode, -1);
    for (int page = 0; page < MaxPages && doc.IsRunning(); ++page) {
        doc.SkipQuestion();
    }
    if (doc.IsRunning()) {
        doc.Stop(u"test-end");
    }
    doc.WriteReport();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TTestParserObj parser;
    parser.OnDTDRequest = [](TTestParserObj&, std::u16string& name) {
        name = Utf8ToUtf16(fuzz::ResourcePath(Utf16ToUtf8(name)));
    };
    TTestDoc doc;
    TMemoryStream stream = fuzz::StreamOf(data, size);
    try {
        std::string encoding;
        parser.ParseTest(stream, doc, encoding);
    } catch (const Exception&) {
        return 0; // the player shows the message
    }
    try {
        RunBriefly(doc, static_cast<uint8_t>(size % 3));
    } catch (const Exception&) {
        // a message for the user, as above
    }
    return 0;
}
