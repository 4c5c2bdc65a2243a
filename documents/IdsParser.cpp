#include "documents/IdsParser.h"

#include "platform/Unicode.h"

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

int TIdsParser::IndexOf(std::string_view text) const {
    const std::u16string wanted = Utf8ToUtf16(text);
    for (size_t i = 0; i < Ids.size(); ++i) {
        if (SameTextW(Utf8ToUtf16(Ids[i]), wanted)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace stellik
