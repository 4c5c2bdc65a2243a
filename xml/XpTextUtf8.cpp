#include "xml/XpTextUtf8.h"

#include "platform/Exception.h"
#include "xml/XmlHandles.h"

#include <climits>

namespace stellik {

std::string SelectStringUtf8(const TXpNode& context, std::u16string_view path) {
    const TXpNode node = context.SelectSingleNode(path);
    if (!node) {
        return {};
    }
    // One text or CDATA child, as every document the program writes has: its text as it is.
    const xmlNode* only = node.Handle()->children;
    if (node.IsElement() && only && !only->next && only->content &&
        (only->type == XML_TEXT_NODE || only->type == XML_CDATA_SECTION_NODE)) {
        return FromXmlChar(only->content);
    }
    // An element's string value: all its descendant texts, as xmlNodeGetContent joins them.
    const XmlCharPtr content(xmlNodeGetContent(node.Handle()));
    return content ? std::string(reinterpret_cast<const char*>(content.get())) : std::string();
}

void AppendCDataSectionUtf8(TXpNode parent, std::string_view text) {
    if (text.size() > INT_MAX) {
        throw Exception("Out of memory");
    }
    TXpOwnedNode section(xmlNewCDataBlock(parent.Handle()->doc,
                                          reinterpret_cast<const xmlChar*>(text.data()),
                                          static_cast<int>(text.size())));
    if (!section) {
        throw Exception("Out of memory");
    }
    parent.AppendChild(std::move(section));
}

} // namespace stellik
