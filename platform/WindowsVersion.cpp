#include "platform/WindowsVersion.h"

namespace stellik {

std::optional<TOsVersionInfo> QueryWindowsVersion() {
    return std::nullopt;
}

} // namespace stellik
