#include "resources/art/ArtColours.h"
#include "resources/art/Drawing.h"
#include "resources/art/Pictures.h"

namespace stellik::art {

namespace {

constexpr int Side = 10;        // width of the corner pieces and the side edges
constexpr int TitleHeight = 38; // the top row, holding the panel title
constexpr int EdgeHeight = 3;   // the side pieces, repeated down the content
constexpr int BottomHeight = 8; // the bottom row
constexpr double TopRadius = 8;
constexpr double BottomRadius = 7;
constexpr int TopBarHeight = 49;

// The smallest whole panel: every piece is cut from it, so neighbouring pieces share their
// rows and columns exactly.
TCanvas DrawSmallestPanel() {
    const int width = 2 * Side + 1;
    const int height = TitleHeight + EdgeHeight + BottomHeight;
    TCanvas panel(width, height);
    cairo_t* cr = panel.Cr.get();
    SetColour(cr, PageColour);
    cairo_paint(cr);

    const TRadii outer{TopRadius, TopRadius, BottomRadius, BottomRadius};
    RoundedRectangle(cr, 0, 0, width, height, outer);
    SetColour(cr, ContentColour);
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    cairo_rectangle(cr, 0, 0, width, TitleHeight);
    FillGradient(cr, 0, TitleHeight, TitleTopColour, TitleBottomColour);
    cairo_rectangle(cr, 0, 1, width, 1); // light falls on the band's upper edge
    SetColour(cr, TitleHighlightColour);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, TitleHeight - 1, width, 1);
    SetColour(cr, FrameLineColour);
    cairo_fill(cr);
    cairo_reset_clip(cr);

    RoundedRectangle(cr, 0.5, 0.5, width - 1, height - 1,
                     {TopRadius - 0.5, TopRadius - 0.5, BottomRadius - 0.5, BottomRadius - 0.5});
    SetColour(cr, FrameLineColour);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_surface_flush(panel.Surface.get());
    return panel;
}

TCanvas Cut(const TCanvas& from, int x, int y, int width, int height) {
    TCanvas piece(width, height);
    cairo_set_operator(piece.Cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(piece.Cr.get(), from.Surface.get(), -x, -y);
    cairo_paint(piece.Cr.get());
    cairo_surface_flush(piece.Surface.get());
    return piece;
}

TCanvas DrawTopBar() {
    TCanvas bar(1, TopBarHeight);
    cairo_t* cr = bar.Cr.get();
    cairo_rectangle(cr, 0, 0, 1, TopBarHeight);
    FillGradient(cr, 0, TopBarHeight, TopBarTopColour, TopBarBottomColour);
    cairo_rectangle(cr, 0, 0, 1, 1);
    SetColour(cr, TopBarLightColour);
    cairo_fill(cr);
    cairo_rectangle(cr, 0, TopBarHeight - 1, 1, 1);
    SetColour(cr, TopBarShadeColour);
    cairo_fill(cr);
    cairo_surface_flush(bar.Surface.get());
    return bar;
}

} // namespace

void DrawFrame(std::vector<TPicture>& pictures) {
    pictures.push_back({"TOPBAR_GIF", std::nullopt, DrawTopBar()});

    const TCanvas panel = DrawSmallestPanel();
    struct TPiece {
        const char* Name;
        int X, Y, Width, Height;
    };
    constexpr int middle = TitleHeight;
    constexpr int bottom = TitleHeight + EdgeHeight;
    const TPiece pieces[] = {
        {"LEFTTOP_GIF", 0, 0, Side, TitleHeight},
        {"CENTERTOP_GIF", Side, 0, 1, TitleHeight},
        {"RIGHTTOP_GIF", Side + 1, 0, Side, TitleHeight},
        {"LEFTMIDDLE_GIF", 0, middle, Side, EdgeHeight},
        {"RIGHTMIDDLE_GIF", Side + 1, middle, Side, EdgeHeight},
        {"LEFTBOTTOM_GIF", 0, bottom, Side, BottomHeight},
        {"CENTERBOTTOM_GIF", Side, bottom, 1, BottomHeight},
        {"RIGHTBOTTOM_GIF", Side + 1, bottom, Side, BottomHeight},
    };
    for (const TPiece& piece : pieces) {
        pictures.push_back(
            {piece.Name, PageColour, Cut(panel, piece.X, piece.Y, piece.Width, piece.Height)});
    }
}

} // namespace stellik::art
