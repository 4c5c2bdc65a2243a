#include "xml/XpDtdIndex.h"

#include <algorithm>

namespace stellik {

namespace {

void CollectNames(const xmlElementContent* content, std::unordered_set<std::string>& names) {
    for (; content; content = content->c2) {
        if (content->type == XML_ELEMENT_CONTENT_ELEMENT) {
            names.insert(XpDeclName(content->prefix, content->name));
            return;
        }
        CollectNames(content->c1, names);
        if (content->type != XML_ELEMENT_CONTENT_OR && content->type != XML_ELEMENT_CONTENT_SEQ) {
            return;
        }
    }
}

} // namespace

std::string XpDeclName(const xmlChar* prefix, const xmlChar* name) {
    std::string result;
    if (prefix) {
        result = FromXmlChar(prefix);
        result += ':';
    }
    result += FromXmlChar(name);
    return result;
}

TXpDtdIndex::TXpDtdIndex(const xmlDoc* doc) {
    if (doc) {
        AddSubset(doc->intSubset, false);
        AddSubset(doc->extSubset, true);
    }
}

void TXpDtdIndex::AddSubset(const xmlDtd* dtd, bool external) {
    if (!dtd) {
        return;
    }
    for (xmlNode* node = dtd->children; node; node = node->next) {
        if (node->type == XML_ELEMENT_DECL) {
            auto* decl = reinterpret_cast<xmlElement*>(node);
            if (decl->etype == XML_ELEMENT_TYPE_UNDEFINED) {
                continue;
            }
            TXpElementDecl& entry = Elements[XpDeclName(decl->prefix, decl->name)];
            if (!entry.Decl) {
                entry.Decl = decl;
                if (decl->etype == XML_ELEMENT_TYPE_MIXED) {
                    CollectNames(decl->content, entry.MixedNames);
                }
            }
        } else if (node->type == XML_ATTRIBUTE_DECL) {
            auto* decl = reinterpret_cast<xmlAttribute*>(node);
            TXpElementDecl& entry = Elements[FromXmlChar(decl->elem)];
            std::string name = XpDeclName(decl->prefix, decl->name);
            const bool bound =
                std::any_of(entry.Attributes.begin(), entry.Attributes.end(),
                            [&](const TXpAttributeDecl& a) { return a.Name == name; });
            if (!bound) {
                entry.Attributes.push_back({decl, std::move(name), external});
            }
        }
    }
}

const TXpElementDecl* TXpDtdIndex::Find(const std::string& elementName) const {
    const auto it = Elements.find(elementName);
    return it == Elements.end() ? nullptr : &it->second;
}

} // namespace stellik
