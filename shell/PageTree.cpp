#include "shell/PageTree.h"

#include "platform/Unicode.h"

#include <libxml/tree.h>

#include <string>

namespace stellik {

namespace {

bool NameIs(const xmlChar* actual, std::string_view name) {
    return std::string_view(reinterpret_cast<const char*>(actual)) == name;
}

// Calls visit for every element of the subtree in document order, root first, without
// recursion; visit returns false to stop.
template <typename TVisit> void ForEachElement(xmlNode* root, TVisit&& visit) {
    xmlNode* node = root;
    while (node != nullptr) {
        if (node->type == XML_ELEMENT_NODE) {
            if (!visit(node)) {
                return;
            }
            if (node->children != nullptr) {
                node = node->children;
                continue;
            }
        }
        while (node != root && node->next == nullptr) {
            node = node->parent;
        }
        node = node == root ? nullptr : node->next;
    }
}

// The view decodes every "%XX" of a source and takes a "#" as the start of a fragment it
// never asks for: both are escaped, so that the name it asks for is the name written.
void AppendSourceEscaped(std::u16string& url, std::u16string_view value) {
    for (const char16_t unit : value) {
        if (unit == u'%') {
            url += u"%25";
        } else if (unit == u'#') {
            url += u"%23";
        } else {
            url += unit;
        }
    }
}

} // namespace

void PrefixAttributes(TXpNode root, std::string_view name, std::string_view prefix) {
    const std::u16string wide = Utf8ToUtf16(prefix);
    ForEachElement(root.Handle(), [&](xmlNode* element) {
        for (xmlAttr* attribute = element->properties; attribute != nullptr;
             attribute = attribute->next) {
            if (NameIs(attribute->name, name)) {
                TXpNode node(attribute); // its value is replaced in place
                std::u16string url = wide;
                AppendSourceEscaped(url, node.NodeValue());
                node.SetNodeValue(url);
            }
        }
        return true;
    });
}

bool ContainsElement(TXpNode root, std::string_view name) {
    bool found = false;
    ForEachElement(root.Handle(), [&](xmlNode* element) {
        found = NameIs(element->name, name);
        return !found;
    });
    return found;
}

} // namespace stellik
