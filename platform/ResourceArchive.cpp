#include "platform/ResourceArchive.h"

#include "platform/CFree.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"

#include <zip.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <limits>
#include <memory>
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

class TZipErrorHolder {
public:
    TZipErrorHolder() { zip_error_init(&Error); }
    ~TZipErrorHolder() { zip_error_fini(&Error); }
    TZipErrorHolder(const TZipErrorHolder&) = delete;
    TZipErrorHolder& operator=(const TZipErrorHolder&) = delete;
    zip_error_t* Get() { return &Error; }

private:
    zip_error_t Error;
};

[[noreturn]] void ThrowWriteError(zip_error_t* error) {
    throw Exception(std::string("Cannot write the resource archive: ") + zip_error_strerror(error));
}

// The bytes a buffer source holds after the archive over it was written.
std::string ReadSource(zip_source_t* source) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
        zip_source_open(source) != 0) {
        ThrowWriteError(zip_source_error(source));
    }
    std::string bytes(stat.size, '\0');
    const zip_int64_t n = zip_source_read(source, bytes.data(), bytes.size());
    zip_source_close(source);
    if (n < 0 || static_cast<zip_uint64_t>(n) != stat.size) {
        ThrowWriteError(zip_source_error(source));
    }
    return bytes;
}

// The library writes offsets from the archive's first byte; make them count from the file's.
void Relocate(std::string& archive, size_t start) {
    const TDirectory directory = ReadDirectory(archive, 0);
    const TFields fields(archive);
    auto shift = [&](size_t at) {
        const uint64_t value = uint64_t{fields.U32(at)} + start;
        if (value > std::numeric_limits<uint32_t>::max()) {
            throw Exception("Program file too large for a resource archive");
        }
        for (size_t i = 0; i < 4; ++i) {
            archive[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        }
    };
    for (const TDirectoryEntry& entry : directory.Entries) {
        shift(entry.Position + 42);
    }
    shift(directory.EndRecord + 16);
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
    const auto* bytes = reinterpret_cast<const Bytef*>(entry.Bytes.data());
    if (crc32_z(crc32_z(0, nullptr, 0), bytes, entry.Bytes.size()) != entry.Crc) {
        ThrowDamaged();
    }
}

std::string BuildResourceArchive(size_t start,
                                 const std::vector<std::pair<std::string, std::string>>& members) {
    CheckNames(members);
    if (members.empty()) {
        return {};
    }
    TZipErrorHolder error;
    std::unique_ptr<zip_source_t, TCFree<zip_source_free>> buffer(
        zip_source_buffer_create(nullptr, 0, 0, error.Get()));
    std::unique_ptr<zip_t, TCFree<zip_discard>> archive(
        buffer ? zip_open_from_source(buffer.get(), ZIP_TRUNCATE, error.Get()) : nullptr);
    if (!archive) {
        ThrowWriteError(error.Get());
    }
    // The archive owns one reference to the buffer now; ours reads the result back.
    zip_source_keep(buffer.get());
    for (const auto& [name, bytes] : members) {
        zip_source_t* member = zip_source_buffer(archive.get(), bytes.data(), bytes.size(), 0);
        const zip_int64_t index =
            member == nullptr ? -1
                              : zip_file_add(archive.get(), name.c_str(), member, ZIP_FL_ENC_GUESS);
        if (index < 0) {
            zip_source_free(member);
            ThrowWriteError(zip_get_error(archive.get()));
        }
        const auto at = static_cast<zip_uint64_t>(index);
        if (zip_set_file_compression(archive.get(), at, ZIP_CM_STORE, 0) != 0 ||
            zip_file_set_mtime(archive.get(), at, MemberTime, 0) != 0) {
            ThrowWriteError(zip_get_error(archive.get()));
        }
    }
    const std::string trailer = MakeTrailer(start);
    if (zip_set_archive_comment(archive.get(), trailer.data(),
                                static_cast<zip_uint16_t>(trailer.size())) != 0 ||
        zip_close(archive.get()) != 0) {
        ThrowWriteError(zip_get_error(archive.get()));
    }
    archive.release(); // zip_close freed it
    std::string bytes = ReadSource(buffer.get());
    Relocate(bytes, start);
    return bytes;
}

} // namespace stellik
