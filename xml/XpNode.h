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
    bool IsElement() const { return NodeType() == TXpNodeType::Element; }
    // Elements and attributes: the name as written; text "#text", CDATA "#cdata-section",
    // comment "#comment", document "#document", processing instruction: its target.
    std::u16string NodeName() const;
    // Attribute value, text, CDATA, comment or processing-instruction data; empty otherwise.
    std::u16string NodeValue() const;
    // Text, CDATA, comment, processing instruction or attribute: replaces the value.
    void SetNodeValue(std::u16string_view value);

    // Navigation; an attribute's parent is its element.
    TXpNode ParentNode() const;
    TXpNode FirstChild() const;
    TXpNode LastChild() const;
    TXpNode NextSibling() const;
    TXpNode PreviousSibling() const;
    bool HasChildNodes() const;
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

    // XPath 1.0 with this node as context node. An expression that does not compile raises.
    TXpNodeList SelectNodes(std::u16string_view path) const;
    TXpNode SelectSingleNode(std::u16string_view path) const;    // first in document order
    std::u16string SelectString(std::u16string_view path) const; // XPath string() of the result
    bool SelectBoolean(std::u16string_view path) const;          // node set: not empty

private:
    xmlNode* Node = nullptr;
};

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
