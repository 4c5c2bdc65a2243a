// The base64 texts inside encrypted documents.
#include "PackageTestSupport.h"

#include "package/Base64.h"

#include <gtest/gtest.h>
#include <nettle/base64.h>

namespace stellik::testing {
namespace {

std::vector<uint8_t> BytesOf(std::string_view text) {
    return {text.begin(), text.end()};
}

// Decoded bytes as text, or "<refused>" when the decoder says no.
std::string Decoded(std::string_view text) {
    TMemoryStream out;
    if (!Base64Decode(text, out)) {
        return out.GetSize() == 0 ? "<refused>" : "<refused, wrote bytes>";
    }
    return std::string(out.View());
}

TEST(Base64, EncodesStandardAlphabetWithFillOnOneLine) {
    EXPECT_EQ(Base64Encode({}), "");
    EXPECT_EQ(Base64Encode(BytesOf("f")), "Zg==");
    EXPECT_EQ(Base64Encode(BytesOf("fo")), "Zm8=");
    EXPECT_EQ(Base64Encode(BytesOf("foo")), "Zm9v");
    EXPECT_EQ(Base64Encode(BytesOf("foobar")), "Zm9vYmFy");
    EXPECT_EQ(Base64Encode(std::vector<uint8_t>{0xFB, 0xFF, 0xBF}), "+/+/");

    // A wrapped session key with its header: 140 bytes, 188 characters, one "=".
    EXPECT_EQ(Base64Encode(std::vector<uint8_t>(140, 0)), std::string(187, 'A') + "=");
    // Ten bytes of cipher data: 16 characters ending in "==".
    EXPECT_EQ(Base64Encode(std::vector<uint8_t>(10, 0xFF)), "/////////////w==");
    // Long input stays on one line.
    const std::string big = Base64Encode(RandomBytes(3000, 9));
    EXPECT_EQ(big.size(), 4000u);
    EXPECT_EQ(big.find_first_of("\r\n "), std::string::npos);
}

// Our encoder beside the library one for every length up to a few groups and every byte
// value at each place of a group.
TEST(Base64, EncodesAsNettleDoes) {
    auto nettle = [](const std::vector<uint8_t>& bytes) {
        std::string text(BASE64_ENCODE_RAW_LENGTH(bytes.size()), '\0');
        base64_encode_raw(text.data(), bytes.size(), bytes.data());
        return text;
    };
    for (size_t size = 0; size < 64; ++size) {
        const auto bytes = RandomBytes(size, static_cast<uint32_t>(size + 100));
        EXPECT_EQ(Base64Encode(bytes), nettle(bytes)) << size;
        EXPECT_EQ(Base64Length(size), BASE64_ENCODE_RAW_LENGTH(size)) << size;
    }
    std::vector<uint8_t> all;
    for (int i = 0; i < 3 * 256 + 2; ++i) {
        all.push_back(static_cast<uint8_t>(i * 7 / 3));
    }
    EXPECT_EQ(Base64Encode(all), nettle(all));
}

TEST(Base64, DecodesWhatItEncodesAndWritesAtThePosition) {
    for (size_t size : {1u, 2u, 3u, 4u, 5u, 140u, 1001u}) {
        const auto bytes = RandomBytes(size, static_cast<uint32_t>(size));
        TMemoryStream out;
        ASSERT_TRUE(Base64Decode(Base64Encode(bytes), out)) << size;
        EXPECT_EQ(out.Bytes(), bytes) << size;
    }
    TMemoryStream out("head-tail");
    out.SetPosition(5);
    ASSERT_TRUE(Base64Decode("VEFJTA==", out));
    EXPECT_EQ(out.View(), "head-TAIL");
    EXPECT_EQ(out.GetPosition(), 9u);
    // Line breaks and spaces of a wrapped text are skipped.
    EXPECT_EQ(Decoded("Zm9v\r\nYmFy"), "foobar");
    EXPECT_EQ(Decoded(" Zm8= "), "fo");
    EXPECT_EQ(Decoded("Zm 9vYm\tFy Zg =\n="), "foobarf");
    const auto bytes = RandomBytes(3001, 3);
    std::string wrapped = Base64Encode(bytes);
    for (size_t at = 76; at < wrapped.size(); at += 78) {
        wrapped.insert(at, "\r\n");
    }
    TMemoryStream back;
    ASSERT_TRUE(Base64Decode(wrapped, back));
    EXPECT_EQ(back.Bytes(), bytes);
}

TEST(Base64, RefusesTextThatIsNotBase64AndWritesNothing) {
    for (const char* text : {"Zm9v!mFy", "Zm9v-_Fy", "Zg==Zm9v", "=Zm9", "Zm9vY", "Zm9vYm", "Zm8",
                             "\xD0\x90QID", "Zg=v", "Zg=", "Zm9vZg== x", "Z===", "Zm9vZ==="}) {
        EXPECT_EQ(Decoded(text), "<refused>") << text;
    }
}

} // namespace
} // namespace stellik::testing
