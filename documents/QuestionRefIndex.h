// documents/QuestionRefIndex.h -- question references resolved in constant time
#pragma once

#include "model/QuestionList.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace stellik {

// Resolves a reference exactly as TQuestionList::IndexOfRef does (a number is a 1-based
// position, anything else the first question with that identifier), but by look-up: pools
// and messages of a large test name thousands of questions, and a scan of the list per
// reference would make reading quadratic. Build it once the questions are final.
class TQuestionRefIndex {
public:
    explicit TQuestionRefIndex(const TQuestionList& questions);
    int IndexOfRef(std::string_view ref) const; // -1 when the reference names no question

private:
    int Count;
    std::string Ids; // every identifier in UTF-8, one after another: the keys look into it
    std::unordered_map<std::string_view, int> FirstById;
};

} // namespace stellik
