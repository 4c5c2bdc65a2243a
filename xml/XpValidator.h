// xml/XpValidator.h -- validation of a document against its DTD, by numbered problems (internal)
#pragma once

#include "xml/XmlHandles.h"
#include "xml/XpNode.h"

#include <functional>

namespace stellik {

// Calls report(code, node, stop) for every problem in document order until stop is set;
// true when there was none. standaloneDefaults: the load took attribute defaults from the
// external subset. prepare (when set) is called for every element just before it is checked
// (see TXpObjModel::ValidateDocument).
bool XpValidate(xmlDoc* doc, bool standaloneDefaults,
                const std::function<void(int, TXpNode, bool&)>& report,
                const std::function<void(TXpNode)>& prepare = {});

} // namespace stellik
