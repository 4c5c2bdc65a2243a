#include "xml/XpDtdIndex.h"

#include <algorithm>

namespace stellik {

namespace {

void CollectNames(const xmlElementContent* content, TXpNameSet& names) {
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

std::string_view XpQNameView(const xmlNode* node, std::string& scratch) {
    if (node->ns && node->ns->prefix) {
        scratch = XpDeclName(node->ns->prefix, node->name);
        return scratch;
    }
    return FromXmlChar(node->name);
}

bool XpAttributeNamed(const xmlAttr* attr, const xmlChar* prefix, const xmlChar* name) {
    if (attr->ns && attr->ns->prefix) {
        return xmlStrEqual(attr->ns->prefix, prefix) && xmlStrEqual(attr->name, name);
    }
    if (!prefix) {
        return xmlStrEqual(attr->name, name);
    }
    // A name kept whole ("xmlns:ds"): compared piece by piece.
    const std::string_view whole = FromXmlChar(attr->name);
    const std::string_view first = FromXmlChar(prefix);
    const std::string_view second = FromXmlChar(name);
    return whole.size() == first.size() + 1 + second.size() && whole.starts_with(first) &&
           whole[first.size()] == ':' && whole.ends_with(second);
}

TXpDtdIndex::TXpDtdIndex(const xmlDoc* doc) : ByAddress(doc && doc->dict) {
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
                const bool defaulted = decl->defaultValue && (decl->def == XML_ATTRIBUTE_NONE ||
                                                              decl->def == XML_ATTRIBUTE_FIXED);
                const bool normalized = decl->atype != XML_ATTRIBUTE_CDATA;
                entry.Attributes.push_back(
                    {decl, std::move(name), external, defaulted, normalized});
                entry.AttributesMatter = entry.AttributesMatter || defaulted || normalized;
            }
        }
    }
}

const TXpElementDecl* TXpDtdIndex::Find(const std::string& elementName) const {
    const auto it = Elements.find(elementName);
    return it == Elements.end() ? nullptr : &it->second;
}

const TXpElementDecl* TXpDtdIndex::Find(const xmlNode* element) const {
    const bool prefixed = element->ns && element->ns->prefix;
    if (!ByAddress || prefixed) {
        return Find(prefixed ? XpDeclName(element->ns->prefix, element->name)
                             : std::string(FromXmlChar(element->name)));
    }
    const auto it = Found.find(element->name);
    if (it != Found.end()) {
        return it->second;
    }
    const TXpElementDecl* decl = Find(std::string(FromXmlChar(element->name)));
    Found.emplace(element->name, decl);
    return decl;
}

} // namespace stellik
