// xml/XpFilterHtml.h -- a transformation's result tree written as HTML
#pragma once

#include <libxml/tree.h>

#include <string>

namespace stellik {

// The document as HTML in UTF-8: no signature, no document type unless the tree has one,
// no added line breaks or indentation, HTML empty elements without a closing slash ("<br>").
std::string XpHtmlText(xmlDoc* result); // result becomes an HTML document

} // namespace stellik
