#include "platform/MemoryStream.h"

#include "platform/Exception.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <utility>

namespace stellik {

void TMemoryStream::SetSize(size_t size) {
    Data.resize(size);
    Position = std::min(Position, size);
}

size_t TMemoryStream::Read(void* buffer, size_t count) {
    if (Position >= Data.size()) {
        return 0;
    }
    const size_t n = std::min(count, Data.size() - Position);
    std::memcpy(buffer, Data.data() + Position, n);
    Position += n;
    return n;
}

void TMemoryStream::Write(const void* buffer, size_t count) {
    if (count == 0) {
        return;
    }
    if (Position + count > Data.size()) {
        Data.resize(Position + count);
    }
    std::memcpy(Data.data() + Position, buffer, count);
    Position += count;
}

void TMemoryStream::Clear() {
    Data.clear();
    Position = 0;
}

std::string_view TMemoryStream::Remaining() const {
    if (Position >= Data.size()) {
        return {};
    }
    return View().substr(Position);
}

void TMemoryStream::LoadFromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        throw Exception("Cannot open file \"" + path + "\"");
    }
    // A file of known size is read in one piece rather than grown byte by byte; one that
    // cannot tell its size (a pipe) is read to its end as it comes.
    const std::streamoff size = in.tellg();
    if (size >= 0 && in.seekg(0)) {
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
        bytes.resize(static_cast<size_t>(in.gcount()));
        Data = std::move(bytes);
    } else {
        in.clear();
        Data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    Position = 0;
}

void TMemoryStream::SaveToFile(const std::string& path) const {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        throw Exception("Cannot create file \"" + path + "\"");
    }
    out.write(reinterpret_cast<const char*>(Data.data()),
              static_cast<std::streamsize>(Data.size()));
    if (!out) {
        throw Exception("Cannot write file \"" + path + "\"");
    }
}

} // namespace stellik
