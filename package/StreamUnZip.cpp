#include "package/StreamUnZip.h"

#include <algorithm>
#include <array>

namespace stellik {

void TStreamUnZip::Open(const TMemoryStream& stream) {
    TZipError error;
    ZipSourcePtr source(
        zip_source_buffer_create(stream.GetMemory(), stream.GetSize(), 0, error.Get()));
    if (!source) {
        ThrowZipError(error.Get());
    }
    ZipArchivePtr archive(zip_open_from_source(source.get(), ZIP_RDONLY, error.Get()));
    if (!archive) {
        ThrowZipError(error.Get());
    }
    source.release(); // the archive owns it now
    Members = TZipNameIndex(archive.get());
    Archive = std::move(archive);
}

void TStreamUnZip::ExtractToStream(const std::string& name, TMemoryStream& stream) {
    if (!Archive) {
        throw Exception("ZIP archive is not open");
    }
    const zip_int64_t index = Members.Find(name);
    if (index >= 0) {
        DoExtractToStream(static_cast<zip_uint64_t>(index), stream);
    }
}

void TStreamUnZip::DoExtractToStream(zip_uint64_t index, TMemoryStream& outStream) {
    // Any failure ends the member quietly: what was decoded stays in outStream. The ZIP library
    // inflates as far as the data goes, whatever size the directory declares, so the reading
    // stops at the declared size itself.
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(Archive.get(), index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
        stat.size > MaxMemberSize) {
        return;
    }
    ZipFilePtr file(zip_fopen_index(Archive.get(), index, 0));
    if (!file) {
        return;
    }
    // Not cleared: a small member would pay for clearing all of it, and only bytes the
    // library has written are used.
    std::array<uint8_t, 64 * 1024> buffer;
    for (zip_uint64_t left = stat.size; left > 0;) {
        const zip_int64_t n =
            zip_fread(file.get(), buffer.data(), std::min<zip_uint64_t>(left, buffer.size()));
        if (n <= 0) {
            return;
        }
        outStream.Write(buffer.data(), static_cast<size_t>(n));
        left -= static_cast<zip_uint64_t>(n);
    }
}

} // namespace stellik
