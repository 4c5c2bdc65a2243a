#include "shell/TransformProcessor.h"

#include "platform/Exception.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"
#include "shell/OutputDocument.h"
#include "shell/PageTree.h"
#include "shell/PseudoHosts.h"

namespace stellik {

TTransformProcessor::TTransformProcessor() {
    PageModel.SetNormalizeData(false); // text stays as written
    PageModel.SetOutCharSet(ceUTF8);
}

void TTransformProcessor::NewDocument() {
    PageModel.ClearDocument();
    PageModel.Document().AppendChild(
        PageModel.CreateProcessingInstruction(u"xml", PageDeclarationData));
}

void TTransformProcessor::FixImageLinks(TXpNode root, const std::string& base) {
    PrefixAttributes(root, "src", base + "/");
}

void TTransformProcessor::ApplyStyle() {
    // Prepared once: the resource cannot change while the program runs.
    if (!XslProcessor.HasStyle()) {
        XslProcessor.StyleData(TResources::Get("VIEW_STYLE"));
    }
    if (!XslProcessor.ApplyStyle(PageModel)) {
        throw Exception("Cannot Apply XSL stylesheet");
    }
}

void TTransformProcessor::Transform(const TXslParams* params) {
    FixImageLinks(PageModel.DocumentElement(), std::string(ContentHost));
    if (params != nullptr) {
        for (const auto& [name, value] : *params) {
            XslProcessor.SetParameter(Utf8ToUtf16(name), Utf8ToUtf16(value));
        }
    }
    ApplyStyle();
}

} // namespace stellik
