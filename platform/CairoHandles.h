// platform/CairoHandles.h -- one owner for every cairo and Pango handle of the drawing code
// (header only: the platform library does not link cairo; the shell and the artwork tool do)
#pragma once

#include "platform/CFree.h"
#include "platform/Exception.h"

#include <cairo.h>
#include <glib-object.h>
#include <pango/pangocairo.h>

#include <memory>

namespace stellik {

using TCairoSurfacePtr = std::unique_ptr<cairo_surface_t, TCFree<cairo_surface_destroy>>;
using TCairoPtr = std::unique_ptr<cairo_t, TCFree<cairo_destroy>>;
using TCairoPatternPtr = std::unique_ptr<cairo_pattern_t, TCFree<cairo_pattern_destroy>>;
using TCairoFontOptionsPtr =
    std::unique_ptr<cairo_font_options_t, TCFree<cairo_font_options_destroy>>;
using TPangoFontDescriptionPtr =
    std::unique_ptr<PangoFontDescription, TCFree<pango_font_description_free>>;
using TPangoLayoutPtr = std::unique_ptr<PangoLayout, TCFree<g_object_unref>>;
using TPangoContextPtr = std::unique_ptr<PangoContext, TCFree<g_object_unref>>;

// A drawing surface in cairo's ARGB32 layout with its context.
struct TCanvas {
    TCairoSurfacePtr Surface;
    TCairoPtr Cr;

    TCanvas(int width, int height)
        : Surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
          Cr(cairo_create(Surface.get())) {
        if (cairo_status(Cr.get()) != CAIRO_STATUS_SUCCESS) {
            throw Exception(cairo_status_to_string(cairo_status(Cr.get())));
        }
    }
};

} // namespace stellik
