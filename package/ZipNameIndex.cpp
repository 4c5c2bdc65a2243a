#include "package/ZipNameIndex.h"

#include "platform/Unicode.h"

#include <algorithm>

namespace stellik {

TZipNameIndex::TZipNameIndex(zip_t* archive) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    FirstByName.reserve(static_cast<size_t>(std::max<zip_int64_t>(count, 0)));
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        if (const char* stored = zip_get_name(archive, index, ZIP_FL_ENC_RAW)) {
            FirstByName.emplace(AsciiUpper(stored), index); // a later duplicate is not taken
        }
    }
}

zip_int64_t TZipNameIndex::Find(std::string_view name) const {
    const auto found = FirstByName.find(AsciiUpper(name));
    return found == FirstByName.end() ? -1 : static_cast<zip_int64_t>(found->second);
}

} // namespace stellik
