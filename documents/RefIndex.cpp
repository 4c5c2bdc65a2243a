#include "documents/RefIndex.h"

#include "platform/Convert.h"

#include <optional>

namespace stellik {

void TRefIndex::IndexIds(const std::vector<size_t>& ends) {
    Count = static_cast<int>(ends.size());
    FirstById.reserve(ends.size()); // no rehashing while a large test is indexed
    size_t start = 0;
    for (int i = 0; i < Count; ++i) {
        const size_t end = ends[static_cast<size_t>(i)];
        // emplace keeps the first item of an identifier, as the list's scan finds it.
        FirstById.emplace(std::string_view(Ids).substr(start, end - start), i);
        start = end;
    }
}

int TRefIndex::IndexOfRef(std::string_view ref) const {
    if (const std::optional<int> number = TryStrToInt(ref)) {
        return *number >= 1 && *number <= Count ? *number - 1 : -1;
    }
    const auto found = FirstById.find(ref);
    return found == FirstById.end() ? -1 : found->second;
}

} // namespace stellik
