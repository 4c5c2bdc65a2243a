#include "xml/XpNames.h"

#include <cstring>

namespace stellik {

namespace {

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

} // namespace

std::string XpQName(const xmlNode* node) {
    std::string name = FromXmlChar(node->name);
    if ((node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE) && node->ns &&
        node->ns->prefix) {
        return std::string(FromXmlChar(node->ns->prefix)) + ":" + name;
    }
    return name;
}

std::string XpPrefixHref(std::string_view prefix) {
    return "urn:x-stellik-literal-prefix:" + std::string(prefix);
}

xmlNs* XpPrefixNs(xmlDoc* doc, std::string_view qname, std::string& localName) {
    const size_t colon = qname.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon + 1 == qname.size() ||
        qname.find(':', colon + 1) != std::string_view::npos) {
        localName.assign(qname);
        return nullptr;
    }
    const std::string prefix(qname.substr(0, colon));
    if (prefix == "xmlns") {
        localName.assign(qname);
        return nullptr;
    }
    localName.assign(qname.substr(colon + 1));
    // The XML namespace must stay first in oldNs: libxml2 returns that entry for "xml".
    xmlNs* xmlNamespace = xmlSearchNs(doc, reinterpret_cast<xmlNode*>(doc), ToXmlChar("xml"));
    if (prefix == "xml") {
        return xmlNamespace;
    }
    xmlNs* last = doc->oldNs;
    for (xmlNs* ns = doc->oldNs; ns; ns = ns->next) {
        if (ns->prefix && prefix == FromXmlChar(ns->prefix)) {
            return ns;
        }
        last = ns;
    }
    const std::string href = XpPrefixHref(prefix);
    xmlNs* ns = xmlNewNs(nullptr, ToXmlChar(href), ToXmlChar(prefix));
    if (last) {
        last->next = ns;
    } else {
        doc->oldNs = ns;
    }
    return ns;
}

std::vector<std::string> XpExpressionPrefixes(std::string_view expression) {
    std::vector<std::string> prefixes;
    const size_t n = expression.size();
    for (size_t i = 0; i < n; ++i) {
        const char c = expression[i];
        if (c == '"' || c == '\'') {
            const size_t close = expression.find(c, i + 1);
            i = close == std::string_view::npos ? n : close;
            continue;
        }
        if (c != ':' || i == 0 || i + 1 >= n || expression[i + 1] == ':' ||
            expression[i - 1] == ':' || !IsNameChar(expression[i - 1]) ||
            !(IsNameStart(expression[i + 1]) || expression[i + 1] == '*')) {
            continue;
        }
        size_t start = i;
        while (start > 0 && IsNameChar(expression[start - 1])) {
            --start;
        }
        if (!IsNameStart(expression[start])) {
            continue;
        }
        std::string prefix(expression.substr(start, i - start));
        if (prefix != "xml") {
            prefixes.push_back(std::move(prefix));
        }
    }
    return prefixes;
}

xmlNode* XpNewElement(xmlDoc* doc, std::string_view qname) {
    std::string local;
    xmlNs* ns = XpPrefixNs(doc, qname, local);
    return xmlNewDocNode(doc, ns, ToXmlChar(local), nullptr);
}

void XpRenameElement(xmlNode* element, std::string_view qname) {
    std::string local;
    xmlNs* ns = XpPrefixNs(element->doc, qname, local);
    xmlNodeSetName(element, ToXmlChar(local));
    element->ns = ns;
}

xmlAttr* XpFindAttribute(const xmlNode* element, std::string_view qname) {
    if (!element || element->type != XML_ELEMENT_NODE) {
        return nullptr;
    }
    for (xmlAttr* a = element->properties; a; a = a->next) {
        const std::string_view name = FromXmlChar(a->name);
        if (a->ns && a->ns->prefix) {
            const std::string_view prefix = FromXmlChar(a->ns->prefix);
            if (qname.size() == prefix.size() + 1 + name.size() && qname.starts_with(prefix) &&
                qname[prefix.size()] == ':' && qname.ends_with(name)) {
                return a;
            }
        } else if (name == qname) {
            return a;
        }
    }
    return nullptr;
}

xmlAttr* XpSetAttribute(xmlNode* element, std::string_view qname, std::string_view value) {
    const std::string text(value);
    if (xmlAttr* existing = XpFindAttribute(element, qname)) {
        xmlNodeSetContent(reinterpret_cast<xmlNode*>(existing), nullptr);
        xmlNode* child = xmlNewDocText(element->doc, ToXmlChar(text));
        xmlAddChild(reinterpret_cast<xmlNode*>(existing), child);
        return existing;
    }
    std::string local;
    xmlNs* ns = XpPrefixNs(element->doc, qname, local);
    return xmlNewNsProp(element, ns, ToXmlChar(local), ToXmlChar(text));
}

xmlAttr* XpAppendParsedAttribute(xmlNode* element, const xmlChar* qname, const xmlChar* value,
                                 int length) {
    xmlDoc* doc = element->doc;
    const std::string_view name = FromXmlChar(qname);
    std::string local;
    xmlNs* ns = name.find(':') == std::string_view::npos ? nullptr : XpPrefixNs(doc, name, local);
    const xmlChar* localName = ns ? ToXmlChar(local) : qname;
    const size_t size = length < 0 ? std::strlen(FromXmlChar(value)) : static_cast<size_t>(length);
    xmlDict* dict = doc ? doc->dict : nullptr;
    // The parser's names are the dictionary's already.
    const xmlChar* dictName = !dict ? nullptr
                              : xmlDictOwns(dict, localName) > 0
                                  ? localName
                                  : xmlDictLookup(dict, localName, -1);
    xmlNode* text = dictName ? xmlNewDocText(doc, nullptr) : nullptr;
    if (text && size < sizeof(text->properties) + sizeof(text->nsDef)) {
        // A short value lives in the text node itself, in the two pointers a text node does
        // not use, as libxml2 keeps the short texts of a compactly parsed document.
        auto* inside = reinterpret_cast<xmlChar*>(&text->properties);
        std::memcpy(inside, value, size);
        inside[size] = 0;
        text->content = inside;
    } else if (text) {
        // Longer ones go into the dictionary: one copy of a value that recurs, freed with the
        // dictionary's few large blocks rather than one by one.
        text->content = const_cast<xmlChar*>(xmlDictLookup(dict, value, static_cast<int>(size)));
    }
    if (!text || !text->content) {
        xmlFreeNode(text);
        const std::string copy(FromXmlChar(value), size);
        return xmlNewNsProp(element, ns, localName, ToXmlChar(copy));
    }
    // Made without a value, which then goes in as the text node above.
    xmlAttr* attr = xmlNewNsPropEatName(element, ns, const_cast<xmlChar*>(dictName), nullptr);
    if (!attr) {
        xmlFreeNode(text);
        return nullptr;
    }
    text->parent = reinterpret_cast<xmlNode*>(attr);
    attr->children = attr->last = text;
    if (ns && ns->prefix && xmlStrEqual(ns->prefix, ToXmlChar("xml")) &&
        xmlStrEqual(localName, ToXmlChar("id"))) {
        xmlAddID(nullptr, doc, text->content, attr); // xml:id names its element
    }
    return attr;
}

std::string XpAttributeValue(const xmlAttr* attr) {
    if (!attr) {
        return {};
    }
    const xmlNode* child = attr->children;
    if (child && !child->next && child->type == XML_TEXT_NODE) {
        return FromXmlChar(child->content); // the usual case, without a copy through libxml2
    }
    XmlCharPtr value(xmlNodeGetContent(reinterpret_cast<const xmlNode*>(attr)));
    return FromXmlChar(value.get());
}

} // namespace stellik
