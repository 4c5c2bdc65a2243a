// platform/ResourceArchive.h -- the ZIP archive of resources at the end of a program file
//
// The archive is an ordinary ZIP archive whose offsets count from the start of the whole
// file (as in a self-extracting archive), so that standard ZIP tools list a player's
// resources. Its members are stored, not compressed, so a member's bytes can be used where
// they lie. The archive comment is the trailer: a fixed tag and the offset at which the
// archive begins (the size of the program without it), so the file still ends in a valid
// end-of-central-directory record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stellik {

struct TResourceEntry {
    std::string Name;
    std::string_view Bytes; // a view into the file's bytes
    uint32_t Crc = 0;       // the CRC-32 the archive's directory gives for them
};

struct TResourceArchive {
    size_t Start = 0; // where the archive begins: the size of the program without it
    std::vector<TResourceEntry> Entries;
};

// The archive the file ends with. A file without a trailer carries none: Start is its size
// and there are no entries. A trailer that leads to anything but a well-formed archive of
// stored members inside the file raises Exception "Damaged resource archive".
TResourceArchive ParseResourceArchive(std::string_view file);

// Raises Exception "Damaged resource archive" unless the entry's bytes have its CRC-32. The
// archive is parsed without reading the members' bytes, so that a program reads only the
// resources it uses; each is checked when it is first read.
void CheckResourceCrc(const TResourceEntry& entry);

// The archive of the given members as it stands when it begins at offset start of a file, as
// pieces to be written one after the other: the records, made here, and every member's bytes
// where they lie, so that no resource is copied on its way to the file. No members make no
// pieces. Raises Exception for an empty or repeated name (letter case ignored), and when a
// size or an offset does not fit the archive's fields.
class TResourceArchiveWriter {
public:
    TResourceArchiveWriter(size_t start,
                           const std::vector<std::pair<std::string, std::string>>& members);
    TResourceArchiveWriter(const TResourceArchiveWriter&) = delete;
    TResourceArchiveWriter& operator=(const TResourceArchiveWriter&) = delete;

    // Views into this object and into the members, valid while both are.
    const std::vector<std::string_view>& GetPieces() const { return Pieces; }

private:
    std::string Records; // every header, the directory and the end record, back to back
    std::vector<std::string_view> Pieces;
};

// The same archive in one string; an empty one for no members.
std::string BuildResourceArchive(size_t start,
                                 const std::vector<std::pair<std::string, std::string>>& members);

} // namespace stellik
