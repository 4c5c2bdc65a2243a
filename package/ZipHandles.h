// package/ZipHandles.h -- owners of the ZIP library's handles, and its errors
#pragma once

#include "platform/CFree.h"
#include "platform/Exception.h"

#include <zip.h>

#include <memory>

namespace stellik {

// An archive given up without writing anything (a write goes through zip_close explicitly).
using ZipArchivePtr = std::unique_ptr<zip_t, TCFree<zip_discard>>;
using ZipSourcePtr = std::unique_ptr<zip_source_t, TCFree<zip_source_free>>;
using ZipFilePtr = std::unique_ptr<zip_file_t, TCFree<zip_fclose>>;

// A failure of the ZIP library, with the library's own text.
class EZipError : public Exception {
public:
    using Exception::Exception;
};

// A zip_error_t of our own, released with its text.
class TZipError {
public:
    TZipError() { zip_error_init(&Error); }
    ~TZipError() { zip_error_fini(&Error); }
    TZipError(const TZipError&) = delete;
    TZipError& operator=(const TZipError&) = delete;
    zip_error_t* Get() { return &Error; }

private:
    zip_error_t Error;
};

// Throws EZipError with the error's text (the error stays with its owner).
[[noreturn]] void ThrowZipError(zip_error_t* error);

} // namespace stellik
