#include "model/QuestionList.h"

#include "platform/Convert.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"

namespace stellik {

int TQuestionList::Add(std::unique_ptr<TQuestion> question) {
    Items.push_back(std::move(question));
    return GetCount() - 1;
}

void TQuestionList::Insert(int index, std::unique_ptr<TQuestion> question) {
    if (index < 0 || index > GetCount()) {
        ThrowListIndexError(index);
    }
    Items.insert(Items.begin() + index, std::move(question));
}

void TQuestionList::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) {
        return;
    }
    if (newIndex < 0 || newIndex >= GetCount()) {
        ThrowListIndexError(newIndex);
    }
    if (curIndex < 0 || curIndex >= GetCount()) {
        ThrowListIndexError(curIndex);
    }
    std::unique_ptr<TQuestion> moved = std::move(Items[static_cast<size_t>(curIndex)]);
    Items.erase(Items.begin() + curIndex);
    Items.insert(Items.begin() + newIndex, std::move(moved));
}

void TQuestionList::Delete(int index) {
    if (index < 0 || index >= GetCount()) {
        ThrowListIndexError(index);
    }
    Items.erase(Items.begin() + index);
}

void TQuestionList::Clear() {
    Items.clear();
}

TQuestion& TQuestionList::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) {
        ThrowListIndexError(index);
    }
    return *Items[static_cast<size_t>(index)];
}

int TQuestionList::IndexOfRef(std::string_view ref) const {
    // A number is always a position, even out of range: it never falls back to the Ids.
    if (const std::optional<int> number = TryStrToInt(ref)) {
        return *number >= 1 && *number <= GetCount() ? *number - 1 : -1;
    }
    const std::u16string id = Utf8ToUtf16(ref);
    for (int i = 0; i < GetCount(); ++i) {
        if (Items[static_cast<size_t>(i)]->Id == id) {
            return i;
        }
    }
    return -1;
}

} // namespace stellik
