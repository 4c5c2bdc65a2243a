// Empty input, the first thing a fuzzer tries: every way of loading it fails cleanly and leaves
// no document. (An empty stream has no buffer at all; reading from it once handed the parser a
// null source, which the checked build reports.)
#include "platform/MemoryStream.h"
#include "xml/XpObjModel.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TEST(EmptyInput, EveryLoadFailsAndLeavesNoDocument) {
    TXpObjModel model;
    TMemoryStream empty;
    EXPECT_FALSE(model.LoadStream(empty));
    EXPECT_TRUE(model.DocumentElement().IsNull());
    EXPECT_FALSE(model.GetErrors().empty());
    EXPECT_FALSE(model.LoadBytes({}));
    EXPECT_TRUE(model.DocumentElement().IsNull());
    EXPECT_FALSE(model.LoadText(std::u16string_view()));
    EXPECT_TRUE(model.DocumentElement().IsNull());
    // A stream read to its end is as empty.
    TMemoryStream read("<a/>");
    read.SetPosition(read.GetSize());
    EXPECT_FALSE(model.LoadStream(read));
}

} // namespace
} // namespace stellik::testing
