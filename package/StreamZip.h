// package/StreamZip.h -- writing a ZIP archive into a memory stream
#pragma once

#include "package/ZipRecords.h"
#include "platform/MemoryStream.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace stellik {

// Writes a new archive into a stream, one member at a time. After every AddFromStream the
// stream holds the complete archive (members, then the central directory), so a source
// stream may be reused as soon as the call returns. Neither the archive stream nor the
// sources are owned; the archive stream must outlive the writer.
//
// Members already written stay where they are: an add writes the new member over the old
// central directory and puts the directory, one entry longer, after it, so adding costs the
// new member's size, never the archive's.
class TStreamZip {
public:
    TStreamZip() = default;
    ~TStreamZip() { Close(); }
    TStreamZip(const TStreamZip&) = delete;
    TStreamZip& operator=(const TStreamZip&) = delete;

    // Binds the writer to stream, which is expected to be empty (the first add replaces
    // whatever it holds).
    void Open(TMemoryStream& stream);

    // Adds a member called name holding stream's bytes from its position to its end:
    // stored when empty or when deflating would make it larger, deflated (normal level)
    // otherwise. A name already present (ASCII case ignored) adds nothing. A null stream
    // throws "Stream is nil"; an archive that would outgrow the format's 4 GB and 65,535
    // members throws EZipError. Either way the archive stays as it was.
    void AddFromStream(const std::string& name, TMemoryStream* stream);

    // Finishes: an archive that got no member is written as an empty archive. Afterwards
    // the writer is unbound; a second Close does nothing.
    void Close() noexcept;

private:
    void DoInsertFromStream(const std::string& name, TMemoryStream* inStream);
    // Writes the member's header and data at MembersEnd; returns its header.
    TZipMemberHeader WriteMember(const std::string& name, std::string_view content);
    // The central directory and the end record after the members; the position at the end.
    void WriteDirectory();

    TMemoryStream* ArchiveStream = nullptr; // bound by Open, released by Close
    size_t MembersEnd = 0;                  // where the central directory starts
    std::vector<uint8_t> CentralDirectory;  // one header per member, in order
    std::unordered_set<std::string> Names;  // upper-cased ASCII, for duplicates
};

} // namespace stellik
