// model/QuestionList.h -- the test's questions in document order, owned
#pragma once

#include "model/OwnedList.h"
#include "model/Question.h"
#include "platform/Unicode.h"

#include <memory>
#include <string_view>
#include <vector>

namespace stellik {

class TQuestionList : public TOwnedList<TQuestion> {
public:
    // A reference that converts to an integer is a 1-based position (-1 when out of range,
    // never an identifier search); anything else is matched exactly against the Ids.
    int IndexOfRef(std::string_view ref) const { return IndexOfRefIn(Utf8ToUtf16(ref)); }
};

// Not owning: a section's selection for the run.
using TQuestionRefs = std::vector<TQuestion*>;

} // namespace stellik
