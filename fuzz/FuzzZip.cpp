// The package archive: its directory read, then every member the player could ask for
// extracted by name. No member may come out larger than its directory entry declares.
#include "fuzz/FuzzSupport.h"
#include "package/StreamUnZip.h"
#include "package/ZipHandles.h"
#include "platform/Unicode.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace stellik;

namespace {

constexpr zip_int64_t MaxMembers = 32;

// Names and declared sizes of the members, listed apart from the reader under test. Of names
// that differ only in ASCII case only the first counts: the reader finds that one.
std::vector<std::pair<std::string, zip_uint64_t>> ListMembers(const TMemoryStream& stream) {
    std::vector<std::pair<std::string, zip_uint64_t>> members;
    TZipError error;
    ZipSourcePtr source(
        zip_source_buffer_create(stream.GetMemory(), stream.GetSize(), 0, error.Get()));
    if (!source) {
        return members;
    }
    ZipArchivePtr archive(zip_open_from_source(source.get(), ZIP_RDONLY, error.Get()));
    if (!archive) {
        return members;
    }
    source.release();
    const zip_int64_t count = std::min(zip_get_num_entries(archive.get(), 0), MaxMembers);
    std::set<std::string> seen;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW, &stat) ==
                0 &&
            (stat.valid & ZIP_STAT_NAME) != 0 && (stat.valid & ZIP_STAT_SIZE) != 0 &&
            seen.insert(AsciiUpper(stat.name)).second) {
            members.emplace_back(stat.name, stat.size);
        }
    }
    return members;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TMemoryStream package = fuzz::StreamOf(data, size);
    TStreamUnZip reader;
    try {
        reader.Open(package);
    } catch (const EZipError&) {
        return 0; // the player shows the message
    }
    for (const auto& [name, declaredSize] : ListMembers(package)) {
        TMemoryStream member;
        reader.ExtractToStream(name, member);
        if (member.GetSize() > declaredSize) {
            std::abort(); // a member inflated past its declared size
        }
    }
    TMemoryStream missing;
    reader.ExtractToStream("scontent.xml.missing", missing);
    return 0;
}
