#include "platform/GifWriter.h"
#include "platform/Exception.h"
#include "tests/platform/GifTestReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace stellik::testing {
namespace {

// A picture held in ARGB32 words, row by row, with a stride wider than the rows.
struct TPicture {
    int Width, Height;
    std::vector<uint32_t> Words;

    TPicture(int width, int height, uint32_t fill)
        : Width(width), Height(height), Words(static_cast<size_t>((width + 3) * height), fill) {}
    uint32_t& At(int x, int y) { return Words[static_cast<size_t>(y * (Width + 3) + x)]; }
    TRgbImage Image() const {
        return {Width, Height, (Width + 3) * 4, reinterpret_cast<const uint8_t*>(Words.data())};
    }
};

constexpr uint32_t Opaque(uint32_t rgb) {
    return 0xFF000000u | rgb;
}

TEST(GifWriter, KeepsEveryColourOfAPictureWithUpTo256) {
    for (const int colours : {1, 2, 3, 17, 255, 256}) {
        TPicture picture(23, 13, 0);
        for (int y = 0; y < picture.Height; ++y) {
            for (int x = 0; x < picture.Width; ++x) {
                picture.At(x, y) =
                    Opaque(static_cast<uint32_t>((y * 23 + x) % colours) * 0x010307u);
            }
        }
        const auto gif = DecodeGif(EncodeGif(picture.Image()));
        SCOPED_TRACE(colours);
        EXPECT_EQ(gif.Version, "GIF89a");
        EXPECT_EQ(gif.Width, 23);
        EXPECT_EQ(gif.Height, 13);
        EXPECT_EQ(gif.FrameCount, 1);
        EXPECT_EQ(gif.TransparentIndex, -1);
        EXPECT_LE(gif.Palette.size(), 256u);
        EXPECT_LT(gif.Palette.size(), 2u * std::max(colours, 2)); // no needlessly large table
        for (int y = 0; y < picture.Height; ++y) {
            for (int x = 0; x < picture.Width; ++x) {
                ASSERT_EQ(gif.RgbAt(x, y), picture.At(x, y) & 0xFFFFFF) << x << "," << y;
            }
        }
    }
}

TEST(GifWriter, TransparentColourTakesTheTransparentIndexAndNothingElseDoes) {
    constexpr uint32_t background = 0x3E669C;
    // 300 colours besides the background: the palette has to be reduced around it.
    for (const int others : {2, 300}) {
        TPicture picture(40, 30, Opaque(background));
        for (int i = 0; i < others; ++i) {
            picture.At(i % 40, 5 + i / 40) =
                Opaque(0x204060u + static_cast<uint32_t>(i) * 0x010101u);
        }
        picture.At(0, 0) = Opaque(background + 1); // one step off is not transparent
        const auto gif = DecodeGif(EncodeGif(picture.Image(), background));
        SCOPED_TRACE(others);
        EXPECT_EQ(gif.Version, "GIF89a");
        ASSERT_GE(gif.TransparentIndex, 0);
        EXPECT_EQ(gif.Palette.at(static_cast<size_t>(gif.TransparentIndex)), background);
        EXPECT_TRUE(gif.TransparentAt(39, 29));
        EXPECT_FALSE(gif.TransparentAt(0, 0));
        for (int i = 0; i < others; ++i) {
            ASSERT_FALSE(gif.TransparentAt(i % 40, 5 + i / 40)) << i;
        }
    }
}

TEST(GifWriter, TransparentColourIsInThePaletteEvenWhenThePictureLacksIt) {
    const TPicture picture(4, 4, Opaque(0x112233));
    const auto gif = DecodeGif(EncodeGif(picture.Image(), 0xABCDEF));
    ASSERT_GE(gif.TransparentIndex, 0);
    EXPECT_EQ(gif.Palette.at(static_cast<size_t>(gif.TransparentIndex)), 0xABCDEFu);
    EXPECT_EQ(gif.RgbAt(2, 2), 0x112233u);
}

TEST(GifWriter, ReadsPremultipliedAlpha) {
    TPicture picture(3, 1, Opaque(0x000000));
    picture.At(0, 0) = 0x00000000;  // clear
    picture.At(1, 0) = 0x7F3F0000;  // less than half covered: transparent
    picture.At(2, 0) = 0x80400020u; // half covered: straight colour 0x800040
    const auto gif = DecodeGif(EncodeGif(picture.Image()));
    ASSERT_GE(gif.TransparentIndex, 0);
    EXPECT_TRUE(gif.TransparentAt(0, 0));
    EXPECT_TRUE(gif.TransparentAt(1, 0));
    EXPECT_FALSE(gif.TransparentAt(2, 0));
    EXPECT_EQ(gif.RgbAt(2, 0), 0x800040u);
}

TEST(GifWriter, ReducesManyColoursToCloseOnes) {
    // A smooth two-way gradient: 64 x 64 = 4096 colours.
    TPicture picture(64, 64, 0);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            picture.At(x, y) = Opaque(static_cast<uint32_t>(x * 4) << 16 |
                                      static_cast<uint32_t>(y * 4) << 8 | 0x80);
        }
    }
    const auto gif = DecodeGif(EncodeGif(picture.Image()));
    EXPECT_EQ(gif.Palette.size(), 256u);
    std::set<int> used(gif.Indices.begin(), gif.Indices.end());
    EXPECT_GT(used.size(), 240u);
    int worst = 0;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            const uint32_t want = picture.At(x, y), got = gif.RgbAt(x, y);
            for (const int shift : {16, 8, 0}) {
                worst = std::max(worst, std::abs(static_cast<int>(want >> shift & 0xFF) -
                                                 static_cast<int>(got >> shift & 0xFF)));
            }
        }
    }
    EXPECT_LE(worst, 12);
}

TEST(GifWriter, RefusesPicturesItCannotWrite) {
    TPicture picture(2, 2, Opaque(0));
    TRgbImage image = picture.Image();
    image.Width = 0;
    EXPECT_THROW(EncodeGif(image), Exception);
    image = picture.Image();
    image.Stride = 4; // narrower than a row
    EXPECT_THROW(EncodeGif(image), Exception);

    TIndexedImage indexed{2, 1, {0x000000, 0xFFFFFF}, {0, 2}, -1}; // index beyond the palette
    EXPECT_THROW(EncodeGif(indexed), Exception);
}

} // namespace
} // namespace stellik::testing
