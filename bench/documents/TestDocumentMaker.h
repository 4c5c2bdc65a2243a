// bench/documents/TestDocumentMaker.h -- generated test documents of any size
#pragma once

#include <string>

namespace stellik::bench {

// count questions of the five kinds with Cyrillic text and markup, ten sections whose pools
// name every question by identifier, and a question and a section message for each section.
// The document names "XTF_v1p2.dtd" as its DTD.
std::string MakeTestDocument(int count);

} // namespace stellik::bench
