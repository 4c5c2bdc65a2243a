// xml/XpXslHandles.h -- every libxslt handle has one owner
#pragma once

#include "platform/CFree.h"

#include <libxml/xmlIO.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>

#include <memory>

namespace stellik {

using XsltStylesheetPtr = std::unique_ptr<xsltStylesheet, TCFree<xsltFreeStylesheet>>;
using XsltTransformContextPtr =
    std::unique_ptr<xsltTransformContext, TCFree<xsltFreeTransformContext>>;
using XsltSecurityPrefsPtr = std::unique_ptr<xsltSecurityPrefs, TCFree<xsltFreeSecurityPrefs>>;
using XmlOutputBufferPtr = std::unique_ptr<xmlOutputBuffer, TCFree<xmlOutputBufferClose>>;

} // namespace stellik
