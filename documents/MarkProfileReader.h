// documents/MarkProfileReader.h -- builds a mark profile from a "mark-profile" element
#pragma once

#include "model/MarkProfiles.h"
#include "xml/XpNode.h"

#include <memory>

namespace stellik {

// A new profile owned by the caller, or nullptr when the element has no child nodes.
// "for-minimum" gives the default mark (the last one counts); each "for-result" adds its
// "value" threshold and its text as a mark, in document order, unsorted and unchecked.
// Texts are taken as the element's document gives them. Raises on an element of another
// name and, with the conversion error, on a "value" that is not an integer.
std::unique_ptr<TMarkProfile> ParseMarkProfile(TXpNode element);

} // namespace stellik
