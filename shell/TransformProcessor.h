// shell/TransformProcessor.h -- the page document, the page stylesheet and the HTML output
#pragma once

#include "xml/XpNode.h"
#include "xml/XpObjModel.h"
#include "xml/XpXslProcessor.h"

#include <string>
#include <utility>
#include <vector>

namespace stellik {

using TXslParams = std::vector<std::pair<std::string, std::string>>; // name=value lines

class TTransformProcessor {
public:
    TTransformProcessor(); // DataModuleCreate

    // Empties the page document and gives it the declaration version="1.0" encoding="utf-8".
    void NewDocument();
    // Every "src" attribute of the document becomes base + "/" + its value, "%" and "#"
    // escaped so that the view, which decodes URLs, asks for the name as it was.
    static void FixImageLinks(TXpNode root, const std::string& base);
    // Runs the page stylesheet (the resource "VIEW_STYLE", compiled once on first use) over
    // the page document; "Cannot Apply XSL stylesheet" when that fails.
    void ApplyStyle();
    // FixImageLinks with the content pseudo-host, the parameters (kept for later pages),
    // ApplyStyle.
    void Transform(const TXslParams* params);

    TXpObjModel PageModel;
    TXpXSLProcessor XslProcessor;
    TXpFilterHTML& HtmlFilter() { return XslProcessor.Filter; }
};

} // namespace stellik
