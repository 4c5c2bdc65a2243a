// tests/resources/StyleKit.h -- the page stylesheet applied to a page document, and the HTML
// that comes out read back with an HTML parser and XPath
#pragma once

#include "xml/XmlHandles.h"

#include <string>
#include <utility>
#include <vector>

namespace stellik::testing {

using TParams = std::vector<std::pair<std::string, std::string>>; // name, value

// The HTML of pageXml (UTF-8 text, as the shell's page document holds it: text as written)
// under the stylesheet of the resources folder with params set. When savedAs is given the
// HTML is also written to pages/<savedAs>.html of the build folder, for people to look at.
std::string Transform(const std::string& pageXml, const TParams& params = {},
                      const std::string& savedAs = "");

// A page as a browser reads it.
class THtml {
public:
    explicit THtml(const std::string& html);

    int Count(const std::string& xpath) const;
    // XPath string() of the expression: the first node's text, "" when none.
    std::string Text(const std::string& xpath) const;
    // The text of every node found, in document order.
    std::vector<std::string> Texts(const std::string& xpath) const;
    // The body's text with runs of white space made one space and the ends trimmed.
    std::string BodyText() const;

    const std::string& Source() const { return Html; }

private:
    std::string Html;
    XmlDocPtr Doc;
};

// The cells of the "label:  value" rows of the stop page and the report.
inline const std::string ResultCells =
    "//tr[count(td)=2][substring(normalize-space(td[1]), string-length(normalize-space(td[1])))"
    "=':']/td";

// Shorthand: U+00A0, as the pages carry it.
inline const std::string Nbsp = "\u00A0";

inline std::string Repeat(const std::string& text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) {
        repeated += text;
    }
    return repeated;
}

} // namespace stellik::testing
