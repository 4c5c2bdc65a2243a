#include "package/ZipRecords.h"

#include <glib.h>

#include <algorithm>
#include <cstring>
#include <ctime>

namespace stellik {

namespace {

// Made by: Unix, format version 6.3; needed to extract: 2.0 for deflate, 1.0 for stored.
constexpr uint16_t VersionMadeBy = 0x033F;
// A regular file, rw-rw-rw-, as Unix attributes in the high half.
constexpr uint32_t ExternalAttributes = 0100666u << 16;
constexpr uint16_t Utf8NameFlag = 1u << 11;

class TLittleEndian {
public:
    explicit TLittleEndian(uint8_t* at) : At(at) {}
    TLittleEndian& U16(uint16_t value) {
        *At++ = static_cast<uint8_t>(value);
        *At++ = static_cast<uint8_t>(value >> 8);
        return *this;
    }
    TLittleEndian& U32(uint32_t value) {
        return U16(static_cast<uint16_t>(value)).U16(static_cast<uint16_t>(value >> 16));
    }
    TLittleEndian& Bytes(const std::string& bytes) {
        At = std::copy(bytes.begin(), bytes.end(), At);
        return *this;
    }

private:
    uint8_t* At;
};

uint16_t VersionNeeded(const TZipMemberHeader& member) {
    return member.Method == 0 ? 10 : 20;
}

// The fields both headers share, from "version needed" to the extra field's length.
TLittleEndian& PutCommonFields(TLittleEndian& out, const TZipMemberHeader& member) {
    return out.U16(member.Flags)
        .U16(member.Method)
        .U16(member.DosTime)
        .U16(member.DosDate)
        .U32(member.Crc)
        .U32(member.CompressedSize)
        .U32(member.Size)
        .U16(static_cast<uint16_t>(member.Name.size()))
        .U16(0);
}

} // namespace

void PutZipLocalHeader(uint8_t* at, const TZipMemberHeader& member) {
    TLittleEndian out(at);
    out.U32(0x04034B50).U16(VersionNeeded(member));
    PutCommonFields(out, member).Bytes(member.Name);
}

void AppendZipCentralHeader(std::vector<uint8_t>& directory, const TZipMemberHeader& member) {
    const size_t start = directory.size();
    directory.resize(start + ZipCentralHeaderSize + member.Name.size());
    TLittleEndian out(directory.data() + start);
    out.U32(0x02014B50).U16(VersionMadeBy).U16(VersionNeeded(member));
    PutCommonFields(out, member)
        .U16(0) // comment length
        .U16(0) // disk number
        .U16(0) // internal attributes
        .U32(ExternalAttributes)
        .U32(member.Offset)
        .Bytes(member.Name);
}

void PutZipEndRecord(uint8_t* at, uint16_t count, uint32_t directorySize,
                     uint32_t directoryOffset) {
    TLittleEndian(at)
        .U32(0x06054B50)
        .U16(0) // this disk
        .U16(0) // the directory's disk
        .U16(count)
        .U16(count)
        .U32(directorySize)
        .U32(directoryOffset)
        .U16(0); // comment length
}

uint16_t ZipNameFlags(const std::string& name) {
    const bool ascii = std::all_of(name.begin(), name.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const bool utf8 = g_utf8_validate(name.data(), static_cast<gssize>(name.size()), nullptr);
    return !ascii && utf8 ? Utf8NameFlag : 0;
}

void CurrentDosTime(uint16_t& time, uint16_t& date) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr || local.tm_year < 80) {
        time = 0;
        date = (1 << 5) | 1; // 1 January 1980
        return;
    }
    time = static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec / 2));
    const int year = std::min(local.tm_year - 80, 127); // the field ends with 2107
    date = static_cast<uint16_t>((year << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
}

} // namespace stellik
