// xml/XmlHandles.h -- every libxml2 handle has one owner
#pragma once

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/valid.h>
#include <libxml/xmlregexp.h>
#include <libxml/xpath.h>

#include <memory>
#include <string>

namespace stellik {

struct XmlDocFree {
    void operator()(xmlDoc* d) const noexcept { xmlFreeDoc(d); }
};
using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocFree>;

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

struct XmlParserCtxtFree {
    void operator()(xmlParserCtxt* c) const noexcept { xmlFreeParserCtxt(c); }
};
using XmlParserCtxtPtr = std::unique_ptr<xmlParserCtxt, XmlParserCtxtFree>;

struct XmlXPathContextFree {
    void operator()(xmlXPathContext* c) const noexcept { xmlXPathFreeContext(c); }
};
using XmlXPathContextPtr = std::unique_ptr<xmlXPathContext, XmlXPathContextFree>;

struct XmlXPathObjectFree {
    void operator()(xmlXPathObject* o) const noexcept { xmlXPathFreeObject(o); }
};
using XmlXPathObjectPtr = std::unique_ptr<xmlXPathObject, XmlXPathObjectFree>;

struct XmlXPathCompExprFree {
    void operator()(xmlXPathCompExpr* e) const noexcept { xmlXPathFreeCompExpr(e); }
};
using XmlXPathCompExprPtr = std::unique_ptr<xmlXPathCompExpr, XmlXPathCompExprFree>;

struct XmlRegExecFree {
    void operator()(xmlRegExecCtxt* e) const noexcept { xmlRegFreeExecCtxt(e); }
};
using XmlRegExecPtr = std::unique_ptr<xmlRegExecCtxt, XmlRegExecFree>;

struct XmlCharFree {
    void operator()(xmlChar* s) const noexcept { xmlFree(s); }
};
using XmlCharPtr = std::unique_ptr<xmlChar, XmlCharFree>;

struct XmlBufferFree {
    void operator()(xmlBuffer* b) const noexcept { xmlBufferFree(b); }
};
using XmlBufferPtr = std::unique_ptr<xmlBuffer, XmlBufferFree>;

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
