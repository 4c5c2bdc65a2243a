#include "documents/IdsParser.h"

#include "platform/Unicode.h"

#include <algorithm>

namespace stellik {

void TIdsParser::Parse(std::string_view text) {
    Ids.clear();
    std::string token;
    for (const char byte : text) {
        if (byte != ' ') {
            token += byte;
        } else if (!token.empty()) {
            Ids.push_back(std::move(token));
            token.clear();
        }
    }
    if (!token.empty()) {
        Ids.push_back(std::move(token));
    }
}

namespace {

bool IsAscii(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

int TIdsParser::IndexOf(std::string_view text) const {
    // Text of ASCII only ("all") equals an ASCII token without regard to case exactly when
    // their ASCII letters do; only other tokens need the general comparison.
    const bool asciiText = IsAscii(text);
    const std::u16string wanted = Utf8ToUtf16(text);
    for (size_t i = 0; i < Ids.size(); ++i) {
        const std::string& id = Ids[i];
        const bool same =
            asciiText && IsAscii(id) ? SameAsciiText(id, text) : SameTextW(Utf8ToUtf16(id), wanted);
        if (same) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace stellik
