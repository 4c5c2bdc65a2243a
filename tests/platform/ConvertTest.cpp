#include "platform/Convert.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TEST(StrToInt, AcceptsBlanksSignDecimalAndHexPrefixes) {
    EXPECT_EQ(TryStrToInt("42"), 42);
    EXPECT_EQ(TryStrToInt("   -17"), -17);
    EXPECT_EQ(TryStrToInt("+5"), 5);
    EXPECT_EQ(TryStrToInt("$1F"), 31);
    EXPECT_EQ(TryStrToInt("x1"), 1);
    EXPECT_EQ(TryStrToInt("X1a"), 26);
    EXPECT_EQ(TryStrToInt("0x10"), 16);
    EXPECT_EQ(TryStrToInt("0X10"), 16);
    EXPECT_EQ(TryStrToInt("-$10"), -16);
    EXPECT_EQ(TryStrToInt("2147483647"), 2147483647);
    EXPECT_EQ(TryStrToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(TryStrToInt("$FFFFFFFF"), -1);
    EXPECT_EQ(TryStrToInt(u"  12"), 12);
}

TEST(StrToInt, RefusesEmptyTrailingAndOutOfRange) {
    for (const char* text : {"", " ", "-", "$", "0x", "12 ", "1.5", "12a", "abc", "\t1",
                             "2147483648", "-2147483649", "$100000000", "1 2"}) {
        EXPECT_FALSE(TryStrToInt(text).has_value()) << '"' << text << '"';
    }
}

TEST(StrToInt, RaisesTheRuntimeMessage) {
    try {
        StrToInt("12x");
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_STREQ(e.what(), "'12x' is not a valid integer value");
    }
}

TEST(StrToFloat, UsesTheGivenSeparatorOnly) {
    EXPECT_DOUBLE_EQ(*TryStrToFloat("1.5", '.'), 1.5);
    EXPECT_DOUBLE_EQ(*TryStrToFloat(" -2,25 ", ','), -2.25);
    EXPECT_DOUBLE_EQ(*TryStrToFloat("1e3", '.'), 1000.0);
    EXPECT_DOUBLE_EQ(*TryStrToFloat(".5", '.'), 0.5);
    EXPECT_FALSE(TryStrToFloat("1.5", ',').has_value());
    EXPECT_FALSE(TryStrToFloat("1,5", '.').has_value());
    EXPECT_FALSE(TryStrToFloat("", '.').has_value());
    EXPECT_FALSE(TryStrToFloat("1e", '.').has_value());
    EXPECT_FALSE(TryStrToFloat("abc", '.').has_value());
    EXPECT_FALSE(TryStrToFloat("1.5.", '.').has_value());
}

} // namespace
} // namespace stellik::testing
