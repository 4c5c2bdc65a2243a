#include "platform/GifWriter.h"

#include "platform/CFree.h"
#include "platform/Exception.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>

namespace stellik {

namespace {

using GifMapPtr = std::unique_ptr<ColorMapObject, TCFree<GifFreeMapObject>>;

// Closing writes the trailer, so the normal path closes by hand to see its error; this one
// only cleans up after a failure.
struct GifFileAbandon {
    void operator()(GifFileType* gif) const noexcept {
        int error = 0;
        EGifCloseFile(gif, &error);
    }
};
using GifFilePtr = std::unique_ptr<GifFileType, GifFileAbandon>;

[[noreturn]] void ThrowGifError(int error) {
    const char* text = GifErrorString(error);
    throw Exception(std::string("GIF writer: ") + (text != nullptr ? text : "unknown error"));
}

void Check(int status, const GifFileType* gif) {
    if (status == GIF_ERROR) {
        ThrowGifError(gif->Error);
    }
}

// giflib's output callback; no exception may leave it.
int AppendToString(GifFileType* gif, const GifByteType* bytes, int length) noexcept {
    try {
        static_cast<std::string*>(gif->UserData)
            ->append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
        return length;
    } catch (...) {
        return 0;
    }
}

// GIF colour tables have 2^n entries, 2 to 256.
int BitsFor(size_t colours) {
    int bits = 1;
    while ((size_t{1} << bits) < colours) {
        ++bits;
    }
    return bits;
}

GifMapPtr MakeColourMap(const std::vector<uint32_t>& palette) {
    const int bits = BitsFor(palette.size());
    GifMapPtr map(GifMakeMapObject(1 << bits, nullptr));
    if (!map) {
        throw Exception("GIF writer: out of memory");
    }
    for (int i = 0; i < map->ColorCount; ++i) {
        const uint32_t rgb = static_cast<size_t>(i) < palette.size() ? palette[i] : 0;
        map->Colors[i] = {static_cast<GifByteType>(rgb >> 16), static_cast<GifByteType>(rgb >> 8),
                          static_cast<GifByteType>(rgb)};
    }
    return map;
}

} // namespace

std::string EncodeGif(const TIndexedImage& image) {
    const bool sized = image.Width > 0 && image.Height > 0 && image.Width <= 0xFFFF &&
                       image.Height <= 0xFFFF &&
                       image.Indices.size() ==
                           static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height);
    const int colours = static_cast<int>(image.Palette.size());
    if (!sized || colours == 0 || colours > 256 || image.TransparentIndex >= colours ||
        *std::max_element(image.Indices.begin(), image.Indices.end()) >= colours) {
        throw Exception("GIF writer: invalid picture");
    }
    std::string bytes;
    int error = 0;
    GifFilePtr gif(EGifOpen(&bytes, AppendToString, &error));
    if (!gif) {
        ThrowGifError(error);
    }
    EGifSetGifVersion(gif.get(), true);
    {
        const GifMapPtr map = MakeColourMap(image.Palette);
        Check(EGifPutScreenDesc(gif.get(), image.Width, image.Height, map->BitsPerPixel, 0,
                                map.get()),
              gif.get());
    }
    if (image.TransparentIndex >= 0) {
        GraphicsControlBlock control{};
        control.DisposalMode = DISPOSAL_UNSPECIFIED;
        control.TransparentColor = image.TransparentIndex;
        GifByteType extension[4];
        const size_t length = EGifGCBToExtension(&control, extension);
        Check(EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length),
                               extension),
              gif.get());
    }
    Check(EGifPutImageDesc(gif.get(), 0, 0, image.Width, image.Height, false, nullptr), gif.get());
    // giflib masks the line it is given in place, so it gets a copy.
    std::vector<GifPixelType> row(static_cast<size_t>(image.Width));
    for (int y = 0; y < image.Height; ++y) {
        const auto begin = image.Indices.begin() + static_cast<ptrdiff_t>(y) * image.Width;
        std::copy(begin, begin + image.Width, row.begin());
        Check(EGifPutLine(gif.get(), row.data(), image.Width), gif.get());
    }
    if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) {
        ThrowGifError(error);
    }
    return bytes;
}

std::string EncodeGif(const TRgbImage& image, std::optional<uint32_t> transparentRgb) {
    return EncodeGif(ReduceToPalette(image, transparentRgb));
}

} // namespace stellik
