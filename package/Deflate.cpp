#include "package/Deflate.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>

namespace stellik {

namespace {

constexpr int NormalLevel = 6;
constexpr int RawWindowBits = -15;
constexpr int DefaultMemoryLevel = 8;

// One deflate stream, ended on every path.
class TDeflater {
public:
    TDeflater() {
        if (deflateInit2(&Stream, NormalLevel, Z_DEFLATED, RawWindowBits, DefaultMemoryLevel,
                         Z_DEFAULT_STRATEGY) != Z_OK) {
            throw std::bad_alloc();
        }
    }
    ~TDeflater() { deflateEnd(&Stream); }
    TDeflater(const TDeflater&) = delete;
    TDeflater& operator=(const TDeflater&) = delete;
    z_stream* operator->() { return &Stream; }
    z_stream* Get() { return &Stream; }

private:
    z_stream Stream{};
};

// With its room used up exactly, deflate may still owe the end of the stream: it fits only
// if one more call finishes without writing a byte.
bool FinishesWithoutMore(TDeflater& deflater) {
    uint8_t spare = 0;
    deflater->next_out = &spare;
    deflater->avail_out = 1;
    return deflate(deflater.Get(), Z_FINISH) == Z_STREAM_END && deflater->avail_out == 1;
}

constexpr size_t MaxChunk = std::numeric_limits<uInt>::max();

} // namespace

std::optional<size_t> DeflateInto(std::string_view bytes, uint8_t* out, size_t capacity) {
    TDeflater deflater;
    deflater->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    deflater->next_out = out;
    size_t inLeft = bytes.size();
    size_t outLeft = capacity;
    for (;;) {
        const auto inChunk = static_cast<uInt>(std::min(inLeft, MaxChunk));
        const auto outChunk = static_cast<uInt>(std::min(outLeft, MaxChunk));
        deflater->avail_in = inChunk;
        deflater->avail_out = outChunk;
        const int result = deflate(deflater.Get(), inLeft == inChunk ? Z_FINISH : Z_NO_FLUSH);
        inLeft -= inChunk - deflater->avail_in;
        outLeft -= outChunk - deflater->avail_out;
        if (result == Z_STREAM_END) {
            return capacity - outLeft;
        }
        if (result == Z_MEM_ERROR) {
            throw std::bad_alloc();
        }
        if (outLeft == 0) {
            return FinishesWithoutMore(deflater) ? std::optional(capacity) : std::nullopt;
        }
        if (result != Z_OK && result != Z_BUF_ERROR) {
            return std::nullopt;
        }
    }
}

uint32_t Crc32(std::string_view bytes) {
    return static_cast<uint32_t>(
        crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

} // namespace stellik
