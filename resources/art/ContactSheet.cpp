#include "resources/art/ContactSheet.h"

#include "platform/Exception.h"
#include "resources/art/ArtColours.h"
#include "resources/art/Drawing.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <map>

namespace stellik::art {

namespace {

constexpr int Scale = 3;
constexpr int Margin = 20;
constexpr int LabelHeight = 18;
constexpr int MockWidth = 520;
constexpr int MockHeight = 300;
constexpr int SheetWidth = 2 * MockWidth + 2 * Margin;

TCanvas ToCanvas(const TIndexedImage& image) {
    TCanvas canvas(image.Width, image.Height);
    cairo_surface_flush(canvas.Surface.get());
    uint8_t* data = cairo_image_surface_get_data(canvas.Surface.get());
    const int stride = cairo_image_surface_get_stride(canvas.Surface.get());
    for (int y = 0; y < image.Height; ++y) {
        for (int x = 0; x < image.Width; ++x) {
            const int index = image.Indices[static_cast<size_t>(y * image.Width + x)];
            const uint32_t pixel = index == image.TransparentIndex
                                       ? 0
                                       : 0xFF000000u | image.Palette[static_cast<size_t>(index)];
            std::memcpy(data + y * stride + x * 4, &pixel, sizeof pixel);
        }
    }
    cairo_surface_mark_dirty(canvas.Surface.get());
    return canvas;
}

void PaintScaled(cairo_t* cr, cairo_surface_t* surface, double x, double y, double scale) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
}

// Repeats surface over the rectangle, starting at its top left, as a table cell background.
void Tile(cairo_t* cr, cairo_surface_t* surface, double x, double y, double width, double height) {
    cairo_save(cr);
    cairo_rectangle(cr, x, y, width, height);
    cairo_clip(cr);
    cairo_set_source_surface(cr, surface, x, y);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
}

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

using TCanvasByName = std::map<std::string, TCanvas>;

cairo_surface_t* Find(const TCanvasByName& canvases, const std::string& name) {
    const auto found = canvases.find(name);
    if (found == canvases.end()) {
        throw Exception("No picture " + name);
    }
    return found->second.Surface.get();
}

void DrawPanel(cairo_t* cr, const TCanvasByName& p, double x, double y, double width,
               double contentHeight, const std::string& title) {
    const double right = x + width - 10;
    cairo_set_source_surface(cr, Find(p, "LEFTTOP_GIF"), x, y);
    cairo_paint(cr);
    Tile(cr, Find(p, "CENTERTOP_GIF"), x + 10, y, width - 20, 38);
    cairo_set_source_surface(cr, Find(p, "RIGHTTOP_GIF"), right, y);
    cairo_paint(cr);
    const TPangoLayoutPtr heading = MakeText(cr, title, {"DejaVu Sans", 14, false});
    ShowText(cr, heading.get(), x + 12, y + (38 - LogicalSize(heading.get()).Height) / 2, 0xFFFFFF);

    const double middle = y + 38;
    Tile(cr, Find(p, "LEFTMIDDLE_GIF"), x, middle, 10, contentHeight);
    cairo_rectangle(cr, x + 10, middle, width - 20, contentHeight);
    SetColour(cr, ContentColour);
    cairo_fill(cr);
    Tile(cr, Find(p, "RIGHTMIDDLE_GIF"), right, middle, 10, contentHeight);

    const double bottom = middle + contentHeight;
    cairo_set_source_surface(cr, Find(p, "LEFTBOTTOM_GIF"), x, bottom);
    cairo_paint(cr);
    Tile(cr, Find(p, "CENTERBOTTOM_GIF"), x + 10, bottom, width - 20, 8);
    cairo_set_source_surface(cr, Find(p, "RIGHTBOTTOM_GIF"), right, bottom);
    cairo_paint(cr);
}

// Shows a picture with its top left at x, y; returns the x after it.
double Place(cairo_t* cr, const TCanvasByName& p, const std::string& name, double x, double y) {
    cairo_surface_t* surface = Find(p, name);
    cairo_set_source_surface(cr, surface, x, y);
    cairo_paint(cr);
    return x + cairo_image_surface_get_width(surface);
}

// Text with its logical box vertically centred on cy; returns the x after it.
double Say(cairo_t* cr, const std::string& text, TFont font, uint32_t rgb, double x, double cy) {
    const TPangoLayoutPtr layout = MakeText(cr, text, font);
    const TTextSize size = LogicalSize(layout.get());
    ShowText(cr, layout.get(), x, std::round(cy - size.Height / 2.0), rgb);
    return x + size.Width;
}

// The title page's start picture above the stop page's top bar with the save-results picture.
TCanvas DrawMockButtons(const TCanvasByName& p) {
    TCanvas page(MockWidth, MockHeight);
    cairo_t* cr = page.Cr.get();
    SetColour(cr, PageColour);
    cairo_paint(cr);
    const auto centred = [&](const char* name, double y) {
        Place(cr, p, name, (MockWidth - cairo_image_surface_get_width(Find(p, name))) / 2, y);
    };
    centred("STARTBTN_GIF", 30);
    Tile(cr, Find(p, "TOPBAR_GIF"), 0, 220, MockWidth, 49);
    centred("SAVERESULTBTN_GIF", 222);
    cairo_surface_flush(page.Surface.get());
    return page;
}

// A run page as the browser would lay it out: the top bar, and a panel with a question, its
// answer outputs and the report markers.
TCanvas DrawMockPage(const TCanvasByName& p) {
    TCanvas page(MockWidth, MockHeight);
    cairo_t* cr = page.Cr.get();
    SetColour(cr, PageColour);
    cairo_paint(cr);

    Tile(cr, Find(p, "TOPBAR_GIF"), 0, 0, MockWidth, 49);
    const TFont verdana12{"DejaVu Sans", 12, false};
    double x =
        Say(cr, "пройдено вопросов: 2 из 5 | времени осталось: ", verdana12, 0xFFFFFF, 10, 24.5);
    Say(cr, "00:04:59", {"DejaVu Sans Condensed", 12, false}, 0xFFFFFF, x + 2, 24.5);

    constexpr double panelX = 15, panelY = 69, panelWidth = MockWidth - 30, contentHeight = 170;
    DrawPanel(cr, p, panelX, panelY, panelWidth, contentHeight, "Демонстрационный тест");

    const double left = panelX + 16;
    double y = panelY + 38 + 16;
    Say(cr, "Вопрос №1", {"DejaVu Sans", 12, true}, HeadingColour, left, y);
    y += 26;
    const TFont label{"DejaVu Sans", 12, true};
    x = left;
    for (const auto& [letter, mark] : {std::pair{"a)", "SELECT_GIF"}, std::pair{"b)", "INDEX_GIF"},
                                       std::pair{"c)", "SELECT_GIF"}}) {
        x = Say(cr, letter, label, HeadingColour, x, y) + 4;
        x = Place(cr, p, mark, x, y - 8) + 24;
    }
    y += 30;
    x = Place(cr, p, "ENTERL_GIF", left, y - 10);
    x = Say(cr, "Ньютон", {"DejaVu Sans", 10, false}, 0x000000, x + 2, y);
    Place(cr, p, "ENTERP_GIF", x + 2, y - 10);
    y += 30;
    x = left;
    for (const auto& [name, text] :
         {std::pair{"GMARKER_GIF", "Вопрос №1"}, std::pair{"YMARKER_GIF", "Вопрос №2"},
          std::pair{"RMARKER_GIF", "Вопрос №3"}}) {
        x = Place(cr, p, name, x, y - 6) + 5;
        x = Say(cr, text, {"DejaVu Sans", 12, true}, HeadingColour, x, y) + 24;
    }
    y += 26;
    Say(cr, "Дан ответ: a, c", {"DejaVu Sans", 12, false}, HeadingColour, left, y);
    cairo_surface_flush(page.Surface.get());
    return page;
}

// One-pixel-wide strips are shown repeated, as the page repeats them.
constexpr int NarrowRepeat = 12;
int ShownWidth(const TIndexedImage& image) {
    return image.Width == 1 ? NarrowRepeat : image.Width;
}

struct TPlaced {
    const TShippedPicture* Picture;
    double X, Y;
};

// Lays the enlarged pictures out in rows; returns the height they take.
double LayOut(const std::vector<TShippedPicture>& pictures, std::vector<TPlaced>& placed) {
    constexpr int pad = 2 * Scale; // the backdrop shows around each picture
    double x = Margin, y = Margin, rowHeight = 0;
    for (const TShippedPicture& picture : pictures) {
        const double width = std::max(ShownWidth(picture.Image) * Scale + 2 * pad, 150);
        const double height = LabelHeight + picture.Image.Height * Scale + 2 * pad;
        if (x + width > SheetWidth - Margin && x > Margin) {
            x = Margin;
            y += rowHeight + Margin;
            rowHeight = 0;
        }
        placed.push_back({&picture, x, y});
        x += width + Margin;
        rowHeight = std::max(rowHeight, height);
    }
    return y + rowHeight + Margin;
}

} // namespace

void WriteContactSheet(const std::vector<TShippedPicture>& pictures, const std::string& path) {
    TCanvasByName canvases;
    for (const TShippedPicture& picture : pictures) {
        canvases.emplace(picture.Name, ToCanvas(picture.Image));
    }
    std::vector<TPlaced> placed;
    const double tilesHeight = LayOut(pictures, placed);
    const int height = static_cast<int>(tilesHeight) + LabelHeight + MockHeight * 3 + 2 * Margin;
    TCanvas sheet(SheetWidth, height);
    cairo_t* cr = sheet.Cr.get();
    SetColour(cr, PageColour);
    cairo_paint(cr);

    const TFont labelFont{"DejaVu Sans", 11, false};
    for (const TPlaced& at : placed) {
        const TShippedPicture& picture = *at.Picture;
        const TPangoLayoutPtr label =
            MakeText(cr,
                     LowerCase(picture.Name) + "  " + std::to_string(picture.Image.Width) + "×" +
                         std::to_string(picture.Image.Height),
                     labelFont);
        ShowText(cr, label.get(), at.X, at.Y, 0xFFFFFF);
        const double top = at.Y + LabelHeight;
        const int pad = 2 * Scale;
        cairo_rectangle(cr, at.X, top, ShownWidth(picture.Image) * Scale + 2 * pad,
                        picture.Image.Height * Scale + 2 * pad);
        SetColour(cr, picture.Backdrop.value_or(PageColour));
        cairo_fill(cr);
        cairo_surface_t* surface = canvases.at(picture.Name).Surface.get();
        if (picture.Image.Width == 1) {
            cairo_save(cr);
            cairo_translate(cr, at.X + pad, top + pad);
            cairo_scale(cr, Scale, Scale);
            Tile(cr, surface, 0, 0, NarrowRepeat, picture.Image.Height);
            cairo_restore(cr);
        } else {
            PaintScaled(cr, surface, at.X + pad, top + pad, Scale);
        }
    }

    // A run page, the start picture and a save-results bar at actual size, and the run page
    // at twice the size, where a seam between frame pieces would show.
    const TCanvas mock = DrawMockPage(canvases);
    const TPangoLayoutPtr caption = MakeText(
        cr, "actual size: a run page; the start picture; a save-results bar. Below: twice the size",
        labelFont);
    ShowText(cr, caption.get(), Margin, tilesHeight, 0xFFFFFF);
    const double mockTop = tilesHeight + LabelHeight;
    PaintScaled(cr, mock.Surface.get(), Margin, mockTop, 1);
    PaintScaled(cr, DrawMockButtons(canvases).Surface.get(), Margin + MockWidth, mockTop, 1);
    PaintScaled(cr, mock.Surface.get(), Margin, mockTop + MockHeight + Margin, 2);
    cairo_surface_flush(sheet.Surface.get());
    const cairo_status_t status = cairo_surface_write_to_png(sheet.Surface.get(), path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        throw Exception("Cannot write " + path + ": " + cairo_status_to_string(status));
    }
}

} // namespace stellik::art
