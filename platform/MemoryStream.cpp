#include "platform/MemoryStream.h"

#include "platform/Exception.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <new>
#include <utility>

namespace stellik {

TMemoryStream::TMemoryStream(std::span<const uint8_t> bytes) {
    Write(bytes.data(), bytes.size());
    Position = 0;
}

TMemoryStream::TMemoryStream(std::string_view bytes) {
    Write(bytes);
    Position = 0;
}

TMemoryStream::TMemoryStream(const TMemoryStream& other) : TMemoryStream(other.View()) {
    Position = other.Position;
}

TMemoryStream& TMemoryStream::operator=(const TMemoryStream& other) {
    if (this != &other) {
        TMemoryStream copy(other);
        *this = std::move(copy);
    }
    return *this;
}

TMemoryStream::TMemoryStream(TMemoryStream&& other) noexcept
    : Data(std::move(other.Data)), Size(std::exchange(other.Size, 0)),
      Capacity(std::exchange(other.Capacity, 0)), Position(std::exchange(other.Position, 0)) {}

TMemoryStream& TMemoryStream::operator=(TMemoryStream&& other) noexcept {
    Data = std::move(other.Data);
    Size = std::exchange(other.Size, 0);
    Capacity = std::exchange(other.Capacity, 0);
    Position = std::exchange(other.Position, 0);
    return *this;
}

void TMemoryStream::Resize(size_t capacity) {
    void* bytes = std::realloc(Data.get(), std::max<size_t>(capacity, 1));
    if (bytes == nullptr) {
        throw std::bad_alloc();
    }
    static_cast<void>(Data.release()); // realloc took it over
    Data.reset(static_cast<uint8_t*>(bytes));
    Capacity = capacity;
}

void TMemoryStream::Reserve(size_t capacity) {
    if (capacity > Capacity) {
        Resize(std::max(capacity, Capacity * 2));
    }
}

void TMemoryStream::SetSize(size_t size) {
    Reserve(size);
    Size = size;
    Position = std::min(Position, size);
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
    if (Position >= Size) {
        return 0;
    }
    const size_t n = std::min(count, Size - Position);
    std::memcpy(buffer, Data.get() + Position, n);
    Position += n;
    return n;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) {
        return;
    }
    const size_t end = Position + count;
    Reserve(end);
    if (Position > Size) {
        std::memset(Data.get() + Size, 0, Position - Size);
    }
    std::memcpy(Data.get() + Position, buffer, count);
    Size = std::max(Size, end);
    Position = end;
}

void TMemoryStream::Clear() {
    Size = 0;
    Position = 0;
}

std::string_view TMemoryStream::Remaining() const {
    if (Position >= Size) {
        return {};
    }
    return View().substr(Position);
}

void TMemoryStream::LoadFromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        throw Exception("Cannot open file \"" + path + "\"");
    }
    Clear();
    // A file of known size is read in one piece rather than grown byte by byte; one that
    // cannot tell its size (a pipe) is read to its end as it comes.
    const std::streamoff size = in.tellg();
    if (size >= 0 && in.seekg(0)) {
        SetSize(static_cast<size_t>(size));
        in.read(reinterpret_cast<char*>(Data.get()), static_cast<std::streamsize>(size));
        SetSize(static_cast<size_t>(in.gcount()));
    } else {
        in.clear();
        char block[64 << 10];
        while (in.read(block, sizeof block) || in.gcount() > 0) {
            Write(block, static_cast<size_t>(in.gcount()));
        }
    }
    Position = 0;
}

void TMemoryStream::SaveToFile(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw Exception("Cannot create file \"" + path + "\"");
    }
    out.write(reinterpret_cast<const char*>(Data.get()), static_cast<std::streamsize>(Size));
    if (!out) {
        throw Exception("Cannot write file \"" + path + "\"");
    }
}

} // namespace stellik
