// A loaded document takes no more memory than libxml2's own tree of it: names are kept once
// in the parser's dictionary, short texts and attribute values inside their nodes.
#include "XmlTestSupport.h"

#include "TestDocumentMaker.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <malloc.h>

namespace stellik::testing {
namespace {

size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

TEST(Footprint, ALoadedTestTakesNoMoreThanTheLibrarysOwnTree) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the checked build's allocator keeps no heap statistics";
#endif
    const std::string xml = bench::MakeTestDocument(5000);
    const std::string url = DtdPath("test.xml"); // the DTD lies beside it
    const size_t before = HeapInUse();
    xmlDoc* doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), url.c_str(), nullptr,
                                XML_PARSE_DTDLOAD | XML_PARSE_DTDATTR | XML_PARSE_DTDVALID |
                                    XML_PARSE_NONET | XML_PARSE_NOWARNING | XML_PARSE_NOERROR);
    ASSERT_NE(doc, nullptr);
    const size_t library = HeapInUse() - before;
    xmlFreeDoc(doc);

    const size_t start = HeapInUse();
    TXpObjModel model;
    SetUpReader(model);
    ASSERT_TRUE(model.LoadBytes(xml));
    const size_t ours = HeapInUse() - start;
    EXPECT_LE(ours, library) << "ours " << ours << " bytes, libxml2 " << library;
}

} // namespace
} // namespace stellik::testing
