#include "model/IntegerList.h"

#include "platform/Exception.h"

#include <algorithm>

namespace stellik {

int TIntegerList::Add(int value) {
    Items.push_back(value);
    Changed();
    return GetCount() - 1;
}

void TIntegerList::Clear() {
    Items.clear();
    Changed();
}

int TIntegerList::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) {
        ThrowListIndexError(index);
    }
    return Items[static_cast<size_t>(index)];
}

void TIntegerList::SetItem(int index, int value) {
    if (index < 0 || index >= GetCount()) {
        ThrowListIndexError(index);
    }
    Items[static_cast<size_t>(index)] = value;
    Changed();
}

int TIntegerList::IndexOf(int value) const {
    const auto it = std::find(Items.begin(), Items.end(), value);
    return it == Items.end() ? -1 : static_cast<int>(it - Items.begin());
}

void TIntegerList::Changed() {
    if (OnChange) {
        OnChange(*this);
    }
}

} // namespace stellik
