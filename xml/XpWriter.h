// xml/XpWriter.h -- the layer's serialiser
//
// No white space is added anywhere; the top-level nodes of a document are joined by CR LF.
// In text and attribute values every character outside 32..126 except TAB is written as a
// decimal character reference ("&#1040;"), unless keepCharacters is set; CR (and, in
// attribute values, TAB and LF) are always references, so that reading the text back gives
// the same characters. Names, CDATA sections, comments and processing instructions are
// written as they are, since references mean nothing there.
#pragma once

#include "xml/XmlHandles.h"

#include <string>

namespace stellik {

// The result is UTF-8.
void XpWriteNode(std::string& out, const xmlNode* node, bool keepCharacters);
void XpWriteDocument(std::string& out, const xmlDoc* doc, bool keepCharacters);

} // namespace stellik
