// platform/GifPalette.h -- reducing a picture to the palette of one GIF frame
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace stellik {

// A picture of 32-bit pixels, one uint32_t per pixel: 0xAARRGGBB (cairo's ARGB32 layout,
// premultiplied alpha; alpha below 128 counts as transparent when the picture has any).
struct TRgbImage {
    int Width = 0;
    int Height = 0;
    int Stride = 0; // bytes per row
    const uint8_t* Pixels = nullptr;
};

// A picture as a GIF frame holds it: palette indices row by row.
struct TIndexedImage {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Palette; // 0xRRGGBB, 1 to 256 entries
    std::vector<uint8_t> Indices;  // Width * Height
    int TransparentIndex = -1;     // -1: every pixel is opaque
};

// Chooses the palette: the picture's own colours when they fit, otherwise a median cut of
// them. transparentRgb (0xRRGGBB) and transparent pixels take a palette entry of their own,
// holding transparentRgb (black when only transparent pixels ask for it).
TIndexedImage ReduceToPalette(const TRgbImage& image, std::optional<uint32_t> transparentRgb = {});

} // namespace stellik
