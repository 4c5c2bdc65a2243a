// documents/RefIndex.h -- references to questions or sections resolved in constant time
#pragma once

#include "model/OwnedList.h"
#include "platform/Unicode.h"

#include <string>
#include <string_view>
#include <vector>

namespace stellik {

// Resolves a reference exactly as the lists' IndexOfRef does (a number is a 1-based position,
// anything else the first item with that identifier), but by look-up: pools and messages of a
// large test name thousands of questions and sections, and a scan of the list per reference
// would make reading quadratic. Build it once the list is final.
class TRefIndex {
public:
    template <typename T> explicit TRefIndex(const TOwnedList<T>& items) {
        // Kept in UTF-8, as references come: a look-up converts nothing.
        Ends.reserve(static_cast<size_t>(items.GetCount()));
        for (const auto& item : items) {
            Ids += Utf16ToUtf8(item->Id);
            Ends.push_back(Ids.size());
        }
        IndexIds();
    }
    int IndexOfRef(std::string_view ref) const; // -1 when the reference names no item

private:
    // An open-addressing table: a look-up reads one slot, and a second only on a collision,
    // where a map of nodes would follow a bucket, a node and its key to three far places.
    struct TSlot {
        size_t Hash = 0;
        int Item = -1; // -1: empty
    };

    void IndexIds(); // fills Slots from Ids and Ends
    std::string_view IdOf(int item) const;

    std::string Ids;          // every identifier in UTF-8, one after another
    std::vector<size_t> Ends; // where each item's identifier ends in Ids
    std::vector<TSlot> Slots; // a power of two in size, at most half full
};

} // namespace stellik
