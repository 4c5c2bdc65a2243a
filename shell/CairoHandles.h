// shell/CairoHandles.h -- one owner for every cairo and Pango handle of the drawing code
#pragma once

#include "platform/Exception.h"

#include <cairo.h>
#include <glib-object.h>
#include <pango/pangocairo.h>

#include <memory>

namespace stellik {

struct CairoSurfaceFree {
    void operator()(cairo_surface_t* s) const noexcept { cairo_surface_destroy(s); }
};
using TCairoSurfacePtr = std::unique_ptr<cairo_surface_t, CairoSurfaceFree>;

struct CairoFree {
    void operator()(cairo_t* c) const noexcept { cairo_destroy(c); }
};
using TCairoPtr = std::unique_ptr<cairo_t, CairoFree>;

struct CairoPatternFree {
    void operator()(cairo_pattern_t* p) const noexcept { cairo_pattern_destroy(p); }
};
using TCairoPatternPtr = std::unique_ptr<cairo_pattern_t, CairoPatternFree>;

struct CairoFontOptionsFree {
    void operator()(cairo_font_options_t* o) const noexcept { cairo_font_options_destroy(o); }
};
using TCairoFontOptionsPtr = std::unique_ptr<cairo_font_options_t, CairoFontOptionsFree>;

struct PangoFontDescriptionFree {
    void operator()(PangoFontDescription* d) const noexcept { pango_font_description_free(d); }
};
using TPangoFontDescriptionPtr = std::unique_ptr<PangoFontDescription, PangoFontDescriptionFree>;

struct GObjectUnref {
    void operator()(gpointer object) const noexcept { g_object_unref(object); }
};
using TPangoLayoutPtr = std::unique_ptr<PangoLayout, GObjectUnref>;
using TPangoContextPtr = std::unique_ptr<PangoContext, GObjectUnref>;

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
