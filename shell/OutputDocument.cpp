#include "shell/OutputDocument.h"

#include "platform/Exception.h"

#include <string>

namespace stellik {

namespace {

constexpr size_t Invalid = static_cast<size_t>(-1);

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The length of text in UTF-8; Invalid for a surrogate without its partner, which a UTF-16
// stream reader refuses as well.
size_t Utf8Length(std::u16string_view text) {
    size_t length = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            length += 1;
        } else if (c < 0x800) {
            length += 2;
        } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            length += 4;
            ++i;
        } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
            return Invalid;
        } else {
            length += 3;
        }
    }
    return length;
}

// Writes text, checked by Utf8Length, as UTF-8 at out; returns the end of what it wrote.
char* WriteUtf8(std::u16string_view text, char* out) {
    auto put = [&out](char32_t bits) { *out++ = static_cast<char>(bits); };
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
            put(c);
        } else if (c < 0x800) {
            put(0xC0 | (c >> 6));
            put(0x80 | (c & 0x3F));
        } else if (IsHighSurrogate(text[i])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
            put(0xF0 | (c >> 18));
            put(0x80 | ((c >> 12) & 0x3F));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        } else {
            put(0xE0 | (c >> 12));
            put(0x80 | ((c >> 6) & 0x3F));
            put(0x80 | (c & 0x3F));
        }
    }
    return out;
}

} // namespace

void LoadOutputDocument(TXpObjModel& model, const TWideStrings& lines) {
    // The lines go to the parser as UTF-8 directly: the same document as through a UTF-16
    // stream (the parser ignores the declared encoding), without the round trip. Measured
    // first, so the text is written into one buffer of the right size.
    size_t size = 0;
    for (const std::u16string& line : lines) {
        const size_t length = Utf8Length(line);
        if (length == Invalid) {
            model.ClearDocument();
            throw Exception("Cannot Parse XML");
        }
        size += length + 2;
    }
    std::string text(size, '\0');
    char* out = text.data();
    for (const std::u16string& line : lines) {
        out = WriteUtf8(line, out);
        *out++ = '\r';
        *out++ = '\n';
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
