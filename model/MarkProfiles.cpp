#include "model/MarkProfiles.h"

#include "platform/Exception.h"

namespace stellik {

int TMarkElementList::Add(int threshold, const std::u16string& mark) {
    Items.push_back(TMarkElement{threshold, mark});
    return GetCount() - 1;
}

const TMarkElement& TMarkElementList::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) {
        ThrowListIndexError(index);
    }
    return Items[static_cast<size_t>(index)];
}

std::u16string TMarkProfile::GetMark(int percent) const {
    // The default stands as a threshold of 0, so only positive thresholds can beat it.
    int bestThreshold = 0;
    const std::u16string* best = &DefaultMark;
    for (int i = 0; i < Elements.GetCount(); ++i) {
        const TMarkElement& element = Elements.GetItem(i);
        if (element.Threshold <= percent && element.Threshold > bestThreshold) {
            bestThreshold = element.Threshold;
            best = &element.Mark;
        }
    }
    return *best;
}

} // namespace stellik
