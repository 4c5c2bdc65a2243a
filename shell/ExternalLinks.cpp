#include "shell/ExternalLinks.h"

#include <array>

namespace stellik {

namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) {
        return false;
    }
    for (size_t i = 0; i < prefix.size(); ++i) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c) != prefix[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

bool IsExternalUrl(std::string_view url) {
    constexpr std::array<std::string_view, 3> Prefixes{"http://", "https://", "mailto:"};
    for (const std::string_view prefix : Prefixes) {
        if (StartsWithNoCase(url, prefix)) {
            return true;
        }
    }
    return false;
}

} // namespace stellik
