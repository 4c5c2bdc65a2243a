// xml/XpParser.h -- libxml2 driven by the layer's rules (internal)
#pragma once

#include "xml/XmlHandles.h"

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace stellik {

struct TXpParseOutcome {
    XmlDocPtr Doc;      // null on failure
    std::string Error;  // the first error, with its place
    std::string Reason; // the same without the place
    int Line = 0;       // libxml2 counts lines by LF alone and positions in a line by characters
    int Column = 0;
    bool OtherEntity = false;     // the place is in another entity than the text (the external DTD)
    std::exception_ptr HookError; // an exception of the DTD hook, to be passed on
    bool DefaultsFromExternal = false; // a default attribute came from the external subset
};

// Parses UTF-8 text (the encoding declaration is not looked at). Element and attribute
// names are kept literally, DTD defaults are added to the elements that omit them, and
// with normalize the text nodes are normalised (see TXpObjModel). Texts and CDATA sections
// may be of any size; entity references may produce a few times the input's size of text,
// and elements nest at most 256 deep.
TXpParseOutcome XpParseUtf8(std::string_view utf8,
                            const std::function<std::string(const std::string&)>& dtdRequest,
                            bool normalize);

// While alive, libxml2's external entity loader refuses every request; outside, it refuses
// network access (installed once for the process).
class TXpEntityGuard {
public:
    TXpEntityGuard();
    ~TXpEntityGuard();
    TXpEntityGuard(const TXpEntityGuard&) = delete;
    TXpEntityGuard& operator=(const TXpEntityGuard&) = delete;
};

} // namespace stellik
