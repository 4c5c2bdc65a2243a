#include "xml/XpXslErrors.h"

#include <libxml/globals.h>
#include <libxslt/xsltutils.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace stellik {

namespace {
constexpr size_t MaxCollected = 4096; // enough to say what went wrong first
}

TXpErrorCapture::TXpErrorCapture(std::string& sink)
    : OldXml(xmlGenericError), OldXmlContext(xmlGenericErrorContext), OldXslt(xsltGenericError),
      OldXsltContext(xsltGenericErrorContext) {
    xmlSetGenericErrorFunc(&sink, &TXpErrorCapture::Append);
    xsltSetGenericErrorFunc(&sink, &TXpErrorCapture::Append);
}

TXpErrorCapture::~TXpErrorCapture() {
    xmlSetGenericErrorFunc(OldXmlContext, OldXml);
    xsltSetGenericErrorFunc(OldXsltContext, OldXslt);
}

void TXpErrorCapture::Append(void* sink, const char* format, ...) {
    auto& text = *static_cast<std::string*>(sink);
    if (text.size() >= MaxCollected) {
        return;
    }
    char buffer[512];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length > 0) {
        text.append(buffer, std::min(static_cast<size_t>(length), sizeof buffer - 1));
    }
}

} // namespace stellik
