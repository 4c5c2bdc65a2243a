// model/IntegerList.h -- ordered list of 32-bit integers (pools, display orders, filters)
#pragma once

#include <functional>
#include <vector>

namespace stellik {

class TIntegerList {
public:
    using TChangeEvent = std::function<void(TIntegerList& sender)>;

    int Add(int value); // appends; fires OnChange; returns the new index
    void Clear();       // fires OnChange, also when already empty
    int GetCount() const { return static_cast<int>(Items.size()); }
    int GetItem(int index) const;       // list index error outside 0..Count-1
    void SetItem(int index, int value); // same error; fires OnChange even when unchanged
    int IndexOf(int value) const;       // first match from 0; -1 when none
    const std::vector<int>& Values() const { return Items; }

    TChangeEvent OnChange; // optional; not fired on destruction

private:
    void Changed();

    std::vector<int> Items;
};

} // namespace stellik
