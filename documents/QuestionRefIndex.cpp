#include "documents/QuestionRefIndex.h"

#include "platform/Convert.h"
#include "platform/Unicode.h"

#include <optional>
#include <vector>

namespace stellik {

TQuestionRefIndex::TQuestionRefIndex(const TQuestionList& questions) : Count(questions.GetCount()) {
    // Kept in UTF-8, as references come: a look-up converts nothing.
    std::vector<size_t> ends;
    ends.reserve(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i) {
        Ids += Utf16ToUtf8(questions.GetItem(i).Id);
        ends.push_back(Ids.size());
    }
    FirstById.reserve(static_cast<size_t>(Count)); // no rehashing while a large test is indexed
    size_t start = 0;
    for (int i = 0; i < Count; ++i) {
        const size_t end = ends[static_cast<size_t>(i)];
        // emplace keeps the first question of an identifier, as the list's scan finds it.
        FirstById.emplace(std::string_view(Ids).substr(start, end - start), i);
        start = end;
    }
}

int TQuestionRefIndex::IndexOfRef(std::string_view ref) const {
    if (const std::optional<int> number = TryStrToInt(ref)) {
        return *number >= 1 && *number <= Count ? *number - 1 : -1;
    }
    const auto found = FirstById.find(ref);
    return found == FirstById.end() ? -1 : found->second;
}

} // namespace stellik
