#include "shell/OutputDocument.h"

#include "platform/Exception.h"

#include <string>

namespace stellik {

namespace {

// Appends text as UTF-8; false on a surrogate without its partner, which a UTF-16 stream
// reader refuses as well.
bool AppendUtf8(std::string& out, std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            if (c > 0xDBFF || i + 1 >= text.size() || text[i + 1] < 0xDC00 ||
                text[i + 1] > 0xDFFF) {
                return false;
            }
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        }
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
    return true;
}

} // namespace

void LoadOutputDocument(TXpObjModel& model, const TWideStrings& lines) {
    // The lines go to the parser as UTF-8 directly: the same document as through a UTF-16
    // stream (the parser ignores the declared encoding), without the round trip.
    size_t size = 0;
    for (const std::u16string& line : lines) {
        size += line.size() + 2;
    }
    std::string text;
    text.reserve(size + size / 2);
    for (const std::u16string& line : lines) {
        if (!AppendUtf8(text, line)) {
            model.ClearDocument();
            throw Exception("Cannot Parse XML");
        }
        text += "\r\n";
    }
    if (!model.LoadBytes(text)) {
        throw Exception("Cannot Parse XML");
    }
    TXpNode document = model.Document();
    const TXpNode first = document.FirstChild();
    if (first.NodeType() == TXpNodeType::ProcessingInstruction && first.NodeName() == u"xml") {
        document.RemoveChild(first); // the engine's declaration, naming UTF-16
    }
    document.InsertBefore(model.CreateProcessingInstruction(u"xml", PageDeclarationData),
                          model.DocumentElement());
}

} // namespace stellik
