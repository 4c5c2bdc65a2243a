// documents/ReaderText.h -- small pieces of text the test document readers share
#pragma once

#include "xml/XpNode.h"

#include <string>
#include <string_view>
#include <unordered_set>

namespace stellik {

// The XML texts of an element's children joined with nothing between them.
std::u16string ChildrenXmlText(TXpNode element);
// True when element has a child element named "answer" (grandchildren do not count).
bool HasAnswerChild(TXpNode element);
// message, CR LF and the element's XML text: reading errors quote the offending element.
std::string WithElementXml(std::string_view message, TXpNode element);

// The identifier rules shared by questions and sections: value as 8-bit text (the attribute's
// UTF-8, as the document holds it); empty means no identifier (returns empty, taken
// unchanged); a leading digit raises the digit message; one already in taken raises
// duplicateMessage. Otherwise the identifier is added to taken and returned in the wide form
// the model stores.
std::u16string TakeIdentifier(std::string_view value, std::unordered_set<std::u16string>& taken,
                              const char* duplicateMessage);

} // namespace stellik
