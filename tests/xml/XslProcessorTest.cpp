#include "platform/Exception.h"
#include "platform/MemoryStream.h"
#include "platform/Unicode.h"
#include "tests/support/ScratchFolder.h"
#include "xml/XpObjModel.h"
#include "xml/XpXslProcessor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace stellik::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* XslHead =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\"";

// A stylesheet whose only template is body (inside <xsl:template match="/">).
std::string Sheet(const std::string& body, const std::string& top = "",
                  const std::string& namespaces = "") {
    return std::string(XslHead) + namespaces + ">" + top + "<xsl:template match=\"/\">" + body +
           "</xsl:template></xsl:stylesheet>";
}

void Load(TXpObjModel& model, const std::string& xml) {
    model.SetNormalizeData(false);
    ASSERT_TRUE(model.LoadBytes(xml));
}

// The HTML of one transformation of doc; fails the test when the transformation fails.
std::string Html(TXpXSLProcessor& processor, const std::string& doc = "<page/>") {
    TXpObjModel model;
    Load(model, doc);
    EXPECT_TRUE(processor.ApplyStyle(model)) << processor.GetErrors();
    return processor.Filter.GetHtml();
}

// A folder of its own for files a test writes or offers to a stylesheet.
class TScratch {
public:
    std::string File(const std::string& name, const std::string& text = "") const {
        if (!text.empty()) {
            Folder.Write(name, text);
        }
        return Folder / name;
    }

private:
    TScratchFolder Folder;
};

TEST(XslStyle, TextThatIsNoStylesheetIsRefusedAndKeepsNothing) {
    const std::vector<std::string> texts = {"", "<html/>", "<xsl:stylesheet",
                                            Sheet("<xsl:value-of select=\"(\"/>")};
    for (const std::string& text : texts) {
        TXpXSLProcessor processor;
        try {
            processor.StyleData(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Cannot Apply XSL stylesheet");
        }
        EXPECT_FALSE(processor.HasStyle());
        TXpObjModel model;
        Load(model, "<page/>");
        EXPECT_FALSE(processor.ApplyStyle(model));
    }
}

TEST(XslStyle, SignatureIsAllowedAndAnEmptyDocumentIsNotTransformed) {
    TXpXSLProcessor processor;
    processor.StyleData("\xEF\xBB\xBF" + Sheet("<p>x</p>"));
    ASSERT_TRUE(processor.HasStyle());
    TXpObjModel empty;
    EXPECT_FALSE(processor.ApplyStyle(empty));
    EXPECT_EQ(Html(processor), "<p>x</p>");
}

TEST(XslParameters, StayUntilReplacedAcrossPagesAndStylesheets) {
    const std::string top = "<xsl:param name=\"a\" select=\"'da'\"/>"
                            "<xsl:param name=\"b\" select=\"'db'\"/>";
    TXpXSLProcessor processor;
    processor.StyleData(Sheet("<p><xsl:value-of select=\"concat($a, '|', $b)\"/></p>", top));
    EXPECT_EQ(Html(processor), "<p>da|db</p>");
    processor.SetParameter(u"a", u"1");
    EXPECT_EQ(Html(processor), "<p>1|db</p>");
    EXPECT_EQ(Html(processor, "<other>text</other>"), "<p>1|db</p>");
    processor.SetParameter(u"b", u"0");
    processor.SetParameter(u"a", u"2");
    EXPECT_EQ(Html(processor), "<p>2|0</p>");
    processor.SetParameter(u"unknown", u"x"); // not declared: no harm
    EXPECT_EQ(Html(processor), "<p>2|0</p>");
    processor.StyleData(Sheet("<i><xsl:value-of select=\"$a\"/></i>", top));
    EXPECT_EQ(Html(processor), "<i>2</i>");
}

TEST(XslParameters, ValuesAreTextWhateverQuotesOrXPathTheyHold) {
    TXpXSLProcessor processor;
    processor.StyleData(
        Sheet("<p><xsl:value-of select=\"$v\"/></p>", "<xsl:param name=\"v\" select=\"''\"/>"));
    for (const std::string value : {"it's \"quoted\"", "'", "\"", "concat('a', \"b\")",
                                    "') or document('/etc/passwd", "Пропустить & <b>"}) {
        processor.SetParameter(u"v", Utf8ToUtf16(value));
        std::string expected;
        for (char c : value) {
            expected += c == '&'   ? "&amp;"
                        : c == '<' ? "&lt;"
                        : c == '>' ? "&gt;"
                                   : std::string(1, c);
        }
        EXPECT_EQ(Html(processor), "<p>" + expected + "</p>") << value;
    }
}

TEST(XslSecurity, DocumentFunctionReadsNoFileAndNoNetwork) {
    TScratch scratch;
    const std::string secret = scratch.File("secret.xml", "<secret>inside</secret>");
    const std::vector<std::string> uris = {"file:///etc/passwd", secret, "file://" + secret,
                                           "http://127.0.0.1:9/page.xml"};
    for (const std::string& uri : uris) {
        TXpXSLProcessor processor;
        processor.StyleData(Sheet("<p><xsl:value-of select=\"document('" + uri + "')\"/>end</p>"));
        TXpObjModel model;
        Load(model, "<page/>");
        EXPECT_FALSE(processor.ApplyStyle(model)) << uri;
        EXPECT_EQ(processor.Filter.GetHtml().find("inside"), std::string::npos);
    }
}

TEST(XslSecurity, NoStylesheetWritesAFile) {
    TScratch scratch;
    const std::string target = scratch.File("written.html");
    const std::string exsl = " xmlns:exsl=\"http://exslt.org/common\""
                             " extension-element-prefixes=\"exsl\"";
    const struct {
        const char* Name;
        std::string Text;
    } cases[] = {
        {"xsl:document",
         Sheet("<xsl:document href=\"" + target + "\"><p>out</p></xsl:document><p>x</p>")},
        {"exsl:document",
         Sheet("<exsl:document href=\"" + target + "\"><p>out</p></exsl:document><p>x</p>", "",
               exsl)},
    };
    for (const auto& c : cases) {
        TXpXSLProcessor processor;
        processor.StyleData(c.Text);
        TXpObjModel model;
        Load(model, "<page/>");
        EXPECT_FALSE(processor.ApplyStyle(model)) << c.Name;
        EXPECT_FALSE(fs::exists(target)) << c.Name;
    }
}

TEST(XslSecurity, StylesheetTextPullsInNoOtherFile) {
    TScratch scratch;
    const std::string part = scratch.File("part.xsl", Sheet("<p>included</p>"));
    const std::string entityTarget = scratch.File("entity.txt", "from the file");
    for (const std::string instruction : {"import", "include"}) {
        TXpXSLProcessor processor;
        EXPECT_THROW(processor.StyleData(std::string(XslHead) + "><xsl:" + instruction +
                                         " href=\"" + part + "\"/></xsl:stylesheet>"),
                     Exception)
            << instruction;
    }
    // An external entity is neither read nor substituted.
    TXpXSLProcessor processor;
    const std::string withEntity =
        "<?xml version=\"1.0\"?><!DOCTYPE xsl:stylesheet [<!ENTITY e SYSTEM \"file://" +
        entityTarget +
        "\">]><xsl:stylesheet version=\"1.0\" "
        "xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
        "<xsl:template match=\"/\"><p>&e;</p></xsl:template></xsl:stylesheet>";
    try {
        processor.StyleData(withEntity);
        TXpObjModel model;
        Load(model, "<page/>");
        processor.ApplyStyle(model);
        EXPECT_EQ(processor.Filter.GetHtml().find("from the file"), std::string::npos);
    } catch (const Exception&) {
        // refusing the stylesheet is just as good
    }
}

TEST(XslHtmlFilter, PlainHtmlUtf8WithoutAddedFormatting) {
    TXpXSLProcessor processor;
    processor.StyleData(
        Sheet("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\"/>"
              "</head><body bgcolor=\"#758DB0\"><table><tr><td/><td>Тест&#160;№1</td></tr></table>"
              "<br/><img src=\"startbtn_gif\" border=\"0\"/><input type=\"radio\" name=\"ANSW/1\" "
              "value=\"2\"/><p><xsl:value-of select=\"page\"/></p></body></html>"));
    const std::string html = Html(processor, "<page>a &lt; b &amp; ё</page>");
    EXPECT_EQ(html, "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                    "charset=utf-8\"></head><body bgcolor=\"#758DB0\"><table><tr><td></td>"
                    "<td>Тест\u00A0№1</td></tr></table><br><img src=\"startbtn_gif\" border=\"0\">"
                    "<input type=\"radio\" name=\"ANSW/1\" value=\"2\"><p>a &lt; b &amp; ё</p>"
                    "</body></html>");

    TMemoryStream stream;
    stream.Write("ab");
    processor.Filter.SaveToStream(stream);
    EXPECT_EQ(stream.View(), "ab" + html); // at the position, no signature
}

} // namespace
} // namespace stellik::testing
