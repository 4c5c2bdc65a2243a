// xml/XpWriter.h -- the layer's serialiser (internal)
//
// No white space is added anywhere; the top-level nodes of a document are joined by CR LF.
// In text and attribute values every character outside 32..126 except TAB is written as a
// decimal character reference ("&#1040;"), unless keepCharacters is set; in attribute values
// TAB, LF and CR are always references, so that reading them back gives the same characters.
// With keepCharacters a CR in text is written as it is, like every other character: such text
// is read as text (its white space made single spaces), and a parser would make an LF of it.
// Names, CDATA sections, comments and processing instructions are written as they are, since
// references mean nothing there.
//
// What is written always parses again: a character XML 1.0 does not allow (a control other
// than TAB, LF and CR, U+FFFE, U+FFFF, a surrogate) is left out, raw or as a reference;
// bytes that are not UTF-8 become U+FFFD; "]]>" in a CDATA section ends it and opens
// another, a comment gets a space between two dashes and after a closing dash, a processing
// instruction a space between "?" and ">".
#pragma once

#include "xml/XmlHandles.h"

#include <string>
#include <string_view>

namespace stellik {

class TMemoryStream;

// Where the serialiser's UTF-8 goes: a string, or a stream at its position, to which large
// pieces go straight and small ones in blocks.
class TXpWriterOutput {
public:
    explicit TXpWriterOutput(std::string& text) : Text(text) {}
    explicit TXpWriterOutput(TMemoryStream& stream);
    ~TXpWriterOutput();
    TXpWriterOutput(const TXpWriterOutput&) = delete;
    TXpWriterOutput& operator=(const TXpWriterOutput&) = delete;

    void Append(std::string_view piece);
    void Append(char c) {
        Text.push_back(c);
        if (Stream && Text.size() >= BlockSize) {
            Flush();
        }
    }
    // Room for count more bytes that are about to come, taken at once for a large piece
    // written in parts.
    void Expect(size_t count);
    // Sends what is gathered to the stream.
    void Flush();

    static constexpr size_t BlockSize = size_t{64} << 10;

private:
    std::string Own;
    std::string& Text;
    TMemoryStream* Stream = nullptr;
};

void XpWriteNode(TXpWriterOutput& out, const xmlNode* node, bool keepCharacters);
void XpWriteDocument(TXpWriterOutput& out, const xmlDoc* doc, bool keepCharacters);

} // namespace stellik
