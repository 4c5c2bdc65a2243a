// xml/XpDocState.h -- what a document object attaches to its libxml2 document (internal)
#pragma once

#include "xml/XmlHandles.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace stellik {

struct TXpCompiledPath {
    XmlXPathCompExprPtr Expression;
    std::vector<std::string> Prefixes;
};

// Settings the nodes of a document need (serialising, XPath), found from any node through
// its document. Documents that no document object owns use the defaults.
struct TXpDocState {
    bool KeepCharacters = false;
    XmlXPathContextPtr XPathContext; // made on first use, bound to the document
    std::unordered_map<std::string, TXpCompiledPath> Paths; // compiled once, used many times
};

// The state of the document, nullptr when none is registered.
TXpDocState* XpFindDocState(const xmlDoc* doc);
void XpRegisterDocState(const xmlDoc* doc, TXpDocState* state);
void XpUnregisterDocState(const xmlDoc* doc);

} // namespace stellik
