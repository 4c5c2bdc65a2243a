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

int TAnswerList::Add(std::unique_ptr<TAnswer> answer) {
    Items.push_back(std::move(answer));
    return GetCount() - 1;
}

TAnswer& TAnswerList::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) {
        ThrowListIndexError(index);
    }
    return *Items[static_cast<size_t>(index)];
}

void TAnswerList::Clear() {
    Items.clear();
}

} // namespace stellik
