// bench/documents/TestDocumentMaker.h -- generated test documents of any size
#pragma once

#include <string>

namespace stellik::bench {

// count questions of the five kinds with Cyrillic text and markup, ten sections whose pools
// name every question by identifier, and a question and a section message for each section.
// The document names "XTF_v1p2.dtd" as its DTD.
std::string MakeTestDocument(int count);

// About count questions shaped like a real test (the demo's): blocks of fourteen questions of
// the five kinds, each block with three sections whose pools name its questions by identifier
// (the all pool, and in two of them the good, middle and bad pools), a section message naming
// the block's last section and two question messages; the test opens with messages for every
// question and every section. Also names "XTF_v1p2.dtd".
std::string MakeDemoShapedDocument(int count);

} // namespace stellik::bench
