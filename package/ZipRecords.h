// package/ZipRecords.h -- the header records of a ZIP archive, as written
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace stellik {

// One member as its headers describe it. No extra fields, no data descriptor, no ZIP64:
// the writer refuses what these fields cannot hold.
struct TZipMemberHeader {
    std::string Name;
    uint16_t Method = 0; // 0 stored, 8 deflated
    uint16_t Flags = 0;  // bit 11: the name is UTF-8
    uint16_t DosTime = 0;
    uint16_t DosDate = 0;
    uint32_t Crc = 0;
    uint32_t CompressedSize = 0;
    uint32_t Size = 0;
    uint32_t Offset = 0; // of the local header, from the start of the archive
};

inline constexpr size_t ZipLocalHeaderSize = 30;   // before the name
inline constexpr size_t ZipCentralHeaderSize = 46; // before the name
inline constexpr size_t ZipEndRecordSize = 22;     // without a comment

// The member's local header with its name, written at (ZipLocalHeaderSize + name bytes).
void PutZipLocalHeader(uint8_t* at, const TZipMemberHeader& member);
// The member's central directory header with its name, appended to directory.
void AppendZipCentralHeader(std::vector<uint8_t>& directory, const TZipMemberHeader& member);
// The end-of-central-directory record, written at (ZipEndRecordSize bytes).
void PutZipEndRecord(uint8_t* at, uint16_t count, uint32_t directorySize, uint32_t directoryOffset);

// The general-purpose flags for a stored name: bit 11 for UTF-8 that is not plain ASCII;
// none for ASCII, and none for other bytes (read as the old DOS code page).
uint16_t ZipNameFlags(const std::string& name);

// The current local time in the two 16-bit MS-DOS fields (1980 at the earliest).
void CurrentDosTime(uint16_t& time, uint16_t& date);

} // namespace stellik
