// tests/model/run/XmlCheck.h -- reading the engine's documents as the shell saves them
#pragma once

#include "model/Lines.h"

#include <libxml/tree.h>

#include <memory>
#include <string>

namespace stellik::testing {

struct XmlDocFree {
    void operator()(xmlDoc* doc) const noexcept { xmlFreeDoc(doc); }
};
using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocFree>;

// The byte-order mark, then every line in UTF-16 little-endian followed by CR LF.
std::string SaveAsUtf16(const TWideStrings& lines);
// nullptr when the saved document is not well-formed XML.
XmlDocPtr ParseLines(const TWideStrings& lines);
// The XPath expression's string value with its whitespace normalised ("" when absent).
std::string XPathText(xmlDoc* doc, const std::string& expression);
double XPathNumber(xmlDoc* doc, const std::string& expression); // count(...) and the like

} // namespace stellik::testing
