#include "shell/ExternalLinks.h"

#include "platform/Unicode.h"

#include <array>

namespace stellik {

bool IsExternalUrl(std::string_view url) {
    constexpr std::array<std::string_view, 3> Prefixes{"http://", "https://", "mailto:"};
    for (const std::string_view prefix : Prefixes) {
        if (StartsWithAsciiText(url, prefix)) {
            return true;
        }
    }
    return false;
}

} // namespace stellik
