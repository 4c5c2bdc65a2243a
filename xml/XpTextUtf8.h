// xml/XpTextUtf8.h -- long base64 texts in and out of a document without wide strings
//
// The document object speaks wide strings; the cipher text of a large document is megabytes
// of ASCII, and a round trip through UTF-16 would cost more than decrypting it. These two work
// on the UTF-8 that libxml2 holds anyway.
#pragma once

#include "xml/XpNode.h"

#include <string>
#include <string_view>

namespace stellik {

// The XPath string value of the first node path selects from context ("" when none).
std::string SelectStringUtf8(const TXpNode& context, std::u16string_view path);

// Appends a CDATA section holding text (UTF-8) to parent, an element in a document.
void AppendCDataSectionUtf8(TXpNode parent, std::string_view text);

} // namespace stellik
