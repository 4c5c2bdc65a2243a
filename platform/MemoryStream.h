// platform/MemoryStream.h -- a byte buffer with a position
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace stellik {

// Documents and images travel between the layers in these; the crypto layer works on the
// whole buffer and resizes it, readers start at the position.
class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<uint8_t> bytes) : Data(std::move(bytes)) {}
    explicit TMemoryStream(std::string_view bytes) : Data(bytes.begin(), bytes.end()) {}

    size_t GetSize() const { return Data.size(); }
    void SetSize(size_t size); // keeps the position inside the new size
    size_t GetPosition() const { return Position; }
    void SetPosition(size_t value) { Position = value; }

    // Reads up to count bytes at the position and advances it; returns the count read.
    size_t Read(void* buffer, size_t count);
    // Writes at the position, growing the buffer as needed, and advances it.
    void Write(const void* buffer, size_t count);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    void Clear();

    const uint8_t* GetMemory() const { return Data.data(); }
    uint8_t* GetMemory() { return Data.data(); }
    const std::vector<uint8_t>& Bytes() const { return Data; }
    std::string_view View() const {
        return {reinterpret_cast<const char*>(Data.data()), Data.size()};
    }
    // The bytes from the position to the end.
    std::string_view Remaining() const;

    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

private:
    std::vector<uint8_t> Data;
    size_t Position = 0;
};

} // namespace stellik
