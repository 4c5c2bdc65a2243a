#include "package/ZipHandles.h"

namespace stellik {

void ThrowZipError(zip_error_t* error) {
    throw EZipError(zip_error_strerror(error));
}

} // namespace stellik
