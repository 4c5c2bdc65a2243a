#include "xml/XpWriter.h"

#include "xml/XpNames.h"

#include <cstdint>
#include <string_view>

namespace stellik {

namespace {

void AppendReference(std::string& out, uint32_t character) {
    out += "&#";
    out += std::to_string(character);
    out += ';';
}

// Decodes one UTF-8 character at i (libxml2 strings are valid UTF-8) and returns its length.
size_t DecodeAt(std::string_view s, size_t i, uint32_t& c) {
    const auto b = static_cast<uint8_t>(s[i]);
    size_t len = b < 0x80 ? 1 : (b & 0xE0) == 0xC0 ? 2 : (b & 0xF0) == 0xE0 ? 3 : 4;
    if (i + len > s.size()) {
        len = 1;
    }
    c = len == 1 ? b : len == 2 ? (b & 0x1Fu) : len == 3 ? (b & 0x0Fu) : (b & 0x07u);
    for (size_t k = 1; k < len; ++k) {
        c = (c << 6) | (static_cast<uint8_t>(s[i + k]) & 0x3Fu);
    }
    return len;
}

void AppendEscaped(std::string& out, std::string_view s, bool attribute, bool keep) {
    size_t i = 0;
    while (i < s.size()) {
        const char ch = s[i];
        switch (ch) {
        case '&':
            out += "&amp;";
            ++i;
            continue;
        case '<':
            out += "&lt;";
            ++i;
            continue;
        case '>':
            out += "&gt;";
            ++i;
            continue;
        case '"':
            out += attribute ? "&quot;" : "\"";
            ++i;
            continue;
        case '\r':
            out += "&#13;";
            ++i;
            continue;
        case '\t':
        case '\n':
            if (attribute || (!keep && ch == '\n')) {
                AppendReference(out, static_cast<uint8_t>(ch));
            } else {
                out += ch;
            }
            ++i;
            continue;
        default:
            break;
        }
        uint32_t c = 0;
        const size_t len = DecodeAt(s, i, c);
        if (!keep && (c < 32 || c > 126)) {
            AppendReference(out, c);
        } else {
            out.append(s.substr(i, len));
        }
        i += len;
    }
}

void WriteCData(std::string& out, std::string_view s) {
    // "]]>" cannot stand inside a section: end it between "]]" and ">".
    out += "<![CDATA[";
    size_t from = 0;
    for (size_t at = s.find("]]>"); at != std::string_view::npos; at = s.find("]]>", from)) {
        out.append(s.substr(from, at + 2 - from));
        out += "]]><![CDATA[";
        from = at + 2;
    }
    out.append(s.substr(from));
    out += "]]>";
}

void WriteDocumentType(std::string& out, const xmlDtd* dtd) {
    out += "<!DOCTYPE ";
    out += FromXmlChar(dtd->name);
    if (dtd->ExternalID) {
        out += " PUBLIC \"";
        out += FromXmlChar(dtd->ExternalID);
        out += "\" \"";
        out += FromXmlChar(dtd->SystemID);
        out += '"';
    } else if (dtd->SystemID) {
        out += " SYSTEM \"";
        out += FromXmlChar(dtd->SystemID);
        out += '"';
    }
    if (dtd->children) {
        // Declarations of the internal subset, as libxml2 writes them.
        XmlBufferPtr buffer(xmlBufferCreate());
        for (xmlNode* decl = dtd->children; decl; decl = decl->next) {
            xmlNodeDump(buffer.get(), dtd->doc, decl, 0, 0);
        }
        out += " [";
        out += FromXmlChar(xmlBufferContent(buffer.get()));
        out += ']';
    }
    out += '>';
}

void WriteElement(std::string& out, const xmlNode* node, bool keep);

void WriteChildren(std::string& out, const xmlNode* node, bool keep) {
    for (const xmlNode* child = node->children; child; child = child->next) {
        XpWriteNode(out, child, keep);
    }
}

void WriteElement(std::string& out, const xmlNode* node, bool keep) {
    const std::string name = XpQName(node);
    out += '<';
    out += name;
    for (const xmlAttr* a = node->properties; a; a = a->next) {
        out += ' ';
        out += XpQName(reinterpret_cast<const xmlNode*>(a));
        out += "=\"";
        AppendEscaped(out, XpAttributeValue(a), true, keep);
        out += '"';
    }
    if (!node->children) {
        out += "/>";
        return;
    }
    out += '>';
    WriteChildren(out, node, keep);
    out += "</";
    out += name;
    out += '>';
}

} // namespace

void XpWriteNode(std::string& out, const xmlNode* node, bool keepCharacters) {
    switch (node->type) {
    case XML_ELEMENT_NODE:
        WriteElement(out, node, keepCharacters);
        break;
    case XML_ATTRIBUTE_NODE:
        out += XpQName(node);
        out += "=\"";
        AppendEscaped(out, XpAttributeValue(reinterpret_cast<const xmlAttr*>(node)), true,
                      keepCharacters);
        out += '"';
        break;
    case XML_TEXT_NODE:
        AppendEscaped(out, FromXmlChar(node->content), false, keepCharacters);
        break;
    case XML_CDATA_SECTION_NODE:
        WriteCData(out, FromXmlChar(node->content));
        break;
    case XML_ENTITY_REF_NODE:
        out += '&';
        out += FromXmlChar(node->name);
        out += ';';
        break;
    case XML_PI_NODE:
        out += "<?";
        out += FromXmlChar(node->name);
        if (node->content && *node->content) {
            out += ' ';
            out += FromXmlChar(node->content);
        }
        out += "?>";
        break;
    case XML_COMMENT_NODE:
        out += "<!--";
        out += FromXmlChar(node->content);
        out += "-->";
        break;
    case XML_DTD_NODE:
        WriteDocumentType(out, reinterpret_cast<const xmlDtd*>(node));
        break;
    case XML_DOCUMENT_NODE:
    case XML_DOCUMENT_FRAG_NODE:
        for (const xmlNode* child = node->children; child; child = child->next) {
            if (child != node->children && node->type == XML_DOCUMENT_NODE) {
                out += "\r\n";
            }
            XpWriteNode(out, child, keepCharacters);
        }
        break;
    default:
        break;
    }
}

void XpWriteDocument(std::string& out, const xmlDoc* doc, bool keepCharacters) {
    XpWriteNode(out, reinterpret_cast<const xmlNode*>(doc), keepCharacters);
}

} // namespace stellik
