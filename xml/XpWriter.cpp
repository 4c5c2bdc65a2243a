#include "xml/XpWriter.h"

#include "platform/MemoryStream.h"
#include "xml/XpCharEncoding.h"
#include "xml/XpCharFilter.h"
#include "xml/XpNames.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace stellik {

namespace {

// Pieces at least this large skip the block buffer when writing to a stream.
constexpr size_t LargePiece = TXpWriterOutput::BlockSize;

// ---- characters ----

// Decodes the UTF-8 character at s[i] strictly; its length, or 0 when the bytes there are
// not UTF-8 (overlong forms and values above U+10FFFF included).
size_t DecodeAt(std::string_view s, size_t i, uint32_t& c) {
    const auto b = static_cast<uint8_t>(s[i]);
    size_t len = 0;
    uint32_t min = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2, c = b & 0x1Fu, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3, c = b & 0x0Fu, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4, c = b & 0x07u, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > s.size()) {
        return 0;
    }
    for (size_t k = 1; k < len; ++k) {
        const auto t = static_cast<uint8_t>(s[i + k]);
        if ((t & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (t & 0x3Fu);
    }
    return c >= min && c <= 0x10FFFF ? len : 0;
}

void AppendReference(TXpWriterOutput& out, uint32_t character) {
    char digits[16];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + character % 10);
        character /= 10;
    } while (character > 0);
    out.Append('&'), out.Append('#');
    while (n > 0) {
        out.Append(digits[--n]);
    }
    out.Append(';');
}

bool IsLineControl(uint8_t b) {
    return b == '\t' || b == '\n' || b == '\r';
}

// Bytes that end a run written as it is in text and attribute values: markup, line ends,
// controls, and the lead and trail bytes of every character outside ASCII.
enum TValueKind { vkText, vkTextRefs, vkAttribute, vkAttributeRefs, vkKinds };

constexpr std::array<std::array<bool, 256>, vkKinds> MakeStops() {
    std::array<std::array<bool, 256>, vkKinds> stops{};
    for (int kind = 0; kind < vkKinds; ++kind) {
        const bool attribute = kind == vkAttribute || kind == vkAttributeRefs;
        const bool refs = kind == vkTextRefs || kind == vkAttributeRefs;
        for (int b = 0; b < 256; ++b) {
            stops[kind][b] = b < 0x20 || b >= 0x80 || b == '&' || b == '<' || b == '>' ||
                             (b == 0x7F && refs) || (attribute && b == '"');
        }
        stops[kind]['\t'] = attribute;
        stops[kind]['\n'] = attribute || refs;
        stops[kind]['\r'] = attribute || refs;
    }
    return stops;
}

constexpr auto Stops = MakeStops();

// Text or an attribute value with markup escaped, characters XML forbids left out and, with
// refs, every character outside 32..126 but TAB as a reference (in attribute values TAB, LF
// and CR always, as a parser would make spaces of them).
void AppendEscaped(TXpWriterOutput& out, std::string_view s, bool attribute, bool keep) {
    const bool refs = !keep;
    const auto& stop =
        Stops[attribute ? (refs ? vkAttributeRefs : vkAttribute) : (refs ? vkTextRefs : vkText)];
    size_t run = 0;
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<uint8_t>(s[i]);
        if (!stop[b]) {
            ++i;
            continue;
        }
        if (b >= 0x80 && !refs) {
            // Kept as it is, in the run, when it is UTF-8 of a character XML allows: every
            // two-byte one is (U+0080..U+07FF, Cyrillic among them), and needs no decoding.
            if (b >= 0xC2 && b <= 0xDF && i + 1 < s.size() &&
                (static_cast<uint8_t>(s[i + 1]) & 0xC0) == 0x80) {
                i += 2;
                continue;
            }
            uint32_t c = 0;
            const size_t len = DecodeAt(s, i, c);
            if (len != 0 && XpIsXmlChar(c)) {
                i += len;
                continue;
            }
        }
        out.Append(s.substr(run, i - run));
        size_t len = 1;
        switch (b) {
        case '&':
            out.Append("&amp;");
            break;
        case '<':
            out.Append("&lt;");
            break;
        case '>':
            out.Append("&gt;");
            break;
        case '"':
            out.Append("&quot;");
            break;
        case '\t':
        case '\n':
        case '\r':
            AppendReference(out, b);
            break;
        default:
            if (b < 0x20) {
                break; // a control XML does not allow: left out
            }
            uint32_t c = b;
            if (b >= 0x80) {
                len = DecodeAt(s, i, c);
                if (len == 0) {
                    len = 1, c = 0xFFFD; // not UTF-8
                }
            }
            if (!XpIsXmlChar(c)) {
                break;
            }
            if (refs) {
                AppendReference(out, c);
            } else if (c == 0xFFFD && len == 1) {
                out.Append("\xEF\xBF\xBD");
            } else {
                out.Append(s.substr(i, len));
            }
            break;
        }
        i += len;
        run = i;
    }
    out.Append(s.substr(run));
}

// The first byte at or after from that is a control (TAB, LF and CR included) or not ASCII,
// eight bytes at a time: cipher texts of many megabytes have none.
size_t FindUnusual(std::string_view s, size_t from) {
    constexpr uint64_t Ones = 0x0101010101010101ull;
    constexpr uint64_t Highs = 0x8080808080808080ull;
    size_t i = from;
    for (; i + 8 <= s.size(); i += 8) {
        uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        // A byte below 0x20 borrows in word - 0x20...; a byte of 0x80 or more has its top bit.
        if (((word - Ones * 0x20) | word) & Highs) {
            break;
        }
    }
    for (; i < s.size(); ++i) {
        const auto b = static_cast<uint8_t>(s[i]);
        if (b < 0x20 || b >= 0x80) {
            return i;
        }
    }
    return std::string_view::npos;
}

// s without the characters XML forbids and with U+FFFD for bytes that are not UTF-8; s
// itself when it needs no change, else the text put into storage.
std::string_view WithoutForbidden(std::string_view s, std::string& storage) {
    size_t i = FindUnusual(s, 0);
    while (i != std::string_view::npos && IsLineControl(static_cast<uint8_t>(s[i]))) {
        i = FindUnusual(s, i + 1);
    }
    if (i == std::string_view::npos) {
        return s;
    }
    storage.assign(s.substr(0, i));
    while (i < s.size()) {
        const auto b = static_cast<uint8_t>(s[i]);
        if (b < 0x80) {
            if (b >= 0x20 || IsLineControl(b)) {
                storage.push_back(static_cast<char>(b));
            }
            ++i;
            continue;
        }
        uint32_t c = 0;
        const size_t len = DecodeAt(s, i, c);
        if (len == 0) {
            storage += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (XpIsXmlChar(c)) {
            storage.append(s.substr(i, len));
        }
        i += len;
    }
    return storage;
}

// ---- nodes ----

// A CDATA section's text from the start, with characters XML forbids left out and "]]>"
// split between two sections.
void WriteCDataText(TXpWriterOutput& out, std::string_view content) {
    std::string storage;
    const std::string_view s = WithoutForbidden(content, storage);
    // "]]>" cannot stand inside a section: end it between "]]" and ">".
    size_t from = 0;
    for (size_t at = s.find("]]>"); at != std::string_view::npos; at = s.find("]]>", from)) {
        out.Append(s.substr(from, at + 2 - from));
        out.Append("]]><![CDATA[");
        from = at + 2;
    }
    out.Append(s.substr(from));
}

// Whether text is ASCII without controls other than TAB, LF and CR.
bool IsPlainAscii(std::string_view text) {
    size_t i = FindUnusual(text, 0);
    while (i != std::string_view::npos && IsLineControl(static_cast<uint8_t>(text[i]))) {
        i = FindUnusual(text, i + 1);
    }
    return i == std::string_view::npos;
}

// Text that needs no change (plain ASCII without "]]>", as base64 cipher text of many
// megabytes is) is checked and written a block at a time, so that it is read from memory
// once. A block that is not the last ends before any "]", so that no "]]>" spans two blocks;
// the first block that is not plain and all that follow are written by WriteCDataText.
void WriteCData(TXpWriterOutput& out, std::string_view content) {
    constexpr size_t Block = size_t{128} << 10;
    out.Append("<![CDATA[");
    out.Expect(content.size() + 3);
    size_t from = 0;
    while (from < content.size()) {
        std::string_view block = content.substr(from, Block);
        if (from + block.size() < content.size()) {
            const size_t last = block.find_last_not_of(']');
            block = block.substr(0, last == std::string_view::npos ? 0 : last + 1);
        }
        if (block.empty() || !IsPlainAscii(block) || block.find("]]>") != std::string_view::npos) {
            break;
        }
        out.Append(block);
        from += block.size();
    }
    WriteCDataText(out, content.substr(from));
    out.Append("]]>");
}

void WriteComment(TXpWriterOutput& out, std::string_view content) {
    std::string storage;
    const std::string_view s = WithoutForbidden(content, storage);
    out.Append("<!--");
    size_t from = 0;
    for (size_t at = s.find("--"); at != std::string_view::npos; at = s.find("--", from)) {
        out.Append(s.substr(from, at + 1 - from));
        out.Append(' ');
        from = at + 1;
    }
    out.Append(s.substr(from));
    if (!s.empty() && s.back() == '-') {
        out.Append(' ');
    }
    out.Append("-->");
}

void WriteProcessingInstruction(TXpWriterOutput& out, const xmlNode* node) {
    out.Append("<?");
    out.Append(FromXmlChar(node->name));
    std::string storage;
    const std::string_view s = WithoutForbidden(FromXmlChar(node->content), storage);
    if (!s.empty()) {
        out.Append(' ');
        size_t from = 0;
        for (size_t at = s.find("?>"); at != std::string_view::npos; at = s.find("?>", from)) {
            out.Append(s.substr(from, at + 1 - from));
            out.Append(' ');
            from = at + 1;
        }
        out.Append(s.substr(from));
    }
    out.Append("?>");
}

void WriteDocumentType(TXpWriterOutput& out, const xmlDtd* dtd) {
    out.Append("<!DOCTYPE ");
    out.Append(FromXmlChar(dtd->name));
    if (dtd->ExternalID) {
        out.Append(" PUBLIC \"");
        out.Append(FromXmlChar(dtd->ExternalID));
        out.Append("\" \"");
        out.Append(FromXmlChar(dtd->SystemID));
        out.Append('"');
    } else if (dtd->SystemID) {
        out.Append(" SYSTEM \"");
        out.Append(FromXmlChar(dtd->SystemID));
        out.Append('"');
    }
    if (dtd->children) {
        // Declarations of the internal subset, as libxml2 writes them.
        XmlBufferPtr buffer(xmlBufferCreate());
        for (xmlNode* decl = dtd->children; decl; decl = decl->next) {
            xmlNodeDump(buffer.get(), dtd->doc, decl, 0, 0);
        }
        out.Append(" [");
        out.Append(FromXmlChar(xmlBufferContent(buffer.get())));
        out.Append(']');
    }
    out.Append('>');
}

// The name as written, without building a string when it has no prefix.
void AppendName(TXpWriterOutput& out, const xmlNode* node) {
    if (node->ns && node->ns->prefix) {
        out.Append(FromXmlChar(node->ns->prefix));
        out.Append(':');
    }
    out.Append(FromXmlChar(node->name));
}

void WriteAttribute(TXpWriterOutput& out, const xmlAttr* attr, bool keep) {
    AppendName(out, reinterpret_cast<const xmlNode*>(attr));
    out.Append("=\"");
    const xmlNode* child = attr->children;
    if (child && !child->next && child->type == XML_TEXT_NODE) {
        AppendEscaped(out, FromXmlChar(child->content), true, keep);
    } else {
        AppendEscaped(out, XpAttributeValue(attr), true, keep);
    }
    out.Append('"');
}

void WriteElement(TXpWriterOutput& out, const xmlNode* node, bool keep) {
    out.Append('<');
    AppendName(out, node);
    for (const xmlAttr* a = node->properties; a; a = a->next) {
        out.Append(' ');
        WriteAttribute(out, a, keep);
    }
    if (!node->children) {
        out.Append("/>");
        return;
    }
    out.Append('>');
    for (const xmlNode* child = node->children; child; child = child->next) {
        XpWriteNode(out, child, keep);
    }
    out.Append("</");
    AppendName(out, node);
    out.Append('>');
}

} // namespace

TXpWriterOutput::TXpWriterOutput(TMemoryStream& stream) : Text(Own), Stream(&stream) {
    Own.reserve(LargePiece * 2);
}

TXpWriterOutput::~TXpWriterOutput() = default;

void TXpWriterOutput::Append(std::string_view piece) {
    if (!Stream) {
        Text.append(piece);
        return;
    }
    if (piece.size() < LargePiece) {
        Text.append(piece);
        if (Text.size() >= LargePiece) {
            Flush();
        }
        return;
    }
    Flush();
    // Room for the piece and what usually follows it, so that the closing tags do not make
    // the stream move the piece into a larger buffer.
    Stream->Reserve(Stream->GetPosition() + piece.size() + LargePiece);
    Stream->Write(piece);
}

void TXpWriterOutput::Expect(size_t count) {
    // Small pieces are left to the usual growth: taking room exactly for each would move
    // the bytes every time.
    if (count < LargePiece) {
        return;
    }
    if (Stream) {
        Stream->Reserve(Stream->GetPosition() + Text.size() + count + LargePiece);
    } else {
        Text.reserve(Text.size() + count + LargePiece);
    }
}

void TXpWriterOutput::Flush() {
    if (Stream) {
        Stream->Write(Text);
        Text.clear();
    }
}

void XpWriteNode(TXpWriterOutput& out, const xmlNode* node, bool keepCharacters) {
    switch (node->type) {
    case XML_ELEMENT_NODE:
        WriteElement(out, node, keepCharacters);
        break;
    case XML_ATTRIBUTE_NODE:
        WriteAttribute(out, reinterpret_cast<const xmlAttr*>(node), keepCharacters);
        break;
    case XML_TEXT_NODE:
        AppendEscaped(out, FromXmlChar(node->content), false, keepCharacters);
        break;
    case XML_CDATA_SECTION_NODE:
        WriteCData(out, FromXmlChar(node->content));
        break;
    case XML_ENTITY_REF_NODE:
        out.Append('&');
        out.Append(FromXmlChar(node->name));
        out.Append(';');
        break;
    case XML_PI_NODE:
        WriteProcessingInstruction(out, node);
        break;
    case XML_COMMENT_NODE:
        WriteComment(out, FromXmlChar(node->content));
        break;
    case XML_DTD_NODE:
        WriteDocumentType(out, reinterpret_cast<const xmlDtd*>(node));
        break;
    case XML_DOCUMENT_NODE:
    case XML_DOCUMENT_FRAG_NODE:
        for (const xmlNode* child = node->children; child; child = child->next) {
            if (child != node->children && node->type == XML_DOCUMENT_NODE) {
                out.Append("\r\n");
            }
            XpWriteNode(out, child, keepCharacters);
        }
        break;
    default:
        break;
    }
}

void XpWriteDocument(TXpWriterOutput& out, const xmlDoc* doc, bool keepCharacters) {
    XpWriteNode(out, reinterpret_cast<const xmlNode*>(doc), keepCharacters);
}

} // namespace stellik
