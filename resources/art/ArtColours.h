// resources/art/ArtColours.h -- the colours of the program's pages and pictures (0xRRGGBB)
#pragma once

#include <cstdint>

namespace stellik::art {

// The page colours the pictures sit on.
constexpr uint32_t PageColour = 0x758DB0;
constexpr uint32_t ContentColour = 0xE6E9F0;
constexpr uint32_t HeadingColour = 0x3557B4;
constexpr uint32_t TopBarColour = 0x3E669C; // also the timer picture's background

// The panel frame: a title band of the heading blue and a thin outline.
constexpr uint32_t TitleTopColour = 0x5775C8;
constexpr uint32_t TitleBottomColour = 0x3557B4;
constexpr uint32_t TitleHighlightColour = 0x7590D6;
constexpr uint32_t FrameLineColour = 0x2D4A98;

// The top bar: a soft fall around the timer's background, lit at the top, shaded at the foot.
constexpr uint32_t TopBarTopColour = 0x4873AB;
constexpr uint32_t TopBarBottomColour = 0x365C90;
constexpr uint32_t TopBarLightColour = 0x6A8EC0;
constexpr uint32_t TopBarShadeColour = 0x2B4C7C;

// Buttons: light faces with the heading blue caption.
constexpr uint32_t ButtonTopColour = 0xFBFCFE;
constexpr uint32_t ButtonBottomColour = 0xD6DEEC;
constexpr uint32_t ButtonLineColour = 0x2D4A98;

// Marks inside panel content.
constexpr uint32_t MarkLineColour = 0x8092B8;
constexpr uint32_t MarkFaceColour = 0xFFFFFF;

struct TMarkerColours {
    uint32_t Light, Dark, Line;
};
constexpr TMarkerColours GreenMarker{0x6CC07A, 0x3E9A4F, 0x2D7A3C};
constexpr TMarkerColours YellowMarker{0xF2D064, 0xDDAE27, 0xA9801A};
constexpr TMarkerColours RedMarker{0xE77B6B, 0xCC4A3A, 0x9A3025};

} // namespace stellik::art
