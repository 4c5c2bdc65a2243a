#include "xml/XpEntityBudget.h"

#include <libxml/entities.h>

#include <string>
#include <string_view>

namespace stellik {

namespace {

// A few megabytes whatever the input, and then a small multiple of it.
constexpr size_t FixedAllowance = size_t{8} << 20;
constexpr size_t InputFactor = 4;
// Entities within entities deeper than this are refused outright.
constexpr int MaxNesting = 40;
// Marks an entity whose size is being found: meeting it again is a reference loop.
constexpr size_t InProgress = static_cast<size_t>(-1);

} // namespace

TXpEntityBudget::TXpEntityBudget(size_t inputSize)
    : Limit(FixedAllowance + InputFactor * inputSize) {}

bool TXpEntityBudget::Charge(const xmlDoc* doc, xmlEntity* entity) {
    const size_t size = ExpandedSize(doc, entity, 0);
    Used = size > Limit - Used ? Limit + 1 : Used + size;
    return Used <= Limit;
}

size_t TXpEntityBudget::ExpandedSize(const xmlDoc* doc, xmlEntity* entity, int depth) {
    if (!entity || !entity->content) {
        return 0; // external entities are refused before they are read
    }
    if (const auto it = Sizes.find(entity); it != Sizes.end()) {
        return it->second == InProgress ? Limit + 1 : it->second;
    }
    if (depth > MaxNesting) {
        return Limit + 1;
    }
    Sizes[entity] = InProgress;
    const std::string_view text = FromXmlChar(entity->content);
    const bool parameter = entity->etype == XML_INTERNAL_PARAMETER_ENTITY ||
                           entity->etype == XML_EXTERNAL_PARAMETER_ENTITY;
    size_t total = 0;
    size_t from = 0;
    while (total <= Limit) {
        const size_t at = text.find_first_of("&%", from);
        if (at == std::string_view::npos) {
            total += text.size() - from;
            break;
        }
        total += at - from;
        from = at + 1;
        const size_t end = text.find(';', from);
        // Character references were replaced when the entity was declared, and a reference
        // of the other kind is resolved where the text is used: both count as their text.
        if (end == std::string_view::npos || (text[at] == '&') == parameter || text[from] == '#') {
            total += 1;
            continue;
        }
        const std::string name(text.substr(from, end - from));
        xmlEntity* inner = parameter
                               ? xmlGetParameterEntity(const_cast<xmlDoc*>(doc), ToXmlChar(name))
                               : xmlGetDocEntity(doc, ToXmlChar(name));
        const size_t size = inner ? ExpandedSize(doc, inner, depth + 1) : end + 1 - at;
        total = size > Limit - total ? Limit + 1 : total + size;
        from = end + 1;
    }
    if (total > Limit) {
        total = Limit + 1;
    }
    Sizes[entity] = total;
    return total;
}

} // namespace stellik
