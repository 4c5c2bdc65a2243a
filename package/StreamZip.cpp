#include "package/StreamZip.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <new>

namespace stellik {

namespace {

// zlib's normal level; the library's own default is its maximum.
constexpr zip_uint32_t NormalDeflateLevel = 6;

// End-of-central-directory record of an archive without members.
constexpr std::array<uint8_t, 22> EmptyArchive{0x50, 0x4B, 0x05, 0x06};

// The bytes a buffer source holds after the archive over it was written.
std::vector<uint8_t> ReadSource(zip_source_t* source) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(source, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0 ||
        zip_source_open(source) != 0) {
        ThrowZipError(zip_source_error(source));
    }
    std::vector<uint8_t> bytes(stat.size);
    const zip_int64_t n = zip_source_read(source, bytes.data(), bytes.size());
    zip_source_close(source);
    if (n < 0 || static_cast<zip_uint64_t>(n) != stat.size) {
        ThrowZipError(zip_source_error(source));
    }
    return bytes;
}

struct MallocFree {
    void operator()(void* memory) const noexcept { std::free(memory); }
};

// A buffer source the archive can be rewritten into. It gets its own malloc'd copy of the
// bytes: when the library rewrites an archive in place it clones the buffer and in doing so
// takes over (and later frees) data it was only lent.
ZipSourcePtr WritableCopy(std::string_view bytes, zip_error_t* error) {
    std::unique_ptr<void, MallocFree> copy;
    if (!bytes.empty()) {
        copy.reset(std::malloc(bytes.size()));
        if (!copy) {
            throw std::bad_alloc();
        }
        std::memcpy(copy.get(), bytes.data(), bytes.size());
    }
    ZipSourcePtr source(zip_source_buffer_create(copy.get(), bytes.size(), 1, error));
    if (!source) {
        ThrowZipError(error);
    }
    copy.release(); // the source frees it
    return source;
}

// True when the member at index of the archive in bytes was deflated to more than its size.
bool DeflatedLarger(const std::vector<uint8_t>& bytes, zip_uint64_t index) {
    TZipError error;
    ZipSourcePtr source(zip_source_buffer_create(bytes.data(), bytes.size(), 0, error.Get()));
    ZipArchivePtr archive(source ? zip_open_from_source(source.get(), ZIP_RDONLY, error.Get())
                                 : nullptr);
    if (!archive) {
        ThrowZipError(error.Get());
    }
    source.release();
    zip_stat_t stat;
    return zip_stat_index(archive.get(), index, 0, &stat) == 0 &&
           stat.comp_method == ZIP_CM_DEFLATE && stat.comp_size > stat.size;
}

} // namespace

void TStreamZip::Open(TMemoryStream& stream) {
    ArchiveStream = &stream;
    Written = false;
}

void TStreamZip::AddFromStream(const std::string& name, TMemoryStream* stream) {
    if (ArchiveStream == nullptr) {
        throw Exception("ZIP archive is not open");
    }
    DoInsertFromStream(name, stream);
}

void TStreamZip::DoInsertFromStream(const std::string& name, TMemoryStream* inStream) {
    if (inStream == nullptr) {
        throw Exception("Stream is nil");
    }
    const std::string_view content = inStream->Remaining();
    std::vector<uint8_t> archive;
    // Deflate whatever has content; an empty source is stored.
    const zip_int32_t method = content.empty() ? ZIP_CM_STORE : ZIP_CM_DEFLATE;
    if (!BuildWithMember(name, content, method, archive)) {
        return;
    }
    *ArchiveStream = TMemoryStream(std::move(archive));
    ArchiveStream->SetPosition(ArchiveStream->GetSize());
    Written = true;
}

bool TStreamZip::BuildWithMember(const std::string& name, std::string_view content,
                                 zip_int32_t method, std::vector<uint8_t>& result) const {
    TZipError error;
    ZipSourcePtr source =
        WritableCopy(Written ? ArchiveStream->View() : std::string_view(), error.Get());
    ZipArchivePtr archive(zip_open_from_source(source.get(), 0, error.Get()));
    if (!archive) {
        ThrowZipError(error.Get());
    }
    // The archive owns one reference; keep ours to read the written bytes back.
    zip_source_keep(source.get());
    if (FindZipMember(archive.get(), name) >= 0) {
        return false;
    }
    zip_source_t* member = zip_source_buffer(archive.get(), content.data(), content.size(), 0);
    const zip_int64_t index =
        member == nullptr ? -1
                          : zip_file_add(archive.get(), name.c_str(), member, ZIP_FL_ENC_GUESS);
    if (index < 0) {
        zip_source_free(member);
        ThrowZipError(zip_get_error(archive.get()));
    }
    if (zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index), method,
                                 method == ZIP_CM_STORE ? 0 : NormalDeflateLevel) != 0 ||
        zip_close(archive.get()) != 0) {
        ThrowZipError(zip_get_error(archive.get()));
    }
    archive.release(); // zip_close freed it
    result = ReadSource(source.get());
    // Asked to deflate, the library keeps the member deflated even when it grew: such a
    // member is written again, stored. (Left to its own choice it would also store a small
    // member that deflates to exactly its size, which stays deflated here.)
    if (method != ZIP_CM_STORE && DeflatedLarger(result, static_cast<zip_uint64_t>(index))) {
        return BuildWithMember(name, content, ZIP_CM_STORE, result);
    }
    return true;
}

void TStreamZip::Close() noexcept {
    if (ArchiveStream == nullptr) {
        return;
    }
    if (!Written) {
        ArchiveStream->Clear();
        ArchiveStream->Write(EmptyArchive.data(), EmptyArchive.size());
    }
    ArchiveStream = nullptr;
    Written = false;
}

} // namespace stellik
