#include "shell/TimerImage.h"

#include "platform/CairoHandles.h"
#include "platform/GifWriter.h"
#include "shell/LocaleTime.h"

#include <langinfo.h>

namespace stellik {

namespace {

constexpr int ImageWidth = 54;
constexpr int ImageHeight = 20;
constexpr uint32_t Background = 0x3E669C; // red 62, green 102, blue 156
constexpr double TextX = 2;
constexpr double TextY = 4;
// Point sizes are meant at 96 dots per inch, where 9 pt is 12 pixels.
constexpr double ScreenDpi = 96;
// Verdana's digits hint to 7 pixels at this size, so "00:00:00" just fits the picture. The
// usual stand-in, DejaVu Sans, hints them to 8 and loses the last digit; its condensed face
// keeps Verdana's width. fontconfig takes the first family installed.
constexpr const char* TimerFont = "Verdana,DejaVu Sans Condensed 9";

void ShowText(cairo_t* cr, const std::string& text) {
    const TPangoLayoutPtr layout(pango_cairo_create_layout(cr));
    PangoContext* context = pango_layout_get_context(layout.get());
    pango_cairo_context_set_resolution(context, ScreenDpi);
    const TCairoFontOptionsPtr options(cairo_font_options_create());
    cairo_font_options_set_antialias(options.get(), CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options.get(), CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(options.get(), CAIRO_HINT_STYLE_FULL);
    pango_cairo_context_set_font_options(context, options.get());
    pango_layout_context_changed(layout.get());

    const TPangoFontDescriptionPtr font(pango_font_description_from_string(TimerFont));
    pango_layout_set_font_description(layout.get(), font.get());
    pango_layout_set_text(layout.get(), text.data(), static_cast<int>(text.size()));
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_move_to(cr, TextX, TextY);
    pango_cairo_show_layout(cr, layout.get());
}

} // namespace

std::string FormatLongTime(TDateTime time) {
    // The time left is a span, not a time of day: a 12-hour clock would write 20 minutes as
    // "12:19:59 AM", and the picture has no room for the half of the day either.
    constexpr const char* SpanFormat = "%H:%M:%S";
    const char* longTime = nl_langinfo(T_FMT); // what "%X" writes
    return FormatLocaleDateTime(TimeOfDayParts(time),
                                IsTwelveHourFormat(longTime) ? SpanFormat : longTime, SpanFormat);
}

void WriteTimerImage(TDateTime leftTime, TMemoryStream& stream) {
    const TCanvas canvas(ImageWidth, ImageHeight);
    cairo_t* cr = canvas.Cr.get();
    cairo_set_source_rgb(cr, (Background >> 16) / 255.0, (Background >> 8 & 0xFF) / 255.0,
                         (Background & 0xFF) / 255.0);
    cairo_paint(cr);
    ShowText(cr, FormatLongTime(leftTime));
    cairo_surface_flush(canvas.Surface.get());

    const TRgbImage image{ImageWidth, ImageHeight,
                          cairo_image_surface_get_stride(canvas.Surface.get()),
                          cairo_image_surface_get_data(canvas.Surface.get())};
    const std::string gif = EncodeGif(image, Background);
    stream.Clear();
    stream.Write(gif);
}

} // namespace stellik
