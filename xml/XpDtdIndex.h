// xml/XpDtdIndex.h -- the declarations of a document's DTD by element name (internal)
#pragma once

#include "xml/XmlHandles.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace stellik {

struct TXpAttributeDecl {
    xmlAttribute* Decl = nullptr;
    std::string Name;        // as written, prefix included
    bool External = false;   // declared in the external subset
    bool Defaulted = false;  // has a default value that an element omitting it receives
    bool Normalized = false; // a type other than CDATA: white space in its value collapses
};

// Looks strings up by view, without building a std::string for each look-up.
struct TXpNameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};
using TXpNameSet = std::unordered_set<std::string, TXpNameHash, std::equal_to<>>;

struct TXpElementDecl {
    xmlElement* Decl = nullptr;               // nullptr: attributes declared, element not
    std::vector<TXpAttributeDecl> Attributes; // in declaration order, first binding only
    TXpNameSet MixedNames;                    // the elements a mixed content allows
    bool AttributesMatter = false; // some attribute has a default, a type other than CDATA
};

// Built once per load or validation: one pass over both subsets (internal first, so that
// its declarations bind before the external ones, as XML says).
class TXpDtdIndex {
public:
    explicit TXpDtdIndex(const xmlDoc* doc);
    const TXpElementDecl* Find(const std::string& elementName) const;
    // The declarations of the element's name. In a document that keeps its names in a
    // dictionary each name is looked up once, then found by its address.
    const TXpElementDecl* Find(const xmlNode* element) const;
    bool Empty() const { return Elements.empty(); }

private:
    void AddSubset(const xmlDtd* dtd, bool external);
    std::unordered_map<std::string, TXpElementDecl> Elements;
    bool ByAddress; // names are dictionary strings
    mutable std::unordered_map<const xmlChar*, const TXpElementDecl*> Found;
};

std::string XpDeclName(const xmlChar* prefix, const xmlChar* name);
// The name as written, built in scratch only when it has a prefix.
std::string_view XpQNameView(const xmlNode* node, std::string& scratch);
// The attribute's name as written equals prefix:name (name alone without a prefix).
bool XpAttributeNamed(const xmlAttr* attr, const xmlChar* prefix, const xmlChar* name);

} // namespace stellik
