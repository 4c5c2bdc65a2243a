#include "xml/XpNode.h"

#include "platform/Exception.h"
#include "platform/Unicode.h"
#include "xml/XpDocState.h"
#include "xml/XpNames.h"
#include "xml/XpWriter.h"

#include <libxml/xpathInternals.h>

#include <cstring>

namespace stellik {

namespace {

std::string U8(std::u16string_view s) {
    return Utf16ToUtf8(s);
}

std::u16string U16(const xmlChar* s) {
    return Utf8ToUtf16(FromXmlChar(s));
}

xmlAttr* AsAttr(xmlNode* n) {
    return reinterpret_cast<xmlAttr*>(n);
}

bool IsTextLike(const xmlNode* n) {
    return n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE;
}

void CollectSpaced(const xmlNode* node, std::string& out) {
    for (const xmlNode* child = node->children; child; child = child->next) {
        if (IsTextLike(child)) {
            if (child->content && *child->content) {
                if (!out.empty()) {
                    out += ' ';
                }
                out += FromXmlChar(child->content);
            }
        } else if (child->type == XML_ELEMENT_NODE || child->type == XML_ENTITY_REF_NODE) {
            CollectSpaced(child, out);
        }
    }
}

void NormalizeTree(xmlNode* node, bool addSpace) {
    xmlNode* child = node->children;
    while (child) {
        xmlNode* next = child->next;
        if (child->type == XML_TEXT_NODE) {
            while (next && next->type == XML_TEXT_NODE) {
                xmlNode* after = next->next;
                if (addSpace && child->content && *child->content && next->content &&
                    *next->content) {
                    xmlNodeAddContent(child, ToXmlChar(" "));
                }
                xmlNodeAddContent(child, next->content);
                xmlUnlinkNode(next);
                xmlFreeNode(next);
                next = after;
            }
            if (!child->content || !*child->content) {
                xmlUnlinkNode(child);
                xmlFreeNode(child);
            }
        } else if (child->type == XML_ELEMENT_NODE) {
            NormalizeTree(child, addSpace);
        }
        child = next;
    }
}

void SilentXPathError(void*, xmlError*) {}

// A node made by another document joins this one with strings of its own: a loaded
// document keeps its names in a dictionary that goes when that document goes.
void Adopt(xmlNode* child, xmlNode* parent) {
    xmlDoc* doc =
        parent->type == XML_DOCUMENT_NODE ? reinterpret_cast<xmlDoc*>(parent) : parent->doc;
    if (child->doc != doc &&
        xmlDOMWrapAdoptNode(nullptr, child->doc, child, doc, nullptr, 0) != 0) {
        throw Exception("Cannot move the node into this document");
    }
}

// Compiles (once per document and expression) and runs an XPath expression.
XmlXPathObjectPtr Evaluate(xmlNode* context, std::u16string_view path) {
    if (!context) {
        throw Exception("XPath query on a null node");
    }
    xmlDoc* doc =
        context->type == XML_DOCUMENT_NODE ? reinterpret_cast<xmlDoc*>(context) : context->doc;
    TXpDocState fallback;
    TXpDocState* state = XpFindDocState(doc);
    if (!state) {
        state = &fallback;
    }
    if (!state->XPathContext || state->XPathContext->doc != doc) {
        state->XPathContext.reset(xmlXPathNewContext(doc));
        state->XPathContext->error = SilentXPathError;
    }
    xmlXPathContext* ctxt = state->XPathContext.get();
    const std::string expression = U8(path);
    auto it = state->Paths.find(expression);
    if (it == state->Paths.end()) {
        if (state->Paths.size() > 512) {
            state->Paths.clear();
        }
        TXpCompiledPath compiled;
        compiled.Prefixes = XpExpressionPrefixes(expression);
        for (const std::string& prefix : compiled.Prefixes) {
            xmlXPathRegisterNs(ctxt, ToXmlChar(prefix), ToXmlChar(XpPrefixHref(prefix)));
        }
        compiled.Expression.reset(xmlXPathCtxtCompile(ctxt, ToXmlChar(expression)));
        if (!compiled.Expression) {
            throw Exception("Invalid XPath expression: " + expression);
        }
        it = state->Paths.emplace(expression, std::move(compiled)).first;
    }
    for (const std::string& prefix : it->second.Prefixes) {
        xmlXPathRegisterNs(ctxt, ToXmlChar(prefix), ToXmlChar(XpPrefixHref(prefix)));
    }
    ctxt->node = context;
    XmlXPathObjectPtr result(xmlXPathCompiledEval(it->second.Expression.get(), ctxt));
    if (!result) {
        throw Exception("Cannot evaluate XPath expression: " + expression);
    }
    return result;
}

} // namespace

std::u16string TXpNode::NodeName() const {
    return Utf8ToUtf16(NodeNameUtf8());
}

std::string TXpNode::NodeNameUtf8() const {
    switch (NodeType()) {
    case TXpNodeType::Null:
        return {};
    case TXpNodeType::Element:
    case TXpNodeType::Attribute:
        return XpQName(Node);
    case TXpNodeType::Text:
        return "#text";
    case TXpNodeType::CDataSection:
        return "#cdata-section";
    case TXpNodeType::Comment:
        return "#comment";
    case TXpNodeType::Document:
        return "#document";
    default:
        return FromXmlChar(Node->name);
    }
}

bool TXpNode::NameIs(std::string_view name) const {
    const TXpNodeType type = NodeType();
    if (type != TXpNodeType::Element && type != TXpNodeType::Attribute) {
        return NodeNameUtf8() == name;
    }
    // Compared in place, without measuring the node's name first. Readers ask one node for
    // several names in turn, so a differing first character answers most questions.
    auto equals = [](const xmlChar* text, std::string_view part) {
        const char* written = FromXmlChar(text);
        if (part.empty() || written[0] != part[0]) {
            return part.empty() && written[0] == 0;
        }
        return std::strncmp(written, part.data(), part.size()) == 0 && written[part.size()] == 0;
    };
    if (!Node->ns || !Node->ns->prefix) {
        return equals(Node->name, name);
    }
    const std::string_view prefix = FromXmlChar(Node->ns->prefix);
    return name.size() > prefix.size() && name.starts_with(prefix) && name[prefix.size()] == ':' &&
           equals(Node->name, name.substr(prefix.size() + 1));
}

std::u16string TXpNode::NodeValue() const {
    return Utf8ToUtf16(NodeValueUtf8());
}

std::string TXpNode::NodeValueUtf8() const {
    switch (NodeType()) {
    case TXpNodeType::Attribute:
        return XpAttributeValue(AsAttr(Node));
    case TXpNodeType::Text:
    case TXpNodeType::CDataSection:
    case TXpNodeType::Comment:
    case TXpNodeType::ProcessingInstruction:
        return FromXmlChar(Node->content);
    default:
        return {};
    }
}

void TXpNode::SetNodeValue(std::u16string_view value) {
    const std::string text = U8(value);
    switch (NodeType()) {
    case TXpNodeType::Attribute:
        XpSetAttribute(Node->parent, XpQName(Node), text);
        break;
    case TXpNodeType::Text:
    case TXpNodeType::CDataSection:
    case TXpNodeType::Comment:
    case TXpNodeType::ProcessingInstruction:
        // Literal text: xmlNodeSetContent would parse entity references in it.
        xmlNodeSetContentLen(Node, nullptr, 0);
        xmlNodeAddContentLen(Node, ToXmlChar(text), static_cast<int>(text.size()));
        break;
    default:
        break;
    }
}

std::vector<TXpNode> TXpNode::ChildNodes() const {
    std::vector<TXpNode> nodes;
    for (TXpNode child = FirstChild(); child; child = child.NextSibling()) {
        nodes.push_back(child);
    }
    return nodes;
}

std::u16string TXpNode::GetText() const {
    if (!Node) {
        return {};
    }
    if (Node->type == XML_ATTRIBUTE_NODE) {
        return NodeValue();
    }
    XmlCharPtr content(xmlNodeGetContent(Node));
    return U16(content.get());
}

std::u16string TXpNode::GetSpacedText() const {
    if (!Node) {
        return {};
    }
    if (IsTextLike(Node) || Node->type == XML_ATTRIBUTE_NODE) {
        return NodeValue();
    }
    std::string out;
    CollectSpaced(Node, out);
    return Utf8ToUtf16(out);
}

std::u16string TXpNode::GetXmlText() const {
    std::string text;
    AppendXmlTextUtf8(text);
    return Utf8ToUtf16(text);
}

void TXpNode::AppendXmlTextUtf8(std::string& out) const {
    if (!Node) {
        return;
    }
    const TXpDocState* state = XpFindDocState(Node->doc);
    TXpWriterOutput writer(out);
    XpWriteNode(writer, Node, state && state->KeepCharacters);
}

void TXpNode::Normalize(bool addSpace) {
    if (Node && Node->type != XML_ATTRIBUTE_NODE) {
        NormalizeTree(Node, addSpace);
    }
}

std::u16string TXpNode::GetAttribute(std::u16string_view name) const {
    return Utf8ToUtf16(XpAttributeValue(XpFindAttribute(Node, U8(name))));
}

bool TXpNode::HasAttribute(std::u16string_view name) const {
    return XpFindAttribute(Node, U8(name)) != nullptr;
}

TXpNode TXpNode::GetAttributeNode(std::u16string_view name) const {
    return TXpNode(XpFindAttribute(Node, U8(name)));
}

void TXpNode::SetAttribute(std::u16string_view name, std::u16string_view value) {
    if (!Node || Node->type != XML_ELEMENT_NODE) {
        throw Exception("SetAttribute needs an element");
    }
    XpSetAttribute(Node, U8(name), U8(value));
}

void TXpNode::RemoveAttribute(std::u16string_view name) {
    if (xmlAttr* attr = XpFindAttribute(Node, U8(name))) {
        xmlRemoveProp(attr);
    }
}

size_t TXpNode::AttributeCount() const {
    size_t count = 0;
    if (Node && Node->type == XML_ELEMENT_NODE) {
        for (xmlAttr* a = Node->properties; a; a = a->next) {
            ++count;
        }
    }
    return count;
}

TXpNode TXpNode::AttributeAt(size_t index) const {
    if (!Node || Node->type != XML_ELEMENT_NODE) {
        return {};
    }
    xmlAttr* a = Node->properties;
    for (; a && index > 0; a = a->next) {
        --index;
    }
    return TXpNode(a);
}

std::vector<TXpNode> TXpNode::Attributes() const {
    std::vector<TXpNode> attrs;
    if (Node && Node->type == XML_ELEMENT_NODE) {
        for (xmlAttr* a = Node->properties; a; a = a->next) {
            attrs.emplace_back(a);
        }
    }
    return attrs;
}

void TXpNode::Rename(std::u16string_view name) {
    if (!Node || Node->type != XML_ELEMENT_NODE) {
        throw Exception("Rename needs an element");
    }
    XpRenameElement(Node, U8(name));
}

TXpNode TXpNode::AppendChild(TXpOwnedNode child) {
    if (!Node || !child) {
        throw Exception("AppendChild needs a node and a child");
    }
    Adopt(child.get(), Node);
    return TXpNode(xmlAddChild(Node, child.release()));
}

TXpNode TXpNode::InsertBefore(TXpOwnedNode child, TXpNode reference) {
    if (reference.IsNull()) {
        return AppendChild(std::move(child));
    }
    if (!child || reference.Node->parent != Node) {
        throw Exception("InsertBefore: the reference node is not a child of this node");
    }
    Adopt(child.get(), Node);
    return TXpNode(xmlAddPrevSibling(reference.Node, child.release()));
}

TXpOwnedNode TXpNode::RemoveChild(TXpNode child) {
    if (!Node || child.IsNull() || child.Node->parent != Node ||
        child.Node->type == XML_ATTRIBUTE_NODE) {
        throw Exception("RemoveChild: the node is not a child of this node");
    }
    xmlUnlinkNode(child.Node);
    return TXpOwnedNode(child.Node);
}

TXpNode TXpNode::AppendElement(std::u16string_view name) {
    return AppendChild(TXpOwnedNode(XpNewElement(Node->doc, U8(name))));
}

TXpNode TXpNode::AppendTextNode(std::u16string_view text) {
    const std::string value = U8(text);
    return AppendChild(TXpOwnedNode(
        xmlNewDocTextLen(Node->doc, ToXmlChar(value), static_cast<int>(value.size()))));
}

TXpNode TXpNode::AppendCDataSection(std::u16string_view text) {
    const std::string value = U8(text);
    return AppendChild(TXpOwnedNode(
        xmlNewCDataBlock(Node->doc, ToXmlChar(value), static_cast<int>(value.size()))));
}

TXpNodeList TXpNode::SelectNodes(std::u16string_view path) const {
    XmlXPathObjectPtr result = Evaluate(Node, path);
    std::vector<TXpNode> nodes;
    if (result->type == XPATH_NODESET && result->nodesetval) {
        const xmlNodeSet* set = result->nodesetval;
        nodes.reserve(static_cast<size_t>(set->nodeNr));
        for (int i = 0; i < set->nodeNr; ++i) {
            // Namespace nodes are copies owned by the result; the layer has none to offer.
            if (set->nodeTab[i]->type != XML_NAMESPACE_DECL) {
                nodes.emplace_back(set->nodeTab[i]);
            }
        }
    }
    return TXpNodeList(std::move(nodes));
}

TXpNode TXpNode::SelectSingleNode(std::u16string_view path) const {
    XmlXPathObjectPtr result = Evaluate(Node, path);
    if (result->type == XPATH_NODESET && result->nodesetval) {
        const xmlNodeSet* set = result->nodesetval;
        for (int i = 0; i < set->nodeNr; ++i) {
            if (set->nodeTab[i]->type != XML_NAMESPACE_DECL) {
                return TXpNode(set->nodeTab[i]);
            }
        }
    }
    return {};
}

std::u16string TXpNode::SelectString(std::u16string_view path) const {
    XmlXPathObjectPtr result = Evaluate(Node, path);
    XmlCharPtr text(xmlXPathCastToString(result.get()));
    return U16(text.get());
}

bool TXpNode::SelectBoolean(std::u16string_view path) const {
    XmlXPathObjectPtr result = Evaluate(Node, path);
    return xmlXPathCastToBoolean(result.get()) != 0;
}

std::u16string TXpNodeList::GetXmlText() const {
    std::u16string text;
    for (const TXpNode& node : Nodes) {
        text += node.GetXmlText();
    }
    return text;
}

} // namespace stellik
