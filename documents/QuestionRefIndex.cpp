#include "documents/QuestionRefIndex.h"

#include "platform/Convert.h"
#include "platform/Unicode.h"

#include <optional>

namespace stellik {

TQuestionRefIndex::TQuestionRefIndex(const TQuestionList& questions) : Count(questions.GetCount()) {
    FirstById.reserve(static_cast<size_t>(Count)); // no rehashing while a large test is indexed
    for (int i = 0; i < Count; ++i) {
        // emplace keeps the first question of an identifier, as the list's scan finds it.
        FirstById.emplace(questions.GetItem(i).Id, i);
    }
}

int TQuestionRefIndex::IndexOfRef(std::string_view ref) const {
    if (const std::optional<int> number = TryStrToInt(ref)) {
        return *number >= 1 && *number <= Count ? *number - 1 : -1;
    }
    const auto found = FirstById.find(Utf8ToUtf16(ref));
    return found == FirstById.end() ? -1 : found->second;
}

} // namespace stellik
