// shell/OutputDocument.h -- the run engine's output lines as a page document
#pragma once

#include "model/Lines.h"
#include "xml/XpObjModel.h"

#include <string_view>

namespace stellik {

// The declaration every page document carries: a processing instruction "xml" with this data.
inline constexpr std::u16string_view PageDeclarationData = u"version=\"1.0\" encoding=\"utf-8\"";

// Loads the lines (one tag or value each, as the engine writes them) into model as one
// document, as if they had been read from a UTF-16 stream with CR LF after every line, and
// puts a UTF-8 declaration in place of the engine's own. Raises "Cannot Parse XML" when they
// do not parse; model is then empty.
void LoadOutputDocument(TXpObjModel& model, const TWideStrings& lines);

} // namespace stellik
