// model/Answers.h -- one answer of a question and the list that owns them
#pragma once

#include "model/OwnedList.h"

#include <memory>
#include <string>
#include <vector>

namespace stellik {

class TAnswer {
public:
    TAnswer() = default;
    virtual ~TAnswer() = default;
    TAnswer(const TAnswer&) = delete;
    TAnswer& operator=(const TAnswer&) = delete;

    // Stores spec in Right; kinds that parse the right answer override it and call this.
    virtual void SetRight(const std::u16string& spec);
    // True when Text holds a character other than TAB, LF, CR and SPACE.
    bool HasText() const;

    int Points = 0;
    std::u16string Text;  // XML markup prepared by the reader
    std::u16string Value; // the examinee's input
    bool Placed = false;
    std::u16string Right; // the right answer as the test document writes it
};

class TAnswerList : public TOwnedList<TAnswer> {};

} // namespace stellik
