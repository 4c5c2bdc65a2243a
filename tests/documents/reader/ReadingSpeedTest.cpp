// Reading a large test takes time that grows with the test and no faster.
#include "ReaderKit.h"

#include "TestDocumentMaker.h"
#include "tests/support/Growth.h"

#include <gtest/gtest.h>

#include <map>

namespace stellik::testing {
namespace {

// Parsing, validating and building the model of a test of 750 questions and of one of 3000.
TEST(ReadingSpeed, ALargeTestReadsInTimeLinearInItsSize) {
    std::map<size_t, std::string> documents;
    for (size_t count : {750, 3000}) {
        documents[count] = bench::MakeTestDocument(static_cast<int>(count));
    }
    const auto read = [&](size_t count) {
        TReaderKit kit;
        kit.Read(documents.at(count));
        EXPECT_EQ(kit.Doc.Questions.GetCount(), static_cast<int>(count));
    };
    EXPECT_TRUE(ScalesLinearly(BestCpuSeconds(read), 750));
}

} // namespace
} // namespace stellik::testing
