// model/XmlChars.h -- keeping typed text inside the characters an XML document may hold
#pragma once

#include <string>
#include <string_view>

namespace stellik {

// XML 1.0 cannot carry some characters at all, not even as character references:
// controls below 0x20 other than TAB, LF and CR, a surrogate without its partner, and
// U+FFFE / U+FFFF.
// Drops every such character and keeps the rest as it is (surrogate pairs stay whole).
std::u16string DropNonXmlChars(std::u16string_view text);

} // namespace stellik
