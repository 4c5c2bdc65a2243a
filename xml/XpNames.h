// xml/XpNames.h -- literal element and attribute names (internal to the XML layer)
//
// Names are matched as written, prefix included, and namespace declarations play no part:
// "ds:KeyInfo" is an element named so, "xmlns:ds" an ordinary attribute. A prefixed name is
// held as its local part in a private namespace per prefix (kept on the document), which is
// what lets XPath steps such as "ds:KeyInfo" match it literally.
#pragma once

#include "xml/XmlHandles.h"

#include <string>
#include <string_view>
#include <vector>

namespace stellik {

// The name as written: "prefix:local" or "local".
std::string XpQName(const xmlNode* node);
// The namespace that stands for a literal prefix (created on the document when missing);
// nullptr for names that are kept whole (no prefix, "xmlns" prefix, malformed).
xmlNs* XpPrefixNs(xmlDoc* doc, std::string_view qname, std::string& localName);
// The private namespace URI of a prefix.
std::string XpPrefixHref(std::string_view prefix);
// Prefixes that an XPath expression names ("ds" of "ds:KeyInfo"), outside string literals.
std::vector<std::string> XpExpressionPrefixes(std::string_view expression);

xmlNode* XpNewElement(xmlDoc* doc, std::string_view qname);
void XpRenameElement(xmlNode* element, std::string_view qname);
xmlAttr* XpFindAttribute(const xmlNode* element, std::string_view qname);
// Replaces the value in place (the attribute keeps its position) or appends a new attribute.
xmlAttr* XpSetAttribute(xmlNode* element, std::string_view qname, std::string_view value);
std::string XpAttributeValue(const xmlAttr* attr);
// Appends an attribute to an element of a parsed document. Its name and a longer value are
// kept in the document's dictionary, a short value inside its text node, as libxml2's parser
// keeps texts; documents without a dictionary get copies. The value is length bytes (-1: up to
// its end).
xmlAttr* XpAppendParsedAttribute(xmlNode* element, const xmlChar* qname, const xmlChar* value,
                                 int length = -1);

} // namespace stellik
