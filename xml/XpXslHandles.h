// xml/XpXslHandles.h -- every libxslt handle has one owner
#pragma once

#include <libxml/xmlIO.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>

#include <memory>

namespace stellik {

struct XsltStylesheetFree {
    void operator()(xsltStylesheet* s) const noexcept { xsltFreeStylesheet(s); }
};
using XsltStylesheetPtr = std::unique_ptr<xsltStylesheet, XsltStylesheetFree>;

struct XsltTransformContextFree {
    void operator()(xsltTransformContext* c) const noexcept { xsltFreeTransformContext(c); }
};
using XsltTransformContextPtr = std::unique_ptr<xsltTransformContext, XsltTransformContextFree>;

struct XsltSecurityPrefsFree {
    void operator()(xsltSecurityPrefs* p) const noexcept { xsltFreeSecurityPrefs(p); }
};
using XsltSecurityPrefsPtr = std::unique_ptr<xsltSecurityPrefs, XsltSecurityPrefsFree>;

struct XmlOutputBufferFree {
    void operator()(xmlOutputBuffer* b) const noexcept { xmlOutputBufferClose(b); }
};
using XmlOutputBufferPtr = std::unique_ptr<xmlOutputBuffer, XmlOutputBufferFree>;

} // namespace stellik
