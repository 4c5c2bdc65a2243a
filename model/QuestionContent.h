// model/QuestionContent.h -- the question text: runs of markup and, in free layout, answer links
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace stellik {

struct TStrItm {
    std::u16string Text; // XML markup
};

struct TAnswLinkItm {
    int AnswerIndex = 0; // where that answer's field stands inside the text
};

using TQuestContentItem = std::variant<TStrItm, TAnswLinkItm>;

class TQuestionContent {
public:
    // Appends to the last item when it is text, else starts a new text item; returns its index.
    // Taken by value: a text made for the content moves in without a copy.
    int AddText(std::u16string text);
    int AddLink(int answerIndex);
    int GetCount() const { return static_cast<int>(Items.size()); }
    const TQuestContentItem& GetItem(int index) const; // list index error outside the list
    std::u16string GetText() const; // every text item concatenated; links add nothing

private:
    std::vector<TQuestContentItem> Items;
};

} // namespace stellik
