// package/StreamZip.h -- writing a ZIP archive into a memory stream
#pragma once

#include "package/ZipHandles.h"
#include "platform/MemoryStream.h"

#include <string>
#include <string_view>
#include <vector>

namespace stellik {

// Writes a new archive into a stream, one member at a time. After every AddFromStream the
// stream holds the complete archive (members, then the central directory), so a source
// stream may be reused as soon as the call returns. Neither the archive stream nor the
// sources are owned; the archive stream must outlive the writer.
class TStreamZip {
public:
    TStreamZip() = default;
    ~TStreamZip() { Close(); }
    TStreamZip(const TStreamZip&) = delete;
    TStreamZip& operator=(const TStreamZip&) = delete;

    // Binds the writer to stream, which is expected to be empty.
    void Open(TMemoryStream& stream);

    // Adds a member called name holding stream's bytes from its position to its end:
    // stored when empty or when deflating would make it larger, deflated otherwise.
    // A name already present (ASCII case ignored) adds nothing. A null stream throws
    // "Stream is nil" and leaves the archive as it was.
    void AddFromStream(const std::string& name, TMemoryStream* stream);

    // Finishes: an archive that got no member is written as an empty archive. Afterwards
    // the writer is unbound; a second Close does nothing.
    void Close() noexcept;

private:
    void DoInsertFromStream(const std::string& name, TMemoryStream* inStream);
    // The archive as it would be with the member added by method; false for a name
    // already present.
    bool BuildWithMember(const std::string& name, std::string_view content, zip_int32_t method,
                         std::vector<uint8_t>& result) const;

    TMemoryStream* ArchiveStream = nullptr; // bound by Open, released by Close
    bool Written = false;                   // the stream holds an archive with members
};

} // namespace stellik
