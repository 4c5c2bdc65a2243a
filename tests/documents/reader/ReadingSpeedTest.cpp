// Reading a large test costs about what libxml2 alone takes to parse and validate it.
#include "ReaderKit.h"

#include "TestDocumentMaker.h"
#include "platform/MemoryStream.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>

#include <algorithm>
#include <chrono>

namespace stellik::testing {
namespace {

using TClock = std::chrono::steady_clock;

// Our code against the library's compiled code: a fair race only when ours is optimised and
// not instrumented.
#if defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr bool FairRace = false;
#else
constexpr bool FairRace = true;
#endif

template <typename TWork> TClock::duration Fastest(const TWork& work) {
    TClock::duration fastest = TClock::duration::max();
    for (int run = 0; run < 3; ++run) {
        const auto start = TClock::now();
        work();
        fastest = std::min(fastest, TClock::now() - start);
    }
    return fastest;
}

// Parsing, validating and building the model of a 3000-question test, beside libxml2 parsing
// it with its DTD, default attributes and validation. About as long on a quiet machine; the
// bound leaves room for a busy one, not for a step that grows faster than the document.
TEST(ReadingSpeed, ALargeTestReadsInAboutTheTimeTheLibraryParsesAndValidatesIt) {
    if (!FairRace) {
        GTEST_SKIP() << "an unoptimised or checked build";
    }
    const std::string xml = bench::MakeTestDocument(3000);
    int questions = 0;
    const auto reading = Fastest([&] {
        TReaderKit kit;
        kit.Read(xml);
        questions = kit.Doc.Questions.GetCount();
    });
    EXPECT_EQ(questions, 3000);
    const std::string url = std::string(STELLIK_SOURCE_DIR) + "/resources/test.xml";
    bool valid = false;
    const auto library = Fastest([&] {
        xmlDoc* doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), url.c_str(), nullptr,
                                    XML_PARSE_DTDLOAD | XML_PARSE_DTDATTR | XML_PARSE_DTDVALID |
                                        XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR);
        valid = doc != nullptr && doc->extSubset != nullptr;
        xmlFreeDoc(doc);
    });
    ASSERT_TRUE(valid) << "libxml2 found no DTD beside " << url;
    EXPECT_LT(reading, library * 3);
}

} // namespace
} // namespace stellik::testing
