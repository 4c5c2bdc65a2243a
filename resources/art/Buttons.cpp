#include "resources/art/ArtColours.h"
#include "resources/art/Drawing.h"
#include "resources/art/Pictures.h"

#include <cmath>
#include <numbers>

namespace stellik::art {

namespace {

// A light rounded face with an outline, a lit inner edge and a soft shadow below.
void DrawButtonFace(cairo_t* cr, double x, double y, double width, double height, double radius,
                    int shadow) {
    for (int k = shadow; k >= 1; --k) {
        RoundedRectangle(cr, x - k / 2.0, y + k, width + k, height, radius + k / 2.0);
        SetColour(cr, 0x000000, 0.07);
        cairo_fill(cr);
    }
    RoundedRectangle(cr, x, y, width, height, radius);
    FillGradient(cr, y, y + height, ButtonTopColour, ButtonBottomColour);
    RoundedRectangle(cr, x + 1.5, y + 1.5, width - 3, height - 3, radius - 1.5);
    SetColour(cr, 0xFFFFFF, 0.7);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    RoundedRectangle(cr, x + 0.5, y + 0.5, width - 1, height - 1, radius - 0.5);
    SetColour(cr, ButtonLineColour);
    cairo_stroke(cr);
}

// A round badge of the heading blue with a white triangle pointing right.
void DrawStartBadge(cairo_t* cr, double cx, double cy, double radius) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, radius, 0, 2 * std::numbers::pi);
    FillGradient(cr, cy - radius, cy + radius, TitleTopColour, TitleBottomColour);
    cairo_arc(cr, cx, cy, radius - 0.5, 0, 2 * std::numbers::pi);
    SetColour(cr, FrameLineColour);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // The triangle's centre of area on the badge's centre.
    const double half = radius * 0.42;
    const double length = half * std::sqrt(3.0);
    cairo_move_to(cr, cx - length / 3, cy - half);
    cairo_line_to(cr, cx + 2 * length / 3, cy);
    cairo_line_to(cr, cx - length / 3, cy + half);
    cairo_close_path(cr);
    SetColour(cr, 0xFFFFFF);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 2.5);
    cairo_fill_preserve(cr);
    cairo_stroke(cr);
}

// An arrow going down into a tray, in a 16 x 16 box.
void DrawSaveIcon(cairo_t* cr, double x, double y) {
    SetColour(cr, HeadingColour);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, x + 8, y + 1.5);
    cairo_line_to(cr, x + 8, y + 8);
    cairo_stroke(cr);
    cairo_move_to(cr, x + 3.5, y + 6.5);
    cairo_line_to(cr, x + 12.5, y + 6.5);
    cairo_line_to(cr, x + 8, y + 11.5);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_move_to(cr, x + 1.5, y + 10);
    cairo_line_to(cr, x + 1.5, y + 14.5);
    cairo_line_to(cr, x + 14.5, y + 14.5);
    cairo_line_to(cr, x + 14.5, y + 10);
    cairo_stroke(cr);
}

TCanvas DrawStartButton() {
    constexpr int width = 320, height = 141;
    TCanvas canvas(width, height);
    cairo_t* cr = canvas.Cr.get();
    SetColour(cr, PageColour);
    cairo_paint(cr);
    DrawButtonFace(cr, 3, 2, width - 6, height - 7, 14, 4);
    DrawStartBadge(cr, width / 2.0, 52, 27);
    ShowCentredText(cr, "Начать тестирование", {"DejaVu Sans", 19, true}, width / 2.0, 105,
                    HeadingColour);
    cairo_surface_flush(canvas.Surface.get());
    return canvas;
}

TCanvas DrawSaveResultsButton() {
    constexpr int width = 222, height = 42;
    constexpr int icon = 16, gap = 8;
    TCanvas canvas(width, height);
    cairo_t* cr = canvas.Cr.get();
    SetColour(cr, TopBarColour);
    cairo_paint(cr);
    DrawButtonFace(cr, 1, 0, width - 2, height - 2, 8, 2);

    const TPangoLayoutPtr caption = MakeText(cr, "Сохранить результаты", {"DejaVu Sans", 13, true});
    const TTextSize size = LogicalSize(caption.get());
    const double left = std::round((width - (icon + gap + size.Width)) / 2.0);
    const double middle = (height - 2) / 2.0;
    DrawSaveIcon(cr, left, std::round(middle - icon / 2.0));
    ShowText(cr, caption.get(), left + icon + gap, std::round(middle - size.Height / 2.0),
             HeadingColour);
    cairo_surface_flush(canvas.Surface.get());
    return canvas;
}

} // namespace

void DrawButtons(std::vector<TPicture>& pictures) {
    pictures.push_back({"STARTBTN_GIF", PageColour, DrawStartButton()});
    pictures.push_back({"SAVERESULTBTN_GIF", TopBarColour, DrawSaveResultsButton()});
}

} // namespace stellik::art
