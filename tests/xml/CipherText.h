// tests/xml/CipherText.h -- the text of a large encrypted member, for tests and benchmarks
#pragma once

#include <string>
#include <string_view>

namespace stellik::testing {

// base64-like text of the given size, with a line break every 76 characters.
inline std::string CipherText(size_t size) {
    static constexpr std::string_view Alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string line;
    for (size_t i = 0; i < 76; ++i) {
        line += Alphabet[(i * 7) % 64];
    }
    line += '\n';
    std::string text;
    text.reserve(size + line.size());
    while (text.size() < size) {
        text += line;
    }
    text.resize(size);
    return text;
}

} // namespace stellik::testing
