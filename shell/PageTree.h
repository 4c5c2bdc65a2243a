// shell/PageTree.h -- plain walks over a page document's elements
//
// Every page passes through these, so they walk the tree once by its links instead of
// evaluating "//" XPath expressions, which sort and merge node sets.
#pragma once

#include "xml/XpNode.h"

#include <string_view>

namespace stellik {

// Every attribute called name (as written) of root's subtree, root included, becomes prefix
// followed by its old value with each "%" written "%25" and each "#" "%23": the view decodes
// the URL and cuts a fragment off, and then gets the value back as it was.
void PrefixAttributes(TXpNode root, std::string_view name, std::string_view prefix);

// True when root's subtree, root included, holds an element called name.
bool ContainsElement(TXpNode root, std::string_view name);

} // namespace stellik
