#include "model/Answers.h"

#include "platform/Exception.h"

#include <algorithm>

namespace stellik {

void TAnswer::SetRight(const std::u16string& right) {
    Right = right;
}

bool TAnswer::HasText() const {
    return std::any_of(Text.begin(), Text.end(), [](char16_t c) {
        return c != u'\t' && c != u'\n' && c != u'\r' && c != u' ';
    });
}

} // namespace stellik
