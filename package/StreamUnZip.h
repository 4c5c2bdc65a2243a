// package/StreamUnZip.h -- reading members of a ZIP archive held in a memory stream
#pragma once

#include "package/ZipHandles.h"
#include "package/ZipNameIndex.h"
#include "platform/MemoryStream.h"

#include <string>

namespace stellik {

// Reads members out of an archive that lives in a stream. The stream is not owned and must
// outlive the reader unchanged: members are read from its bytes as they are asked for.
class TStreamUnZip {
public:
    // Reads the archive's directory (the stream's position does not matter). An empty stream
    // is an archive without members; anything else that is no ZIP archive throws EZipError.
    void Open(const TMemoryStream& stream);

    // Writes the uncompressed bytes of the member called name (ASCII case ignored) into
    // stream from its position. A missing member writes nothing. A damaged member (bad
    // data, CRC mismatch) raises nothing: stream keeps what was decoded before the fault,
    // and the next stage (decryption, parsing) finds the damage. So that a small archive
    // cannot fill the memory, no member yields more than the size its directory entry
    // declares (data inflating beyond it is cut there), and a member declaring more than
    // MaxMemberSize yields nothing.
    void ExtractToStream(const std::string& name, TMemoryStream& stream);

    static constexpr zip_uint64_t MaxMemberSize = 256 * 1024 * 1024;

private:
    void DoExtractToStream(zip_uint64_t index, TMemoryStream& outStream);

    ZipArchivePtr Archive;
    TZipNameIndex Members; // of the open archive
};

} // namespace stellik
