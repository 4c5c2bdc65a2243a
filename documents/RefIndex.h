// documents/RefIndex.h -- references to questions or sections resolved in constant time
#pragma once

#include "model/OwnedList.h"
#include "platform/Unicode.h"

#include <string>
#include <string_view>
#include <unordered_map>
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
        std::vector<size_t> ends;
        ends.reserve(static_cast<size_t>(items.GetCount()));
        for (const auto& item : items) {
            Ids += Utf16ToUtf8(item->Id);
            ends.push_back(Ids.size());
        }
        IndexIds(ends);
    }
    int IndexOfRef(std::string_view ref) const; // -1 when the reference names no item

private:
    void IndexIds(const std::vector<size_t>& ends);

    int Count = 0;
    std::string Ids; // every identifier in UTF-8, one after another: the keys look into it
    std::unordered_map<std::string_view, int> FirstById;
};

} // namespace stellik
