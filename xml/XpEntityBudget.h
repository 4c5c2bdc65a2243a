// xml/XpEntityBudget.h -- a bound on the text that entity references may produce (internal)
//
// Large documents are parsed without libxml2's size limits, which also turns off its guard
// against entity amplification ("billion laughs", one large entity referenced many times).
// This budget stands in for it: every reference the parser resolves is charged the full size
// of the text it expands to, and the parse fails once the total passes a bound that grows
// with the input.
#pragma once

#include "xml/XmlHandles.h"

#include <cstddef>
#include <unordered_map>

namespace stellik {

class TXpEntityBudget {
public:
    explicit TXpEntityBudget(size_t inputSize);
    // Charges one reference to entity (a general or parameter entity of doc); false once the
    // budget is spent, for a reference loop, or for entities nested too deep.
    bool Charge(const xmlDoc* doc, xmlEntity* entity);

private:
    // Saturates at Limit + 1.
    size_t ExpandedSize(const xmlDoc* doc, xmlEntity* entity, int depth);

    size_t Limit;
    size_t Used = 0;
    std::unordered_map<const xmlEntity*, size_t> Sizes; // expanded sizes found so far
};

} // namespace stellik
