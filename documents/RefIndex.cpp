#include "documents/RefIndex.h"

#include "platform/Convert.h"

#include <functional>
#include <optional>

namespace stellik {

void TRefIndex::IndexIds() {
    size_t size = 2;
    while (size < Ends.size() * 2) {
        size *= 2;
    }
    Slots.assign(size, TSlot{});
    const size_t mask = size - 1;
    for (int item = 0; item < static_cast<int>(Ends.size()); ++item) {
        const std::string_view id = IdOf(item);
        const size_t hash = std::hash<std::string_view>{}(id);
        size_t at = hash & mask;
        // The first item of an identifier keeps its slot, as the list's scan finds it.
        while (Slots[at].Item >= 0 && !(Slots[at].Hash == hash && IdOf(Slots[at].Item) == id)) {
            at = (at + 1) & mask;
        }
        if (Slots[at].Item < 0) {
            Slots[at] = TSlot{hash, item};
        }
    }
}

std::string_view TRefIndex::IdOf(int item) const {
    const size_t start = item == 0 ? 0 : Ends[static_cast<size_t>(item) - 1];
    return std::string_view(Ids).substr(start, Ends[static_cast<size_t>(item)] - start);
}

int TRefIndex::IndexOfRef(std::string_view ref) const {
    const int count = static_cast<int>(Ends.size());
    if (const std::optional<int> number = TryStrToInt(ref)) {
        return *number >= 1 && *number <= count ? *number - 1 : -1;
    }
    const size_t hash = std::hash<std::string_view>{}(ref);
    const size_t mask = Slots.size() - 1;
    for (size_t at = hash & mask; Slots[at].Item >= 0; at = (at + 1) & mask) {
        if (Slots[at].Hash == hash && IdOf(Slots[at].Item) == ref) {
            return Slots[at].Item;
        }
    }
    return -1;
}

} // namespace stellik
