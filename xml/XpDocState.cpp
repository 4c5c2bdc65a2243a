#include "xml/XpDocState.h"

namespace stellik {

namespace {

// The program has one GUI thread; documents are few, so a map suffices. The libxml2
// document's own _private field is left to the libraries working on it (XSLT).
std::unordered_map<const xmlDoc*, TXpDocState*>& Registry() {
    static std::unordered_map<const xmlDoc*, TXpDocState*> registry;
    return registry;
}

} // namespace

TXpDocState* XpFindDocState(const xmlDoc* doc) {
    auto& registry = Registry();
    const auto it = registry.find(doc);
    return it == registry.end() ? nullptr : it->second;
}

void XpRegisterDocState(const xmlDoc* doc, TXpDocState* state) {
    Registry()[doc] = state;
}

void XpUnregisterDocState(const xmlDoc* doc) {
    Registry().erase(doc);
}

} // namespace stellik
