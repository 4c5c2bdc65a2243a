#include "StyleKit.h"

#include "platform/Unicode.h"
#include "xml/XpObjModel.h"
#include "xml/XpXslProcessor.h"

#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace stellik::testing {

namespace {

const std::string& StyleText() {
    static const std::string text = [] {
        std::ifstream file(std::string(STELLIK_SOURCE_DIR) + "/resources/view_style.xsl",
                           std::ios::binary);
        std::ostringstream bytes;
        bytes << file.rdbuf();
        return bytes.str();
    }();
    return text;
}

XmlXPathObjectPtr Eval(xmlDoc* doc, const std::string& xpath) {
    XmlXPathContextPtr context(xmlXPathNewContext(doc));
    XmlXPathObjectPtr result(xmlXPathEvalExpression(ToXmlChar(xpath), context.get()));
    EXPECT_TRUE(result) << "bad XPath: " << xpath;
    return result;
}

} // namespace

std::string Transform(const std::string& pageXml, const TParams& params,
                      const std::string& savedAs) {
    TXpXSLProcessor processor;
    processor.StyleData(StyleText());
    for (const auto& [name, value] : params) {
        processor.SetParameter(Utf8ToUtf16(name), Utf8ToUtf16(value));
    }
    TXpObjModel page;
    page.SetNormalizeData(false);
    EXPECT_TRUE(page.LoadBytes(pageXml))
        << (page.GetErrors().empty() ? "" : page.GetErrors().front()) << "\n"
        << pageXml;
    EXPECT_TRUE(processor.ApplyStyle(page)) << processor.GetErrors();
    const std::string html = processor.Filter.GetHtml();
    if (!savedAs.empty()) {
        std::filesystem::create_directories(STELLIK_PAGES_DIR);
        std::ofstream(std::string(STELLIK_PAGES_DIR) + "/" + savedAs + ".html", std::ios::binary)
            << html;
    }
    return html;
}

THtml::THtml(const std::string& html)
    : Html(html),
      Doc(htmlReadMemory(html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
                         HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET)) {
    EXPECT_TRUE(Doc) << html;
}

int THtml::Count(const std::string& xpath) const {
    XmlXPathObjectPtr result = Eval(Doc.get(), xpath);
    return result && result->nodesetval ? result->nodesetval->nodeNr : 0;
}

std::string THtml::Text(const std::string& xpath) const {
    XmlXPathObjectPtr result = Eval(Doc.get(), "string(" + xpath + ")");
    return result ? FromXmlChar(result->stringval) : "";
}

std::vector<std::string> THtml::Texts(const std::string& xpath) const {
    std::vector<std::string> texts;
    XmlXPathObjectPtr result = Eval(Doc.get(), xpath);
    if (!result || !result->nodesetval) {
        return texts;
    }
    for (int i = 0; i < result->nodesetval->nodeNr; ++i) {
        XmlCharPtr text(xmlNodeGetContent(result->nodesetval->nodeTab[i]));
        texts.emplace_back(FromXmlChar(text.get()));
    }
    return texts;
}

std::string THtml::BodyText() const {
    return Text("normalize-space(/html/body)");
}

} // namespace stellik::testing
