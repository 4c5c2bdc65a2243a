// xml/XpDtdIndex.h -- the declarations of a document's DTD by element name (internal)
#pragma once

#include "xml/XmlHandles.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace stellik {

struct TXpAttributeDecl {
    xmlAttribute* Decl = nullptr;
    std::string Name;      // as written, prefix included
    bool External = false; // declared in the external subset
};

struct TXpElementDecl {
    xmlElement* Decl = nullptr;                 // nullptr: attributes declared, element not
    std::vector<TXpAttributeDecl> Attributes;   // in declaration order, first binding only
    std::unordered_set<std::string> MixedNames; // the elements a mixed content allows
};

// Built once per load or validation: one pass over both subsets (internal first, so that
// its declarations bind before the external ones, as XML says).
class TXpDtdIndex {
public:
    explicit TXpDtdIndex(const xmlDoc* doc);
    const TXpElementDecl* Find(const std::string& elementName) const;
    bool Empty() const { return Elements.empty(); }

private:
    void AddSubset(const xmlDtd* dtd, bool external);
    std::unordered_map<std::string, TXpElementDecl> Elements;
};

std::string XpDeclName(const xmlChar* prefix, const xmlChar* name);

} // namespace stellik
