// model/OwnedList.h -- an ordered list that owns its items, indexed like the runtime's lists
#pragma once

#include "platform/Convert.h"
#include "platform/Exception.h"

#include <algorithm>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace stellik {

// Positions outside the list raise the runtime's list index error and change nothing.
template <typename T> class TOwnedList {
public:
    int Add(std::unique_ptr<T> item) {
        Items.push_back(std::move(item));
        return GetCount() - 1;
    }
    void Insert(int index, std::unique_ptr<T> item) { // 0..Count
        if (index < 0 || index > GetCount()) {
            ThrowListIndexError(index);
        }
        Items.insert(Items.begin() + index, std::move(item));
    }
    void Delete(int index) {
        CheckIndex(index);
        Items.erase(Items.begin() + index);
    }
    void Move(int curIndex, int newIndex) {
        if (curIndex == newIndex) {
            return;
        }
        CheckIndex(newIndex);
        CheckIndex(curIndex);
        std::unique_ptr<T> moved = std::move(Items[static_cast<size_t>(curIndex)]);
        Items.erase(Items.begin() + curIndex);
        Items.insert(Items.begin() + newIndex, std::move(moved));
    }
    void Clear() { Items.clear(); }
    // Room for count items in all, so that adding them allocates no new list.
    void Reserve(int count) { Items.reserve(static_cast<size_t>(std::max(count, 0))); }
    int GetCount() const { return static_cast<int>(Items.size()); }
    T& GetItem(int index) const {
        CheckIndex(index);
        return *Items[static_cast<size_t>(index)];
    }

    auto begin() const { return Items.begin(); }
    auto end() const { return Items.end(); }

protected:
    // A reference that converts to an integer is a 1-based position (-1 when out of range,
    // never an identifier search); anything else is matched exactly against the Ids.
    int IndexOfRefIn(std::u16string_view ref) const {
        if (const std::optional<int> number = TryStrToInt(ref)) {
            return *number >= 1 && *number <= GetCount() ? *number - 1 : -1;
        }
        for (int i = 0; i < GetCount(); ++i) {
            if (Items[static_cast<size_t>(i)]->Id == ref) {
                return i;
            }
        }
        return -1;
    }

private:
    void CheckIndex(int index) const {
        if (index < 0 || index >= GetCount()) {
            ThrowListIndexError(index);
        }
    }

    std::vector<std::unique_ptr<T>> Items;
};

} // namespace stellik
