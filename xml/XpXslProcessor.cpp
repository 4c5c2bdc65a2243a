#include "xml/XpXslProcessor.h"

#include "platform/Exception.h"
#include "platform/Unicode.h"
#include "xml/XmlHandles.h"
#include "xml/XpFilterHtml.h"
#include "xml/XpObjModel.h"
#include "xml/XpXslErrors.h"
#include "xml/XpXslHandles.h"
#include "xml/XpXslSecurity.h"

#include <libxslt/variables.h>
#include <libxslt/xsltutils.h>

#include <climits>

namespace stellik {

namespace {

constexpr const char* CannotApply = "Cannot Apply XSL stylesheet";

// The stylesheet text reaches no file or network either: no DTD is loaded and no external
// entity is read while it is parsed.
constexpr int StyleParseOptions =
    XML_PARSE_NONET | XML_PARSE_NOCDATA | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

} // namespace

struct TXpXSLProcessor::TImpl {
    XsltStylesheetPtr Style;
};

TXpXSLProcessor::TXpXSLProcessor() : Impl(std::make_unique<TImpl>()) {
    XpForbiddingSecurityPrefs(); // in force before any stylesheet is compiled
}

TXpXSLProcessor::~TXpXSLProcessor() = default;

void TXpXSLProcessor::StyleData(std::string_view text) {
    Errors.clear();
    if (text.size() > static_cast<size_t>(INT_MAX)) {
        throw Exception(CannotApply);
    }
    TXpErrorCapture capture(Errors);
    XmlDocPtr doc(xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr,
                                StyleParseOptions));
    if (!doc) {
        throw Exception(CannotApply);
    }
    XsltStylesheetPtr style(xsltParseStylesheetDoc(doc.get()));
    if (style) {
        doc.release(); // the stylesheet owns its document from now on
    }
    if (!style || style->errors != 0) {
        throw Exception(CannotApply);
    }
    Impl->Style = std::move(style);
}

bool TXpXSLProcessor::HasStyle() const {
    return Impl->Style != nullptr;
}

void TXpXSLProcessor::SetParameter(const std::u16string& name, const std::u16string& value) {
    Parameters[Utf16ToUtf8(name)] = Utf16ToUtf8(value);
}

bool TXpXSLProcessor::ApplyStyle(const TXpObjModel& model) {
    Errors.clear();
    xsltStylesheet* style = Impl->Style.get();
    xmlDoc* input = model.Handle();
    if (!style || !input || !xmlDocGetRootElement(input)) {
        return false;
    }
    TXpErrorCapture capture(Errors);
    XsltTransformContextPtr context(xsltNewTransformContext(style, input));
    if (!context) {
        return false;
    }
    xsltSetTransformErrorFunc(context.get(), &Errors, &TXpErrorCapture::Append);
    XpForbidAccess(context.get());
    // Values are taken as strings, never evaluated as XPath, so any quotes are safe.
    for (const auto& [name, value] : Parameters) {
        if (xsltQuoteOneUserParam(context.get(), ToXmlChar(name), ToXmlChar(value)) != 0) {
            return false;
        }
    }
    XmlDocPtr result(
        xsltApplyStylesheetUser(style, input, nullptr, nullptr, nullptr, context.get()));
    if (!result || context->state == XSLT_STATE_ERROR || context->state == XSLT_STATE_STOPPED) {
        return false;
    }
    Filter.SetHtml(XpHtmlText(result.get()));
    return true;
}

} // namespace stellik
