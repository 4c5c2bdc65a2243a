// xml/XpNode.h -- non-owning access to the nodes of a document
//
// Strings: names and texts at this interface are wide strings (UTF-16), as the rest of the
// program holds XML names and texts; XPath expressions are wide strings too.
//
// A TXpNode is a plain handle: it does not keep its document alive, and it dangles once its
// document object is cleared, reloaded or destroyed. Nodes that belong to no tree (made by a
// document object's Create* calls, or taken out with RemoveChild) are TXpOwnedNode values
// that free themselves unless handed to AppendChild or InsertBefore; they must be inserted
// or dropped before their document object is cleared.
//
// Names are literal: "ds:KeyInfo" is an element of that name and XPath steps match it as
// written; "xmlns" attributes are ordinary attributes and no namespace processing happens.
#pragma once

#include "xml/XmlHandles.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace stellik {

using TXpOwnedNode = XmlNodePtr;

enum class TXpNodeType {
    Null,
    Element,
    Attribute,
    Text,
    CDataSection,
    EntityReference,
    ProcessingInstruction,
    Comment,
    Document,
    DocumentType,
    Other,
};

class TXpNodeList;

class TXpNode {
public:
    TXpNode() = default;
    explicit TXpNode(xmlNode* node) : Node(node) {}
    explicit TXpNode(xmlAttr* attr) : Node(reinterpret_cast<xmlNode*>(attr)) {}

    xmlNode* Handle() const { return Node; }
    bool IsNull() const { return Node == nullptr; }
    explicit operator bool() const { return Node != nullptr; }
    bool operator==(const TXpNode& other) const { return Node == other.Node; }

    TXpNodeType NodeType() const;
    bool IsElement() const { return Node && Node->type == XML_ELEMENT_NODE; }
    // Elements and attributes: the name as written; text "#text", CDATA "#cdata-section",
    // comment "#comment", document "#document", processing instruction: its target.
    std::u16string NodeName() const;
    // Attribute value, text, CDATA, comment or processing-instruction data; empty otherwise.
    std::u16string NodeValue() const;
    // Text, CDATA, comment, processing instruction or attribute: replaces the value.
    void SetNodeValue(std::u16string_view value);

    // Navigation; an attribute's parent is its element, its next sibling the element's next
    // attribute. (Inline: readers walk every node of large documents.)
    TXpNode ParentNode() const { return TXpNode(Node ? Node->parent : nullptr); }
    TXpNode FirstChild() const { return TXpNode(HasChildren() ? Node->children : nullptr); }
    TXpNode LastChild() const { return TXpNode(HasChildren() ? Node->last : nullptr); }
    TXpNode NextSibling() const { return TXpNode(Node ? Node->next : nullptr); }
    bool HasChildNodes() const { return HasChildren() && Node->children; }
    // Child nodes in document order (attributes are not children).
    std::vector<TXpNode> ChildNodes() const;

    // Texts of the subtree (text and CDATA nodes) joined with nothing between them; for an
    // attribute its value.
    std::u16string GetText() const;
    // Non-empty texts of the subtree joined by one space each.
    std::u16string GetSpacedText() const;
    // The node and its subtree as XML text, written by the document's rules (characters
    // outside 32..126 as decimal references unless the document keeps characters).
    std::u16string GetXmlText() const;
    // Merges adjacent text nodes of the subtree and drops empty ones; with addSpace the merged
    // pieces are joined by a space.
    void Normalize(bool addSpace = false);

    // Element attributes, in document order. GetAttribute is empty when absent; SetAttribute
    // replaces the value in place or appends; RemoveAttribute does nothing when absent.
    std::u16string GetAttribute(std::u16string_view name) const;
    bool HasAttribute(std::u16string_view name) const;
    TXpNode GetAttributeNode(std::u16string_view name) const;
    void SetAttribute(std::u16string_view name, std::u16string_view value);
    void RemoveAttribute(std::u16string_view name);
    size_t AttributeCount() const;
    TXpNode AttributeAt(size_t index) const; // null when out of range
    std::vector<TXpNode> Attributes() const;

    // Element: a new name (prefix included, taken literally).
    void Rename(std::u16string_view name);

    // Tree editing. The returned handle is the node now in the tree: a text node appended
    // next to a text node is merged into it.
    TXpNode AppendChild(TXpOwnedNode child);
    TXpNode InsertBefore(TXpOwnedNode child, TXpNode reference);
    // Raises when child is not a child of this node.
    TXpOwnedNode RemoveChild(TXpNode child);
    // Shorthands creating the node in this node's document.
    TXpNode AppendElement(std::u16string_view name);
    TXpNode AppendTextNode(std::u16string_view text);
    TXpNode AppendCDataSection(std::u16string_view text);

    // The same in UTF-8, as the document holds its strings: for reading many nodes without
    // converting each one. NameIs compares the name as written without building it.
    bool NameIs(std::string_view name) const;
    std::string NodeNameUtf8() const;
    std::string NodeValueUtf8() const;
    void AppendXmlTextUtf8(std::string& out) const;

    // XPath 1.0 with this node as context node. An expression that does not compile raises.
    TXpNodeList SelectNodes(std::u16string_view path) const;
    TXpNode SelectSingleNode(std::u16string_view path) const;    // first in document order
    std::u16string SelectString(std::u16string_view path) const; // XPath string() of the result
    bool SelectBoolean(std::u16string_view path) const;          // node set: not empty

private:
    // Attributes hold their value as children, which are no child nodes here.
    bool HasChildren() const { return Node && Node->type != XML_ATTRIBUTE_NODE; }

    xmlNode* Node = nullptr;
};

inline TXpNodeType TXpNode::NodeType() const {
    if (!Node) {
        return TXpNodeType::Null;
    }
    switch (Node->type) {
    case XML_ELEMENT_NODE:
        return TXpNodeType::Element;
    case XML_ATTRIBUTE_NODE:
        return TXpNodeType::Attribute;
    case XML_TEXT_NODE:
        return TXpNodeType::Text;
    case XML_CDATA_SECTION_NODE:
        return TXpNodeType::CDataSection;
    case XML_ENTITY_REF_NODE:
        return TXpNodeType::EntityReference;
    case XML_PI_NODE:
        return TXpNodeType::ProcessingInstruction;
    case XML_COMMENT_NODE:
        return TXpNodeType::Comment;
    case XML_DOCUMENT_NODE:
        return TXpNodeType::Document;
    case XML_DTD_NODE:
        return TXpNodeType::DocumentType;
    default:
        return TXpNodeType::Other;
    }
}

// The result of SelectNodes: nodes in document order; the list is the caller's, the nodes
// belong to their document.
class TXpNodeList {
public:
    TXpNodeList() = default;
    explicit TXpNodeList(std::vector<TXpNode> nodes) : Nodes(std::move(nodes)) {}
    size_t Length() const { return Nodes.size(); }
    bool Empty() const { return Nodes.empty(); }
    TXpNode Item(size_t index) const { return index < Nodes.size() ? Nodes[index] : TXpNode(); }
    auto begin() const { return Nodes.begin(); }
    auto end() const { return Nodes.end(); }
    // The XML text of each node, concatenated with nothing between them.
    std::u16string GetXmlText() const;

private:
    std::vector<TXpNode> Nodes;
};

} // namespace stellik
