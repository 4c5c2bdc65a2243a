#include "model/Messages.h"

#include "model/Question.h"
#include "model/Section.h"
#include "platform/Exception.h"

#include <cstddef>

namespace stellik {

namespace {

// 1 for an empty filter (it takes everything), 2 when the filter names value, else 0.
int FilterScore(const TIntegerList& filter, int value) {
    if (filter.GetCount() == 0) {
        return 1;
    }
    return filter.IndexOf(value) >= 0 ? 2 : 0;
}

TTargetClass TargetClassOf(const TTestObject& obj) {
    if (dynamic_cast<const TSection*>(&obj) != nullptr) {
        return TTargetClass::Section;
    }
    if (dynamic_cast<const TQuestion*>(&obj) != nullptr) {
        return TTargetClass::Question;
    }
    // Messages are only ever asked about sections and questions.
    throw Exception("Invalid class typecast");
}

} // namespace

int TTestMessage::Score(const TTestObject& obj) const {
    const int state = obj.ResultState();
    if (TargetClassOf(obj) != TargetClass) {
        return 0;
    }
    const int stateScore = FilterScore(States, state);
    const int idScore = FilterScore(Ids, obj.Index);
    return stateScore >= 1 && idScore >= 1 ? stateScore + idScore : 0;
}

void TTestMessage::Write(TWideStrings& lines) const {
    lines.insert(lines.end(), {u"<message-out>", Text, u"</message-out>"});
}

TTestMessage* TMessagesList::FindBest(const TTestObject& obj) const {
    // A score of 2 is the least that counts; "at least" lets the later of equals win.
    int best = 2;
    TTestMessage* chosen = nullptr;
    for (const auto& message : *this) {
        const int score = message->Score(obj);
        if (score >= best) {
            best = score;
            chosen = message.get();
        }
    }
    return chosen;
}

} // namespace stellik
