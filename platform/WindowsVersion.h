// platform/WindowsVersion.h -- the operating system version query
#pragma once

#include <cstdint>
#include <optional>

namespace stellik {

// What the version query reports: platform id (1 the 9x line, 2 the NT line) and version.
struct TOsVersionInfo {
    uint32_t PlatformId = 0;
    uint32_t MajorVersion = 0;
    uint32_t MinorVersion = 0;
};

// There is no such version on this system: the query always fails (nullopt), and callers
// keep their defaults for that case.
std::optional<TOsVersionInfo> QueryWindowsVersion();

} // namespace stellik
