#include "resources/art/ArtColours.h"
#include "resources/art/Drawing.h"
#include "resources/art/Pictures.h"

#include <numbers>

namespace stellik::art {

namespace {

constexpr double Pi = std::numbers::pi;

TCanvas StartMark(int width, int height) {
    TCanvas canvas(width, height);
    SetColour(canvas.Cr.get(), ContentColour);
    cairo_paint(canvas.Cr.get());
    cairo_set_line_width(canvas.Cr.get(), 1);
    return canvas;
}

// A rounded box, empty for an unchosen answer, blue with a white tick for a chosen one.
TCanvas DrawChoiceMark(bool chosen) {
    TCanvas canvas = StartMark(16, 16);
    cairo_t* cr = canvas.Cr.get();
    RoundedRectangle(cr, 1.5, 1.5, 13, 13, 3);
    if (chosen) {
        FillGradient(cr, 1, 15, TitleTopColour, TitleBottomColour);
        RoundedRectangle(cr, 1.5, 1.5, 13, 13, 3);
        SetColour(cr, FrameLineColour);
        cairo_stroke(cr);
        cairo_move_to(cr, 4.5, 8.5);
        cairo_line_to(cr, 7, 11);
        cairo_line_to(cr, 11.5, 5.5);
        SetColour(cr, 0xFFFFFF);
        cairo_set_line_width(cr, 2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    } else {
        FillGradient(cr, 1, 15, 0xF4F6FA, MarkFaceColour);
        RoundedRectangle(cr, 1.5, 1.5, 13, 13, 3);
        SetColour(cr, MarkLineColour);
        cairo_stroke(cr);
    }
    cairo_surface_flush(canvas.Surface.get());
    return canvas;
}

// One rounded end of the outline around an entered answer; the outline runs on along the top
// and bottom rows at the inner edge.
TCanvas DrawEntryEnd(bool left) {
    constexpr int width = 10, height = 20;
    TCanvas canvas = StartMark(width, height);
    cairo_t* cr = canvas.Cr.get();
    const double radius = height / 2.0 - 1.5;
    const double cx = left ? width : 0;
    cairo_new_path(cr);
    cairo_arc(cr, cx, height / 2.0, radius, left ? Pi / 2 : -Pi / 2, left ? 3 * Pi / 2 : Pi / 2);
    SetColour(cr, MarkLineColour);
    cairo_stroke(cr);
    cairo_surface_flush(canvas.Surface.get());
    return canvas;
}

// A round coloured marker, lit from the upper left.
TCanvas DrawMarker(const TMarkerColours& colours) {
    TCanvas canvas = StartMark(12, 12);
    cairo_t* cr = canvas.Cr.get();
    const TCairoPatternPtr light(cairo_pattern_create_radial(4.5, 4, 0.5, 6, 6, 6));
    AddColourStop(light.get(), 0, colours.Light);
    AddColourStop(light.get(), 1, colours.Dark);
    cairo_arc(cr, 6, 6, 5.5, 0, 2 * Pi);
    cairo_set_source(cr, light.get());
    cairo_fill(cr);
    cairo_arc(cr, 6, 6, 5, 0, 2 * Pi);
    SetColour(cr, colours.Line);
    cairo_stroke(cr);
    cairo_surface_flush(canvas.Surface.get());
    return canvas;
}

} // namespace

void DrawMarks(std::vector<TPicture>& pictures) {
    pictures.push_back({"SELECT_GIF", ContentColour, DrawChoiceMark(true)});
    pictures.push_back({"INDEX_GIF", ContentColour, DrawChoiceMark(false)});
    pictures.push_back({"ENTERL_GIF", ContentColour, DrawEntryEnd(true)});
    pictures.push_back({"ENTERP_GIF", ContentColour, DrawEntryEnd(false)});
    pictures.push_back({"GMARKER_GIF", ContentColour, DrawMarker(GreenMarker)});
    pictures.push_back({"YMARKER_GIF", ContentColour, DrawMarker(YellowMarker)});
    pictures.push_back({"RMARKER_GIF", ContentColour, DrawMarker(RedMarker)});
}

} // namespace stellik::art
