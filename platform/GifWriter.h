// platform/GifWriter.h -- writing pictures as GIF files
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace stellik {

// A picture of 32-bit pixels, one uint32_t per pixel: 0xAARRGGBB (cairo's ARGB32 layout,
// premultiplied alpha; alpha below 128 counts as transparent when the picture has any).
struct TRgbImage {
    int Width = 0;
    int Height = 0;
    int Stride = 0; // bytes per row
    const uint8_t* Pixels = nullptr;
};

// Encodes image as a GIF89a file (one frame, a palette of at most 256 colours chosen from
// the picture). transparentRgb (0xRRGGBB): the colour that becomes the transparent index.
std::string EncodeGif(const TRgbImage& image, std::optional<uint32_t> transparentRgb = {});

} // namespace stellik
