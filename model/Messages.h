// model/Messages.h -- result messages shown for a question or a section
#pragma once

#include "model/IntegerList.h"
#include "model/Lines.h"
#include "model/OwnedList.h"

#include <memory>
#include <string>
#include <vector>

namespace stellik {

class TTestDoc;
class TTestObject;

// The kind of object a message is for ("sectmsg" or "questmsg").
enum class TTargetClass { None, Section, Question };

class TTestMessage {
public:
    // 0, or 2..4 for a fitting message (see FindBest).
    int Score(const TTestObject& obj) const;
    void Write(TWideStrings& lines) const; // "<message-out>", Text unescaped, "</message-out>"

    TTargetClass TargetClass = TTargetClass::None;
    std::u16string Text;       // XML markup
    TIntegerList Ids;          // positions; empty = every object of the kind
    TIntegerList States;       // result states; empty = every state
    TTestDoc* Owner = nullptr; // not owned
};

class TMessagesList : public TOwnedList<TTestMessage> {
public:
    // The highest score of at least 2 wins; of equal scores the later message.
    TTestMessage* FindBest(const TTestObject& obj) const;
};

} // namespace stellik
