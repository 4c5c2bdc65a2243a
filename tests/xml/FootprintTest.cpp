// A loaded document takes memory that grows with the document and no faster: names are kept
// once in the parser's dictionary, short texts and attribute values inside their nodes.
#include "XmlTestSupport.h"

#include "TestDocumentMaker.h"
#include "tests/support/Growth.h"

#include <gtest/gtest.h>
#include <malloc.h>

#include <map>

namespace stellik::testing {
namespace {

size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

TEST(Footprint, ALoadedTestTakesMemoryLinearInItsSize) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the checked build's allocator keeps no heap statistics";
#endif
    std::map<size_t, std::string> documents;
    for (size_t count : {1250, 5000}) {
        documents[count] = bench::MakeTestDocument(static_cast<int>(count));
    }
    const auto heapOfLoaded = [&](size_t count) {
        const size_t start = HeapInUse();
        TXpObjModel model;
        SetUpReader(model);
        EXPECT_TRUE(model.LoadBytes(documents.at(count)));
        return static_cast<double>(HeapInUse() - start);
    };
    EXPECT_TRUE(ScalesLinearly(heapOfLoaded, 1250));
}

} // namespace
} // namespace stellik::testing
