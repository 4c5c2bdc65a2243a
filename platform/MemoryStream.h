// platform/MemoryStream.h -- a byte buffer with a position
#pragma once

#include "platform/CFree.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stellik {

// Documents and images travel between the layers in these; the crypto layer works on the
// whole buffer and resizes it, readers start at the position.
//
// The bytes live in one block of C heap that grows with realloc: a large block then grows
// where it lies, keeping the pages already in use, where a new block would first be
// filled and then copied. Room taken but not yet written is left untouched.
class TMemoryStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::span<const uint8_t> bytes);
    explicit TMemoryStream(std::string_view bytes);
    TMemoryStream(const TMemoryStream& other);
    TMemoryStream& operator=(const TMemoryStream& other);
    TMemoryStream(TMemoryStream&& other) noexcept;
    TMemoryStream& operator=(TMemoryStream&& other) noexcept;
    ~TMemoryStream() = default;

    size_t GetSize() const { return Size; }
    // Keeps the position inside the new size; bytes added at the end are not set (as with
    // every stream of this kind, the caller writes them).
    void SetSize(size_t size);
    size_t GetPosition() const { return Position; }
    void SetPosition(size_t value) { Position = value; }
    // Room for at least capacity bytes, so that writing up to there moves nothing; the size
    // stays. Room grows as writing grows it, at least doubling, so that many calls cost no
    // more than one.
    void Reserve(size_t capacity);

    // Reads up to count bytes at the position and advances it; returns the count read.
    size_t Read(void* buffer, size_t count);
    // Writes at the position, growing the buffer as needed, and advances it. A position past
    // the end leaves zero bytes between.
    void Write(const void* buffer, size_t count);
    void Write(std::string_view bytes) { Write(bytes.data(), bytes.size()); }
    // Size and position 0; the room stays for what is written next.
    void Clear();

    const uint8_t* GetMemory() const { return Data.get(); }
    uint8_t* GetMemory() { return Data.get(); }
    // A copy of the bytes.
    std::vector<uint8_t> Bytes() const { return {Data.get(), Data.get() + Size}; }
    std::string_view View() const { return {reinterpret_cast<const char*>(Data.get()), Size}; }
    // The bytes from the position to the end.
    std::string_view Remaining() const;

    void LoadFromFile(const std::string& path);
    void SaveToFile(const std::string& path) const;

private:
    void Resize(size_t capacity); // exactly; raises std::bad_alloc

    std::unique_ptr<uint8_t, TCFree<std::free>> Data;
    size_t Size = 0;
    size_t Capacity = 0;
    size_t Position = 0;
};

} // namespace stellik
