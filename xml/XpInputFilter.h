// xml/XpInputFilter.h -- a document's bytes made ready for the parser (internal)
#pragma once

#include "xml/XpCharEncoding.h"
#include "xml/XpErrors.h"

#include <optional>
#include <string>
#include <string_view>

namespace stellik {

// The text of a document as UTF-8, whatever its bytes were. Input that is UTF-8 already is
// not copied: Utf8() then refers to the bytes handed to XpDecodeInput, which must outlive it.
struct TXpDecodedInput {
    TXpCharEncoding Encoding = ceUnknown;
    bool HasDeclaration = false;
    std::string DeclarationData; // the text between "<?xml" and "?>", trimmed

    // The text to parse: all of it, or with Invalid set the text before that character.
    std::string_view Utf8() const { return Converted ? std::string_view(Decoded) : Source; }
    // The first character XML does not allow. It is the document's failure unless the text
    // before it already fails, which the parser of that text tells.
    std::optional<EXpFilterError> Invalid;

    std::string_view Source; // the input's own text, after any UTF-8 byte-order mark
    std::string Decoded;     // the converted text of any other encoding
    bool Converted = false;
};

// Detects the byte-order mark (UTF-16 in either order, UTF-8), reads the XML declaration
// and switches to ISO-8859-1 or Windows-1251 when it names one of them (letter case ignored),
// then decodes the rest. A UTF-16 mark keeps UTF-16 whatever the declaration says.
// Raises EXpParserError for a malformed declaration. The first character XML does not allow,
// in every encoding (a control other than TAB, LF and CR, U+FFFE, U+FFFF, a surrogate, or
// UTF-16 code units that form no character), becomes Invalid: EXpFilterError "Invalid XML
// Character found (line N, position M)"; it is raised at once inside the declaration. Its
// position is the byte offset in bytes; line and position in the line count characters from
// 1, a CR LF pair or a lone CR ending a line as LF does. Malformed UTF-8 is left to the
// parser, which reports it.
TXpDecodedInput XpDecodeInput(std::string_view bytes);

} // namespace stellik
