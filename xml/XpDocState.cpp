#include "xml/XpDocState.h"

namespace stellik {

namespace {

// The program has one GUI thread; documents are few, so a map suffices. The libxml2
// document's own _private field is left to the libraries working on it (XSLT).
std::unordered_map<const xmlDoc*, TXpDocState*>& Registry() {
    static std::unordered_map<const xmlDoc*, TXpDocState*> registry;
    return registry;
}

// The last look-up: readers ask for the same document node after node.
struct TLastFound {
    const xmlDoc* Doc = nullptr;
    TXpDocState* State = nullptr;
};

TLastFound& LastFound() {
    static TLastFound last;
    return last;
}

} // namespace

TXpDocState* XpFindDocState(const xmlDoc* doc) {
    TLastFound& last = LastFound();
    if (doc && doc == last.Doc) {
        return last.State;
    }
    auto& registry = Registry();
    const auto it = registry.find(doc);
    TXpDocState* state = it == registry.end() ? nullptr : it->second;
    last = {doc, state};
    return state;
}

void XpRegisterDocState(const xmlDoc* doc, TXpDocState* state) {
    Registry()[doc] = state;
    LastFound() = {};
}

void XpUnregisterDocState(const xmlDoc* doc) {
    Registry().erase(doc);
    LastFound() = {};
}

} // namespace stellik
