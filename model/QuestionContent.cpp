#include "model/QuestionContent.h"

#include "platform/Exception.h"

#include <utility>

namespace stellik {

int TQuestionContent::AddText(std::u16string text) {
    if (!Items.empty()) {
        if (auto* last = std::get_if<TStrItm>(&Items.back())) {
            last->Text += text;
            return GetCount() - 1;
        }
    }
    Items.emplace_back(TStrItm{std::move(text)});
    return GetCount() - 1;
}

int TQuestionContent::AddLink(int answerIndex) {
    Items.emplace_back(TAnswLinkItm{answerIndex});
    return GetCount() - 1;
}

const TQuestContentItem& TQuestionContent::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) {
        ThrowListIndexError(index);
    }
    return Items[static_cast<size_t>(index)];
}

std::u16string TQuestionContent::GetText() const {
    std::u16string text;
    for (const auto& item : Items) {
        if (const auto* run = std::get_if<TStrItm>(&item)) {
            text += run->Text;
        }
    }
    return text;
}

} // namespace stellik
