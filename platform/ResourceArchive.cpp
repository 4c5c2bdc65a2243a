#include "platform/ResourceArchive.h"

#include "platform/Exception.h"
#include "platform/Unicode.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <limits>
#include <optional>
#include <set>

namespace stellik {

namespace {

// The archive comment: the tag and the start offset in sixteen hexadecimal digits.
constexpr std::string_view TrailerTag = "STELLIK-RESOURCES@";
constexpr size_t OffsetDigits = 16;
constexpr size_t TrailerSize = TrailerTag.size() + OffsetDigits;

constexpr uint32_t LocalHeaderSignature = 0x04034b50;
constexpr uint32_t DirectoryEntrySignature = 0x02014b50;
constexpr uint32_t EndRecordSignature = 0x06054b50;
constexpr size_t LocalHeaderSize = 30;
constexpr size_t DirectoryEntrySize = 46;
constexpr size_t EndRecordSize = 22;

// One time stamp for every member, so that the same resources make the same file.
constexpr time_t MemberTime = 1704067200; // 2024-01-01

[[noreturn]] void ThrowDamaged() {
    throw Exception("Damaged resource archive");
}

// Little-endian fields of a byte block; a field outside the block means a damaged archive.
class TFields {
public:
    explicit TFields(std::string_view bytes) : Bytes(bytes) {}

    uint32_t U16(size_t at) const { return Read(at, 2); }
    uint32_t U32(size_t at) const { return Read(at, 4); }
    std::string_view Slice(size_t at, size_t size) const {
        if (at > Bytes.size() || size > Bytes.size() - at) {
            ThrowDamaged();
        }
        return Bytes.substr(at, size);
    }

private:
    uint32_t Read(size_t at, size_t size) const {
        const std::string_view field = Slice(at, size);
        uint32_t value = 0;
        for (size_t i = size; i > 0; --i) {
            value = (value << 8) | static_cast<uint8_t>(field[i - 1]);
        }
        return value;
    }

    std::string_view Bytes;
};

struct TDirectoryEntry {
    size_t Position; // of the member's central directory record
    std::string_view Name;
    size_t DataOffset;
    size_t Size;
    uint32_t Crc;
};

struct TDirectory {
    size_t EndRecord = 0; // position of the end-of-central-directory record
    std::vector<TDirectoryEntry> Entries;
};

// The directory of the archive that ends the file with a trailer as its comment. Every
// member must be stored, lie inside the file at or after start, and the first one must
// begin exactly at start.
TDirectory ReadDirectory(std::string_view file, size_t start) {
    const TFields fields(file);
    if (file.size() < EndRecordSize + TrailerSize) {
        ThrowDamaged();
    }
    const size_t end = file.size() - EndRecordSize - TrailerSize;
    const size_t count = fields.U16(end + 10);
    const size_t directorySize = fields.U32(end + 12);
    const size_t directoryStart = fields.U32(end + 16);
    if (fields.U32(end) != EndRecordSignature || fields.U16(end + 20) != TrailerSize ||
        fields.U16(end + 4) != 0 || fields.U16(end + 6) != 0 || fields.U16(end + 8) != count ||
        count == 0 || directoryStart < start || directoryStart > end ||
        end - directoryStart != directorySize) {
        ThrowDamaged();
    }
    TDirectory directory{end, {}};
    size_t at = directoryStart;
    for (size_t i = 0; i < count; ++i) {
        const bool encrypted = (fields.U16(at + 8) & 1) != 0;
        const bool stored = fields.U16(at + 10) == 0;
        const size_t size = fields.U32(at + 24);
        const size_t nameSize = fields.U16(at + 28);
        const size_t local = fields.U32(at + 42);
        if (fields.U32(at) != DirectoryEntrySignature || encrypted || !stored ||
            fields.U32(at + 20) != size || local < start || (i == 0 && local != start) ||
            fields.U32(local) != LocalHeaderSignature) {
            ThrowDamaged();
        }
        const size_t data =
            local + LocalHeaderSize + fields.U16(local + 26) + fields.U16(local + 28);
        if (data > directoryStart || size > directoryStart - data) {
            ThrowDamaged();
        }
        directory.Entries.push_back(
            {at, fields.Slice(at + DirectoryEntrySize, nameSize), data, size, fields.U32(at + 16)});
        at += DirectoryEntrySize + nameSize + fields.U16(at + 30) + fields.U16(at + 32);
        if (at > end) {
            ThrowDamaged();
        }
    }
    if (at != end) {
        ThrowDamaged();
    }
    return directory;
}

// The start offset the trailer names; none when the file does not end with a trailer.
std::optional<size_t> TrailerStart(std::string_view file) {
    if (file.size() < TrailerSize ||
        !file.substr(file.size() - TrailerSize).starts_with(TrailerTag)) {
        return std::nullopt;
    }
    size_t value = 0;
    for (const char c : file.substr(file.size() - OffsetDigits)) {
        const char lower = static_cast<char>(c | 0x20);
        if (c >= '0' && c <= '9') {
            value = value * 16 + static_cast<size_t>(c - '0');
        } else if (lower >= 'a' && lower <= 'f') {
            value = value * 16 + static_cast<size_t>(lower - 'a' + 10);
        } else {
            ThrowDamaged();
        }
    }
    return value;
}

std::string MakeTrailer(size_t start) {
    char digits[OffsetDigits + 1];
    std::snprintf(digits, sizeof digits, "%016zX", start);
    return std::string(TrailerTag) + digits;
}

void CheckNames(const std::vector<std::pair<std::string, std::string>>& members) {
    std::set<std::string> seen;
    for (const auto& member : members) {
        if (member.first.empty()) {
            throw Exception("Empty resource name");
        }
        if (!seen.insert(AsciiUpper(member.first)).second) {
            throw Exception("Duplicate resource " + member.first);
        }
    }
}

// Fields of the records as a standard ZIP writer gives them to a stored member of a file
// added from memory, so that the archive is byte for byte what such a writer makes.
constexpr uint16_t StoredVersion = 10;  // the version needed to extract a stored member...
constexpr uint16_t FolderVersion = 20;  // ...and one whose name, ending in "/", names a folder
constexpr uint16_t MadeByUnix = 0x033F; // made on Unix, format version 6.3
constexpr uint32_t FileAttributes = 0100666u << 16; // a plain file, read and write for all
constexpr uint16_t Utf8NameFlag = 0x0800;

// Whether the name is UTF-8 by the test ZIP writers apply (lead and continuation bytes in
// their places, nothing more): its records then say so. ASCII names, and names that are not
// UTF-8, go without the flag.
bool IsUtf8Name(std::string_view name) {
    bool utf8 = false;
    for (size_t i = 0; i < name.size(); ++i) {
        const auto b = static_cast<uint8_t>(name[i]);
        if ((b > 31 && b < 128) || b == '\r' || b == '\n' || b == '\t') {
            continue;
        }
        const size_t more = (b & 0xE0) == 0xC0   ? 1
                            : (b & 0xF0) == 0xE0 ? 2
                            : (b & 0xF8) == 0xF0 ? 3
                                                 : 0;
        if (more == 0 || i + more >= name.size()) {
            return false;
        }
        for (size_t k = 1; k <= more; ++k) {
            if ((static_cast<uint8_t>(name[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += more;
        utf8 = true;
    }
    return utf8;
}

struct TDosTime {
    uint16_t Time = 0;
    uint16_t Date = (1 << 5) | 1; // 1980-01-01, for a time the system cannot convert
};

// The MS-DOS form of a time in the local time zone, as ZIP writers record it.
TDosTime ToDosTime(time_t value) {
    std::tm local{};
    TDosTime dos;
    if (localtime_r(&value, &local) == nullptr) {
        return dos;
    }
    const int year = std::max(local.tm_year, 80) - 80;
    dos.Time =
        static_cast<uint16_t>((local.tm_hour << 11) | (local.tm_min << 5) | (local.tm_sec >> 1));
    dos.Date = static_cast<uint16_t>((year << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
    return dos;
}

void Put16(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A size or an offset in a 32-bit field; the largest value would call for the 64-bit
// extensions, which the reader does not take.
uint32_t Field32(uint64_t value) {
    if (value >= std::numeric_limits<uint32_t>::max()) {
        throw Exception("Program file too large for a resource archive");
    }
    return static_cast<uint32_t>(value);
}

uint32_t Crc32(std::string_view bytes) {
    return static_cast<uint32_t>(
        crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
}

struct TMemberRecord {
    std::string_view Name;
    std::string_view Bytes;
    uint16_t Flags;
    uint32_t Crc;
    uint32_t Size;
    uint32_t Offset; // of the local header, from the start of the file
};

// The fields the local header and the directory entry share: from the version needed to
// extract to the length of the extra field (none).
void PutMemberFields(std::string& out, const TMemberRecord& member, TDosTime time) {
    Put16(out, member.Name.ends_with('/') ? FolderVersion : StoredVersion);
    Put16(out, member.Flags);
    Put16(out, 0); // stored
    Put16(out, time.Time);
    Put16(out, time.Date);
    Put32(out, member.Crc);
    Put32(out, member.Size); // compressed size
    Put32(out, member.Size);
    Put16(out, static_cast<uint32_t>(member.Name.size()));
    Put16(out, 0); // no extra field
}

} // namespace

TResourceArchive ParseResourceArchive(std::string_view file) {
    const std::optional<size_t> start = TrailerStart(file);
    if (!start) {
        return {file.size(), {}};
    }
    TResourceArchive archive{*start, {}};
    for (const TDirectoryEntry& entry : ReadDirectory(file, *start).Entries) {
        archive.Entries.push_back(
            {std::string(entry.Name), file.substr(entry.DataOffset, entry.Size), entry.Crc});
    }
    return archive;
}

void CheckResourceCrc(const TResourceEntry& entry) {
    if (Crc32(entry.Bytes) != entry.Crc) {
        ThrowDamaged();
    }
}

TResourceArchiveWriter::TResourceArchiveWriter(
    size_t start, const std::vector<std::pair<std::string, std::string>>& members) {
    CheckNames(members);
    if (members.empty()) {
        return;
    }
    if (members.size() >= std::numeric_limits<uint16_t>::max()) {
        throw Exception("Too many resources for a resource archive");
    }
    const TDosTime time = ToDosTime(MemberTime);
    std::vector<TMemberRecord> records;
    records.reserve(members.size());
    size_t recordsSize = EndRecordSize + TrailerSize;
    uint64_t offset = start;
    for (const auto& [name, bytes] : members) {
        if (name.size() > std::numeric_limits<uint16_t>::max()) {
            throw Exception("Resource name too long: " + name);
        }
        records.push_back({name, bytes, static_cast<uint16_t>(IsUtf8Name(name) ? Utf8NameFlag : 0),
                           Crc32(bytes), Field32(bytes.size()), Field32(offset)});
        offset += LocalHeaderSize + name.size() + bytes.size();
        recordsSize += LocalHeaderSize + DirectoryEntrySize + 2 * name.size();
    }
    const uint32_t directoryStart = Field32(offset);

    // The views are taken once every record is in place: the string does not move after.
    Records.reserve(recordsSize);
    std::vector<size_t> headerEnds;
    for (const TMemberRecord& member : records) {
        Put32(Records, LocalHeaderSignature);
        PutMemberFields(Records, member, time);
        Records += member.Name;
        headerEnds.push_back(Records.size());
    }
    const size_t directoryAt = Records.size();
    for (const TMemberRecord& member : records) {
        Put32(Records, DirectoryEntrySignature);
        Put16(Records, MadeByUnix);
        PutMemberFields(Records, member, time);
        Put16(Records, 0); // no comment
        Put16(Records, 0); // disk 0
        Put16(Records, 0); // internal attributes
        Put32(Records, FileAttributes);
        Put32(Records, member.Offset);
        Records += member.Name;
    }
    const std::string trailer = MakeTrailer(start);
    const auto count = static_cast<uint32_t>(records.size());
    const auto directorySize = static_cast<uint32_t>(Records.size() - directoryAt);
    Put32(Records, EndRecordSignature);
    Put16(Records, 0); // this disk
    Put16(Records, 0); // the directory's disk
    Put16(Records, count);
    Put16(Records, count);
    Put32(Records, directorySize);
    Put32(Records, directoryStart);
    Put16(Records, static_cast<uint32_t>(trailer.size()));
    Records += trailer;

    const std::string_view all(Records);
    size_t headerAt = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        Pieces.push_back(all.substr(headerAt, headerEnds[i] - headerAt));
        if (!records[i].Bytes.empty()) {
            Pieces.push_back(records[i].Bytes);
        }
        headerAt = headerEnds[i];
    }
    Pieces.push_back(all.substr(directoryAt));
}

std::string BuildResourceArchive(size_t start,
                                 const std::vector<std::pair<std::string, std::string>>& members) {
    const TResourceArchiveWriter writer(start, members);
    size_t size = 0;
    for (const std::string_view piece : writer.GetPieces()) {
        size += piece.size();
    }
    std::string archive;
    archive.reserve(size);
    for (const std::string_view piece : writer.GetPieces()) {
        archive += piece;
    }
    return archive;
}

} // namespace stellik
