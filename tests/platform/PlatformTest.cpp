#include "platform/DateTime.h"
#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/MemoryStream.h"
#include "platform/Random.h"
#include "platform/Unicode.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

namespace stellik::testing {
namespace {

TEST(Unicode, RoundTripsAndReplacesMalformedInput) {
    const std::string text = "Тест ё 𝄞 abc";
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    EXPECT_EQ(Utf8ToUtf16("𝄞").size(), 2u); // one surrogate pair
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b"),
              u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("\xC0\x80"), u"\uFFFD"); // overlong form
    // Stray continuation bytes give more units than the lead bytes promise.
    EXPECT_EQ(Utf8ToUtf16("\x80\x80\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82"
                          "a"),
              u"\uFFFD\uFFFDa");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

// Each sequence at every offset of a run of ASCII, so that it meets the converter's word
// boundaries at every byte, with a Cyrillic letter after it.
TEST(Unicode, SequencesConvertAlikeWhereverTheyStand) {
    struct {
        const char* Utf8;
        std::u16string Utf16;
    } const cases[] = {
        {"\xD0\xB6", u"\u0436"},
        {"\xE2\x80\x94", u"\u2014"},
        {"\xF0\x9D\x84\x9E", u"\U0001D11E"},
        {"\xED\xA0\x80", u"\uFFFD"},     // a surrogate written in UTF-8
        {"\xE0\x80\x80", u"\uFFFD"},     // overlong
        {"\xC1\xBF", u"\uFFFD"},         // overlong
        {"\xF4\x90\x80\x80", u"\uFFFD"}, // beyond U+10FFFF
        {"\xFF", u"\uFFFD"},
        {"\x80\xBF", u"\uFFFD\uFFFD"},
        {"\xD0", u"\uFFFD"}, // cut short by the letter after it
    };
    for (const auto& c : cases) {
        for (size_t offset = 0; offset <= 9; ++offset) {
            const std::string text = std::string(offset, 'a') + c.Utf8 + "\xD1\x8F" + "bc";
            const std::u16string expected = std::u16string(offset, u'a') + c.Utf16 + u"\u044Fbc";
            EXPECT_EQ(Utf8ToUtf16(text), expected) << c.Utf8 << " after " << offset << " bytes";
        }
    }
}

TEST(Unicode, Utf16UnitsBecomeUtf8) {
    struct {
        std::u16string Utf16;
        const char* Utf8;
    } const cases[] = {
        {u"a\u007F", "a\x7F"},
        {u"\u0080\u07FF", "\xC2\x80\xDF\xBF"},
        {u"\u0436\u2014\uFFFF", "\xD0\xB6\xE2\x80\x94\xEF\xBF\xBF"},
        {u"\U0001D11E\U0010FFFF", "\xF0\x9D\x84\x9E\xF4\x8F\xBF\xBF"},
        {std::u16string{u'a', char16_t(0xDC00), char16_t(0xD800)}, "a\xEF\xBF\xBD\xEF\xBF\xBD"},
        {std::u16string{char16_t(0xD800), u'b'}, "\xEF\xBF\xBD"
                                                 "b"},
        {u"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf16ToUtf8(c.Utf16), c.Utf8) << c.Utf8;
    }
}

TEST(Unicode, UpperCaseAndCaseInsensitiveCompareCoverCyrillic) {
    EXPECT_EQ(UpperCase(W("привет, ёлка! abc")), W("ПРИВЕТ, ЁЛКА! ABC"));
    EXPECT_TRUE(SameTextW(W("Ёж"), W("ёЖ")));
    EXPECT_FALSE(SameTextW(W("Еж"), W("Ёж")));
    EXPECT_LT(CompareTextW(u"a", u"B"), 0);
    EXPECT_EQ(TrimW(u"\t\r\n a b \x01"), u"a b");
}

TEST(Unicode, AsciiComparisonFoldsOnlyAsciiLetters) {
    EXPECT_TRUE(SameAsciiText("Windows-1251", "WINDOWS-1251"));
    EXPECT_FALSE(SameAsciiText("ab", "abc"));
    EXPECT_FALSE(SameAsciiText("[", "{")); // 0x5B and 0x7B differ by the case bit only
    EXPECT_FALSE(SameAsciiText("ё", "Ё"));
    EXPECT_TRUE(StartsWithAsciiText("HTTPS://x", "https://"));
    EXPECT_FALSE(StartsWithAsciiText("http", "http:"));
}

TEST(DateTime, EncodesTheEpochAndDecodesWithMillisecondRounding) {
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2.0);
    const TDateTime t = EncodeDate(2024, 2, 29) + EncodeTime(10, 0, 0, 999) + 0.6 / 86400000.0;
    const auto d = DecodeDate(t);
    EXPECT_EQ(d.Year, 2024);
    EXPECT_EQ(d.Month, 2);
    EXPECT_EQ(d.Day, 29);
    const auto tm = DecodeTime(t);
    EXPECT_EQ(tm.Hour, 10);
    EXPECT_EQ(tm.Minute, 0);
    EXPECT_EQ(tm.Second, 1); // 10:00:00.9996 rounds to 10:00:01.000
    const TDateTime lastInstant = EncodeDate(2024, 12, 31) + 86399.9996 / 86400.0;
    EXPECT_EQ(DecodeDate(lastInstant).Year, 2025); // the rounding carries into the next day
    EXPECT_EQ(DecodeTime(lastInstant).Hour, 0);
}

TEST(DateTime, NowIsTheLocalClock) {
    const TDateTime now = Now();
    EXPECT_GT(now, EncodeDate(2020, 1, 1));
    EXPECT_LT(now, EncodeDate(2200, 1, 1));
}

TEST(Random, FollowsTheLinearCongruentialRule) {
    TRandom::SetSeed(0);
    EXPECT_EQ(TRandom::Random(100), 0); // seed 1: (1 * 100) >> 32
    EXPECT_EQ(TRandom::GetSeed(), 1u);
    const uint32_t next = 1u * 134775813u + 1u;
    EXPECT_EQ(TRandom::Random(1000), static_cast<int>((uint64_t{next} * 1000u) >> 32));
    TRandom::Randomize();
    for (int i = 0; i < 1000; ++i) {
        const int r = TRandom::Random(36);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 36);
    }
}

TEST(MemoryStream, ReadsAndWritesAtThePosition) {
    TMemoryStream s;
    s.Write("hello");
    EXPECT_EQ(s.GetPosition(), 5u);
    s.SetPosition(1);
    s.Write("EL");
    EXPECT_EQ(s.View(), "hELlo");
    char buf[8] = {};
    s.SetPosition(3);
    EXPECT_EQ(s.Read(buf, sizeof buf), 2u);
    EXPECT_EQ(std::string(buf, 2), "lo");
    s.SetSize(2);
    EXPECT_EQ(s.GetPosition(), 2u);
    EXPECT_EQ(s.Read(buf, 1), 0u);
}

// The bytes live in one block that grows as it is written: what was written survives every
// move, room taken ahead is not content, and a copy is a stream of its own.
TEST(MemoryStream, KeepsItsBytesAsItGrowsAndCopiesAreIndependent) {
    TMemoryStream s;
    s.Reserve(10);
    EXPECT_EQ(s.GetSize(), 0u);
    std::string expected;
    for (size_t piece = 1; expected.size() < 3'000'000; piece = piece * 3 + 1) {
        const std::string bytes(piece, static_cast<char>('a' + piece % 26));
        s.Write(bytes);
        expected += bytes;
    }
    EXPECT_TRUE(s.View() == expected);

    s.SetPosition(s.GetSize() + 3); // a write past the end leaves zero bytes between
    s.Write("z");
    EXPECT_TRUE(s.View() == expected + std::string(3, '\0') + "z");

    TMemoryStream copy = s;
    EXPECT_EQ(copy.GetPosition(), s.GetPosition());
    copy.SetPosition(0);
    copy.Write("A");
    EXPECT_EQ(s.View()[0], expected[0]);
    TMemoryStream moved = std::move(copy);
    EXPECT_EQ(moved.View().substr(0, 2), "A" + expected.substr(1, 1));
    EXPECT_EQ(copy.GetSize(), 0u); // NOLINT(bugprone-use-after-move): moved from is empty

    s.Clear();
    EXPECT_EQ(s.GetSize(), 0u);
    EXPECT_EQ(s.GetPosition(), 0u);
    s.Write("again");
    EXPECT_EQ(s.View(), "again");
}

TEST(Files, ExclusiveCreationRefusesAnExistingName) {
    const TScratchFolder folder;
    const std::string path = folder / "exclusive.tmp";
    {
        TTempFileGuard guard(path);
        ASSERT_TRUE(CreateFileExclusive(path));
        EXPECT_TRUE(FileExists(path));
        EXPECT_FALSE(CreateFileExclusive(path));
    }
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FileExists(GetTempFolder())); // a folder is not a file
}

TEST(Exceptions, CarryTheRuntimeTexts) {
    EXPECT_THROW(ThrowListIndexError(3), EListError);
    try {
        ThrowResourceNotFound("XTF_V1P9");
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "Resource XTF_V1P9 not found");
    }
    try {
        ThrowListIndexError(-1);
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "List index out of bounds (-1)");
    }
}

} // namespace
} // namespace stellik::testing
