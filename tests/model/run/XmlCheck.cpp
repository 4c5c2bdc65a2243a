#include "XmlCheck.h"

#include <libxml/parser.h>
#include <libxml/xpath.h>

namespace stellik::testing {

namespace {

struct XPathContextFree {
    void operator()(xmlXPathContext* context) const noexcept { xmlXPathFreeContext(context); }
};
struct XPathObjectFree {
    void operator()(xmlXPathObject* object) const noexcept { xmlXPathFreeObject(object); }
};
using XPathObjectPtr = std::unique_ptr<xmlXPathObject, XPathObjectFree>;

XPathObjectPtr Evaluate(xmlDoc* doc, const std::string& expression) {
    std::unique_ptr<xmlXPathContext, XPathContextFree> context(xmlXPathNewContext(doc));
    return XPathObjectPtr(xmlXPathEvalExpression(
        reinterpret_cast<const xmlChar*>(expression.c_str()), context.get()));
}

void PutUnit(std::string& bytes, char16_t unit) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
}

} // namespace

std::string SaveAsUtf16(const TWideStrings& lines) {
    std::string bytes;
    PutUnit(bytes, 0xFEFF);
    for (const std::u16string& line : lines) {
        for (char16_t unit : line) {
            PutUnit(bytes, unit);
        }
        PutUnit(bytes, u'\r');
        PutUnit(bytes, u'\n');
    }
    return bytes;
}

XmlDocPtr ParseLines(const TWideStrings& lines) {
    const std::string bytes = SaveAsUtf16(lines);
    return XmlDocPtr(xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                   XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING));
}

std::string XPathText(xmlDoc* doc, const std::string& expression) {
    XPathObjectPtr result = Evaluate(doc, "normalize-space(" + expression + ")");
    if (!result || result->type != XPATH_STRING || result->stringval == nullptr) {
        return {};
    }
    return reinterpret_cast<const char*>(result->stringval);
}

double XPathNumber(xmlDoc* doc, const std::string& expression) {
    XPathObjectPtr result = Evaluate(doc, "number(" + expression + ")");
    return result ? result->floatval : -1;
}

} // namespace stellik::testing
