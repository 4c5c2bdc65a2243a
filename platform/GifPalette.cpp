#include "platform/GifPalette.h"

#include "platform/Exception.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_map>

namespace stellik {

namespace {

constexpr size_t MaxColours = 256;
constexpr uint32_t TransparentKey = 0xFF000000u; // no straight 0xRRGGBB colour has these bits
constexpr std::array<int, 3> ChannelShifts = {16, 8, 0};

int Channel(uint32_t rgb, int shift) {
    return static_cast<int>(rgb >> shift & 0xFF);
}

// The straight 0xRRGGBB colour of one premultiplied pixel, or TransparentKey.
uint32_t PixelKey(uint32_t argb) {
    const uint32_t alpha = argb >> 24;
    if (alpha < 128) {
        return TransparentKey;
    }
    if (alpha == 255) {
        return argb & 0xFFFFFF;
    }
    uint32_t rgb = 0;
    for (const int shift : ChannelShifts) {
        const uint32_t premultiplied = argb >> shift & 0xFF;
        rgb |= std::min<uint32_t>(255, (premultiplied * 255 + alpha / 2) / alpha) << shift;
    }
    return rgb;
}

std::vector<uint32_t> ReadKeys(const TRgbImage& image, std::optional<uint32_t> transparentRgb) {
    if (image.Width <= 0 || image.Height <= 0 || image.Width > 0xFFFF || image.Height > 0xFFFF ||
        image.Stride < image.Width * 4 || image.Pixels == nullptr) {
        throw Exception("Invalid picture size");
    }
    std::vector<uint32_t> keys;
    keys.reserve(static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height));
    uint32_t lastPixel = 0;
    uint32_t lastKey = PixelKey(0);
    for (int y = 0; y < image.Height; ++y) {
        const uint8_t* row = image.Pixels + static_cast<ptrdiff_t>(y) * image.Stride;
        for (int x = 0; x < image.Width; ++x) {
            uint32_t pixel;
            std::memcpy(&pixel, row + x * 4, sizeof pixel);
            if (pixel != lastPixel) { // runs of one colour are the rule in drawn pictures
                lastPixel = pixel;
                lastKey = PixelKey(pixel);
                if (transparentRgb && lastKey == (*transparentRgb & 0xFFFFFF)) {
                    lastKey = TransparentKey;
                }
            }
            keys.push_back(lastKey);
        }
    }
    return keys;
}

struct TColourCount {
    uint32_t Rgb = 0;
    uint64_t Count = 0;
};

// A run of the histogram that becomes one palette entry.
struct TBox {
    size_t Begin = 0, End = 0;
    int Shift = 0; // the channel with the widest range
    int Range = 0;
};

TBox MakeBox(const std::vector<TColourCount>& colours, size_t begin, size_t end) {
    TBox box{begin, end, 0, -1};
    for (const int shift : ChannelShifts) {
        int low = 255, high = 0;
        for (size_t i = begin; i < end; ++i) {
            low = std::min(low, Channel(colours[i].Rgb, shift));
            high = std::max(high, Channel(colours[i].Rgb, shift));
        }
        if (high - low > box.Range) {
            box.Range = high - low;
            box.Shift = shift;
        }
    }
    return box;
}

// Splits the widest box at the median of its population until there are count boxes or
// none can be split.
std::vector<TBox> MedianCut(std::vector<TColourCount>& colours, size_t count) {
    std::vector<TBox> boxes{MakeBox(colours, 0, colours.size())};
    while (boxes.size() < count) {
        const auto widest =
            std::max_element(boxes.begin(), boxes.end(),
                             [](const TBox& a, const TBox& b) { return a.Range < b.Range; });
        if (widest->Range == 0) {
            break;
        }
        const TBox box = *widest;
        const auto first = colours.begin() + static_cast<ptrdiff_t>(box.Begin);
        const auto last = colours.begin() + static_cast<ptrdiff_t>(box.End);
        std::sort(first, last, [shift = box.Shift](const TColourCount& a, const TColourCount& b) {
            return Channel(a.Rgb, shift) < Channel(b.Rgb, shift);
        });
        uint64_t total = 0;
        for (auto it = first; it != last; ++it) {
            total += it->Count;
        }
        size_t split = box.Begin + 1;
        for (uint64_t below = colours[box.Begin].Count; split + 1 < box.End && below * 2 < total;
             ++split) {
            below += colours[split].Count;
        }
        *widest = MakeBox(colours, box.Begin, split);
        boxes.push_back(MakeBox(colours, split, box.End));
    }
    return boxes;
}

uint32_t MeanColour(const std::vector<TColourCount>& colours, const TBox& box) {
    std::array<uint64_t, 3> sums{};
    uint64_t total = 0;
    for (size_t i = box.Begin; i < box.End; ++i) {
        for (size_t c = 0; c < ChannelShifts.size(); ++c) {
            sums[c] +=
                static_cast<uint64_t>(Channel(colours[i].Rgb, ChannelShifts[c])) * colours[i].Count;
        }
        total += colours[i].Count;
    }
    uint32_t rgb = 0;
    for (size_t c = 0; c < ChannelShifts.size(); ++c) {
        rgb |= static_cast<uint32_t>((sums[c] + total / 2) / total) << ChannelShifts[c];
    }
    return rgb;
}

int Distance(uint32_t a, uint32_t b) {
    int sum = 0;
    for (const int shift : ChannelShifts) {
        const int d = Channel(a, shift) - Channel(b, shift);
        sum += d * d;
    }
    return sum;
}

// Adds the palette entries for the opaque colours and fills indexOf for every one of them.
void ChoosePalette(std::unordered_map<uint32_t, uint64_t>& histogram,
                   std::vector<uint32_t>& palette, std::unordered_map<uint32_t, uint8_t>& indexOf) {
    const size_t first = palette.size();
    std::vector<TColourCount> colours;
    colours.reserve(histogram.size());
    for (const auto& [rgb, count] : histogram) {
        colours.push_back({rgb, count});
    }
    std::sort(colours.begin(), colours.end(),
              [](const TColourCount& a, const TColourCount& b) { return a.Rgb < b.Rgb; });
    if (colours.size() <= MaxColours - first) {
        for (const TColourCount& colour : colours) {
            indexOf.emplace(colour.Rgb, static_cast<uint8_t>(palette.size()));
            palette.push_back(colour.Rgb);
        }
        return;
    }
    for (const TBox& box : MedianCut(colours, MaxColours - first)) {
        palette.push_back(MeanColour(colours, box));
    }
    for (const TColourCount& colour : colours) {
        size_t best = first;
        for (size_t i = first + 1; i < palette.size(); ++i) {
            if (Distance(colour.Rgb, palette[i]) < Distance(colour.Rgb, palette[best])) {
                best = i;
            }
        }
        indexOf.emplace(colour.Rgb, static_cast<uint8_t>(best));
    }
}

} // namespace

TIndexedImage ReduceToPalette(const TRgbImage& image, std::optional<uint32_t> transparentRgb) {
    const std::vector<uint32_t> keys = ReadKeys(image, transparentRgb);
    TIndexedImage result;
    result.Width = image.Width;
    result.Height = image.Height;

    std::unordered_map<uint32_t, uint64_t> histogram;
    bool anyTransparent = false;
    for (size_t i = 0; i < keys.size();) {
        size_t end = i + 1;
        while (end < keys.size() && keys[end] == keys[i]) {
            ++end;
        }
        if (keys[i] == TransparentKey) {
            anyTransparent = true;
        } else {
            histogram[keys[i]] += end - i;
        }
        i = end;
    }
    if (transparentRgb || anyTransparent) {
        result.TransparentIndex = 0;
        result.Palette.push_back(transparentRgb.value_or(0) & 0xFFFFFF);
    }
    std::unordered_map<uint32_t, uint8_t> indexOf;
    ChoosePalette(histogram, result.Palette, indexOf);

    result.Indices.reserve(keys.size());
    uint32_t lastKey = TransparentKey;
    uint8_t lastIndex = 0;
    for (const uint32_t key : keys) {
        if (key != lastKey) {
            lastKey = key;
            lastIndex = key == TransparentKey ? 0 : indexOf.at(key);
        }
        result.Indices.push_back(lastIndex);
    }
    return result;
}

} // namespace stellik
