// platform/GifWriter.h -- writing pictures as GIF files
#pragma once

#include "platform/GifPalette.h"

#include <cstdint>
#include <optional>
#include <string>

namespace stellik {

// Writes image as a GIF89a file of one frame; a transparent index goes into the graphic
// control extension.
std::string EncodeGif(const TIndexedImage& image);

// Encodes image as a GIF89a file (one frame, a palette of at most 256 colours chosen from
// the picture). transparentRgb (0xRRGGBB): the colour that becomes the transparent index.
std::string EncodeGif(const TRgbImage& image, std::optional<uint32_t> transparentRgb = {});

} // namespace stellik
