#include "resources/art/Drawing.h"

#include <cmath>
#include <numbers>

namespace stellik::art {

namespace {

double Part(uint32_t rgb, int shift) {
    return static_cast<double>(rgb >> shift & 0xFF) / 255.0;
}

} // namespace

void SetColour(cairo_t* cr, uint32_t rgb, double alpha) {
    cairo_set_source_rgba(cr, Part(rgb, 16), Part(rgb, 8), Part(rgb, 0), alpha);
}

void RoundedRectangle(cairo_t* cr, double x, double y, double width, double height, TRadii radii) {
    constexpr double quarter = std::numbers::pi / 2;
    cairo_new_path(cr);
    cairo_arc(cr, x + radii.TopLeft, y + radii.TopLeft, radii.TopLeft, 2 * quarter, 3 * quarter);
    cairo_arc(cr, x + width - radii.TopRight, y + radii.TopRight, radii.TopRight, 3 * quarter,
              4 * quarter);
    cairo_arc(cr, x + width - radii.BottomRight, y + height - radii.BottomRight, radii.BottomRight,
              0, quarter);
    cairo_arc(cr, x + radii.BottomLeft, y + height - radii.BottomLeft, radii.BottomLeft, quarter,
              2 * quarter);
    cairo_close_path(cr);
}

void RoundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius) {
    RoundedRectangle(cr, x, y, width, height, {radius, radius, radius, radius});
}

void AddColourStop(cairo_pattern_t* gradient, double at, uint32_t rgb) {
    cairo_pattern_add_color_stop_rgb(gradient, at, Part(rgb, 16), Part(rgb, 8), Part(rgb, 0));
}

void FillGradient(cairo_t* cr, double top, double bottom, uint32_t topRgb, uint32_t bottomRgb) {
    const TCairoPatternPtr gradient(cairo_pattern_create_linear(0, top, 0, bottom));
    AddColourStop(gradient.get(), 0, topRgb);
    AddColourStop(gradient.get(), 1, bottomRgb);
    cairo_set_source(cr, gradient.get());
    cairo_fill(cr);
}

TPangoLayoutPtr MakeText(cairo_t* cr, const std::string& text, TFont font) {
    TPangoLayoutPtr layout(pango_cairo_create_layout(cr));
    PangoContext* context = pango_layout_get_context(layout.get());
    pango_cairo_context_set_resolution(context, 96);
    const TCairoFontOptionsPtr options(cairo_font_options_create());
    cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_SLIGHT);
    pango_cairo_context_set_font_options(context, options.get());
    pango_layout_context_changed(layout.get());

    const TPangoFontDescriptionPtr description(pango_font_description_new());
    pango_font_description_set_family(description.get(), font.Family);
    pango_font_description_set_absolute_size(description.get(), font.Pixels * PANGO_SCALE);
    pango_font_description_set_weight(description.get(),
                                      font.Bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout.get(), description.get());
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
    return layout;
}

TTextSize LogicalSize(PangoLayout* layout) {
    PangoRectangle logical{};
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    return {logical.width, logical.height};
}

void ShowText(cairo_t* cr, PangoLayout* layout, double x, double y, uint32_t rgb) {
    SetColour(cr, rgb);
    cairo_move_to(cr, x, y);
    pango_cairo_show_layout(cr, layout);
}

void ShowCentredText(cairo_t* cr, const std::string& text, TFont font, double cx, double cy,
                     uint32_t rgb) {
    const TPangoLayoutPtr layout = MakeText(cr, text, font);
    const TTextSize size = LogicalSize(layout.get());
    ShowText(cr, layout.get(), std::round(cx - size.Width / 2.0),
             std::round(cy - size.Height / 2.0), rgb);
}

} // namespace stellik::art
