#include "package/ZipHandles.h"

#include "platform/Unicode.h"

namespace stellik {

void ThrowZipError(zip_error_t* error) {
    throw EZipError(zip_error_strerror(error));
}

zip_int64_t FindZipMember(zip_t* archive, std::string_view name) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* stored = zip_get_name(archive, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (stored != nullptr && SameAsciiText(stored, name)) {
            return i;
        }
    }
    return -1;
}

} // namespace stellik
