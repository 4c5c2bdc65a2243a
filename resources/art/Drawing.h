// resources/art/Drawing.h -- the few drawing steps the pictures are made of
#pragma once

#include "platform/CairoHandles.h"

#include <cstdint>
#include <string>

namespace stellik::art {

void SetColour(cairo_t* cr, uint32_t rgb, double alpha = 1.0);

struct TRadii {
    double TopLeft = 0, TopRight = 0, BottomRight = 0, BottomLeft = 0;
};

// A new path: the rectangle with its corners rounded by the given radii.
void RoundedRectangle(cairo_t* cr, double x, double y, double width, double height, TRadii radii);
void RoundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius);

void AddColourStop(cairo_pattern_t* gradient, double at, uint32_t rgb);

// Fills the current path with a blend from topRgb at y top to bottomRgb at y bottom.
void FillGradient(cairo_t* cr, double top, double bottom, uint32_t topRgb, uint32_t bottomRgb);

struct TFont {
    const char* Family = "DejaVu Sans";
    double Pixels = 12;
    bool Bold = false;
};

// A line of text in font, laid out at 96 dots per inch with grey anti-aliasing.
TPangoLayoutPtr MakeText(cairo_t* cr, const std::string& text, TFont font);

struct TTextSize {
    int Width = 0, Height = 0;
};
TTextSize LogicalSize(PangoLayout* layout);

// Shows layout with the top left of its logical box at x, y.
void ShowText(cairo_t* cr, PangoLayout* layout, double x, double y, uint32_t rgb);

// Shows text with its logical box centred on cx, cy (rounded to whole pixels).
void ShowCentredText(cairo_t* cr, const std::string& text, TFont font, double cx, double cy,
                     uint32_t rgb);

} // namespace stellik::art
