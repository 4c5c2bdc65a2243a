// xml/XpXslErrors.h -- the messages of libxml2 and libxslt go to a string, not to stderr
#pragma once

#include <libxml/xmlerror.h>

#include <string>

namespace stellik {

// While it lives, the generic error handlers of libxml2 and libxslt append their messages
// to sink (up to a few kilobytes); the handlers in force before are restored at the end.
class TXpErrorCapture {
public:
    explicit TXpErrorCapture(std::string& sink);
    ~TXpErrorCapture();
    TXpErrorCapture(const TXpErrorCapture&) = delete;
    TXpErrorCapture& operator=(const TXpErrorCapture&) = delete;

    // A generic error handler whose context is a std::string to append to.
    static void Append(void* sink, const char* format, ...);

private:
    xmlGenericErrorFunc OldXml;
    void* OldXmlContext;
    xmlGenericErrorFunc OldXslt;
    void* OldXsltContext;
};

} // namespace stellik
