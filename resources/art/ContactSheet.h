// resources/art/ContactSheet.h -- a PNG showing every picture enlarged and a page built of them
#pragma once

#include "platform/GifPalette.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace stellik::art {

// A picture as its GIF holds it.
struct TShippedPicture {
    std::string Name;
    std::optional<uint32_t> Backdrop; // what the page shows through its transparent pixels
    TIndexedImage Image;
};

void WriteContactSheet(const std::vector<TShippedPicture>& pictures, const std::string& path);

} // namespace stellik::art
