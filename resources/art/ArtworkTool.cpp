// Draws the program's own pictures and writes each as a GIF named by its resource name,
// with a contact sheet of them all for people to look at.
//
// stellik_artwork_tool OUTPUT_FOLDER NAME...   (the names the build expects, all of them)

#include "platform/Exception.h"
#include "platform/GifWriter.h"
#include "platform/MemoryStream.h"
#include "resources/art/ContactSheet.h"
#include "resources/art/Pictures.h"

#include <cstdio>
#include <set>

namespace {

using namespace stellik;

void CheckNames(const std::vector<art::TPicture>& pictures, std::set<std::string> expected) {
    for (const art::TPicture& picture : pictures) {
        if (expected.erase(picture.Name) == 0) {
            throw Exception("The build does not expect the picture " + picture.Name);
        }
    }
    if (!expected.empty()) {
        throw Exception("No picture is drawn for " + *expected.begin());
    }
}

void Run(const std::string& folder, const std::set<std::string>& names) {
    const std::vector<art::TPicture> pictures = art::DrawAllPictures();
    CheckNames(pictures, names);
    std::vector<art::TShippedPicture> shipped;
    for (const art::TPicture& picture : pictures) {
        cairo_surface_t* surface = picture.Canvas.Surface.get();
        const TRgbImage image{
            cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface),
            cairo_image_surface_get_stride(surface), cairo_image_surface_get_data(surface)};
        TIndexedImage indexed = ReduceToPalette(image, picture.Backdrop);
        TMemoryStream(EncodeGif(indexed)).SaveToFile(folder + "/" + picture.Name);
        shipped.push_back({picture.Name, picture.Backdrop, std::move(indexed)});
    }
    art::WriteContactSheet(shipped, folder + "/contact-sheet.png");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER NAME...\n", argv[0]);
        return 2;
    }
    try {
        Run(argv[1], std::set<std::string>(argv + 2, argv + argc));
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.what());
        return 1;
    }
}
