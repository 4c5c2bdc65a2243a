// model/MarkProfiles.h -- percent thresholds that give a mark text
#pragma once

#include "model/OwnedList.h"

#include <memory>
#include <string>
#include <vector>

namespace stellik {

struct TMarkElement {
    int Threshold = 0;
    std::u16string Mark;
};

class TMarkElementList {
public:
    int Add(int threshold, const std::u16string& mark); // returns the new index
    int GetCount() const { return static_cast<int>(Items.size()); }
    const TMarkElement& GetItem(int index) const; // list index error outside the list

private:
    std::vector<TMarkElement> Items;
};

class TMarkProfile {
public:
    // The element with the highest threshold not above percent (the first of equals);
    // thresholds of 0 or below never apply; DefaultMark otherwise.
    std::u16string GetMark(int percent) const;

    std::u16string DefaultMark;
    TMarkElementList Elements;
};

class TMarkProfileList : public TOwnedList<TMarkProfile> {};

} // namespace stellik
