#include "xml/XpFilterHtml.h"

#include "platform/Exception.h"
#include "xml/XmlHandles.h"
#include "xml/XpXslHandles.h"
#include "xml/XpXslProcessor.h"

#include <libxml/HTMLtree.h>

namespace stellik {

std::string XpHtmlText(xmlDoc* result) {
    // No encoder: the tree holds UTF-8 already.
    XmlOutputBufferPtr buffer(xmlAllocOutputBuffer(nullptr));
    if (!buffer) {
        throw Exception("Cannot Apply XSL stylesheet");
    }
    // Written as HTML whatever the result's root: HTML escaping rules, non-ASCII text as is.
    result->type = XML_HTML_DOCUMENT_NODE;
    htmlDocContentDumpFormatOutput(buffer.get(), result, "UTF-8", 0);
    xmlOutputBufferFlush(buffer.get());
    std::string html(FromXmlChar(xmlOutputBufferGetContent(buffer.get())),
                     xmlOutputBufferGetSize(buffer.get()));
    // The writer ends the document with a line break of its own; the page has none.
    if (!html.empty() && html.back() == '\n') {
        html.pop_back();
    }
    return html;
}

void TXpFilterHTML::SaveToStream(TMemoryStream& stream) const {
    stream.Write(Html);
}

} // namespace stellik
