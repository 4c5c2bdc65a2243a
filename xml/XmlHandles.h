// xml/XmlHandles.h -- every libxml2 handle has one owner
#pragma once

#include "platform/CFree.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/valid.h>
#include <libxml/xmlregexp.h>
#include <libxml/xpath.h>

#include <memory>
#include <string>

namespace stellik {

using XmlDocPtr = std::unique_ptr<xmlDoc, TCFree<xmlFreeDoc>>;

// A node that is in no tree (fresh from a Create* call or taken out by RemoveChild):
// freeing it frees its subtree. Attributes are freed with xmlFreeProp.
struct XmlNodeFree {
    void operator()(xmlNode* n) const noexcept {
        if (n->type == XML_ATTRIBUTE_NODE) {
            xmlFreeProp(reinterpret_cast<xmlAttr*>(n));
        } else {
            xmlFreeNode(n);
        }
    }
};
using XmlNodePtr = std::unique_ptr<xmlNode, XmlNodeFree>;

using XmlParserCtxtPtr = std::unique_ptr<xmlParserCtxt, TCFree<xmlFreeParserCtxt>>;
using XmlXPathContextPtr = std::unique_ptr<xmlXPathContext, TCFree<xmlXPathFreeContext>>;
using XmlXPathObjectPtr = std::unique_ptr<xmlXPathObject, TCFree<xmlXPathFreeObject>>;
using XmlXPathCompExprPtr = std::unique_ptr<xmlXPathCompExpr, TCFree<xmlXPathFreeCompExpr>>;
using XmlRegExecPtr = std::unique_ptr<xmlRegExecCtxt, TCFree<xmlRegFreeExecCtxt>>;

// xmlFree is a variable holding the allocator's free function, not a function itself.
struct XmlCharFree {
    void operator()(xmlChar* s) const noexcept { xmlFree(s); }
};
using XmlCharPtr = std::unique_ptr<xmlChar, XmlCharFree>;

using XmlBufferPtr = std::unique_ptr<xmlBuffer, TCFree<xmlBufferFree>>;

// libxml2 strings are UTF-8 bytes in unsigned chars.
inline const xmlChar* ToXmlChar(const char* s) {
    return reinterpret_cast<const xmlChar*>(s);
}
inline const xmlChar* ToXmlChar(const std::string& s) {
    return reinterpret_cast<const xmlChar*>(s.c_str());
}
inline const char* FromXmlChar(const xmlChar* s) {
    return s ? reinterpret_cast<const char*>(s) : "";
}

} // namespace stellik
