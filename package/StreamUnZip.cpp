#include "package/StreamUnZip.h"

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
    Archive = std::move(archive);
}

void TStreamUnZip::ExtractToStream(const std::string& name, TMemoryStream& stream) {
    if (!Archive) {
        throw Exception("ZIP archive is not open");
    }
    const zip_int64_t index = FindZipMember(Archive.get(), name);
    if (index >= 0) {
        DoExtractToStream(static_cast<zip_uint64_t>(index), stream);
    }
}

void TStreamUnZip::DoExtractToStream(zip_uint64_t index, TMemoryStream& outStream) {
    // Any failure ends the member quietly: what was decoded stays in outStream.
    ZipFilePtr file(zip_fopen_index(Archive.get(), index, 0));
    if (!file) {
        return;
    }
    std::array<uint8_t, 64 * 1024> buffer{};
    for (;;) {
        const zip_int64_t n = zip_fread(file.get(), buffer.data(), buffer.size());
        if (n <= 0) {
            return;
        }
        outStream.Write(buffer.data(), static_cast<size_t>(n));
    }
}

} // namespace stellik
