// tests/platform/GifTestReader.h -- reads a GIF back with giflib for the tests of the writers
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace stellik::testing {

struct TDecodedGif {
    std::string Version; // "GIF87a" or "GIF89a"
    int Width = 0;
    int Height = 0;
    int FrameCount = 0;
    std::vector<uint32_t> Palette; // 0xRRGGBB, the whole colour table
    int TransparentIndex = -1;
    std::vector<uint8_t> Indices; // of the first frame, row by row

    int IndexAt(int x, int y) const { return Indices.at(static_cast<size_t>(y * Width + x)); }
    uint32_t RgbAt(int x, int y) const { return Palette.at(static_cast<size_t>(IndexAt(x, y))); }
    bool TransparentAt(int x, int y) const { return IndexAt(x, y) == TransparentIndex; }
};

inline TDecodedGif DecodeGif(std::string_view bytes) {
    struct TSource {
        std::string_view Bytes;
        size_t Position = 0;
    } source{bytes};
    const auto read = [](GifFileType* gif, GifByteType* buffer, int length) -> int {
        auto* from = static_cast<TSource*>(gif->UserData);
        const size_t count =
            std::min(static_cast<size_t>(length), from->Bytes.size() - from->Position);
        std::memcpy(buffer, from->Bytes.data() + from->Position, count);
        from->Position += count;
        return static_cast<int>(count);
    };
    struct TClose {
        void operator()(GifFileType* gif) const {
            int error = 0;
            DGifCloseFile(gif, &error);
        }
    };
    int error = 0;
    std::unique_ptr<GifFileType, TClose> gif(DGifOpen(&source, read, &error));
    if (!gif || DGifSlurp(gif.get()) != GIF_OK || gif->ImageCount < 1) {
        throw std::runtime_error("not a readable GIF");
    }
    TDecodedGif result;
    result.Version = std::string(bytes.substr(0, 6));
    result.Width = gif->SWidth;
    result.Height = gif->SHeight;
    result.FrameCount = gif->ImageCount;
    const SavedImage& frame = gif->SavedImages[0];
    const ColorMapObject* map =
        frame.ImageDesc.ColorMap != nullptr ? frame.ImageDesc.ColorMap : gif->SColorMap;
    for (int i = 0; map != nullptr && i < map->ColorCount; ++i) {
        const GifColorType c = map->Colors[i];
        result.Palette.push_back(uint32_t{c.Red} << 16 | uint32_t{c.Green} << 8 | c.Blue);
    }
    GraphicsControlBlock control{};
    if (DGifSavedExtensionToGCB(gif.get(), 0, &control) == GIF_OK) {
        result.TransparentIndex = control.TransparentColor;
    }
    const size_t count = static_cast<size_t>(frame.ImageDesc.Width) * frame.ImageDesc.Height;
    result.Indices.assign(frame.RasterBits, frame.RasterBits + count);
    return result;
}

} // namespace stellik::testing
