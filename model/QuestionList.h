// model/QuestionList.h -- the test's questions in document order, owned
#pragma once

#include "model/Question.h"

#include <memory>
#include <string_view>
#include <vector>

namespace stellik {

class TQuestionList {
public:
    int Add(std::unique_ptr<TQuestion> question); // returns the new index
    void Insert(int index, std::unique_ptr<TQuestion> question); // 0..Count, else index error
    void Move(int curIndex, int newIndex);
    void Delete(int index);
    void Clear();
    int GetCount() const { return static_cast<int>(Items.size()); }
    TQuestion& GetItem(int index) const; // list index error outside 0..Count-1

    // A reference that converts to an integer is a 1-based position (-1 when out of range,
    // never an identifier search); anything else is matched exactly against the Ids.
    int IndexOfRef(std::string_view ref) const;

private:
    std::vector<std::unique_ptr<TQuestion>> Items;
};

// Not owning: a section's selection for the run.
using TQuestionRefs = std::vector<TQuestion*>;

} // namespace stellik
