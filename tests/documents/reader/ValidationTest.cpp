// Validation of whole documents: the first problem's message, table markup taken out first.
#include "ReaderKit.h"

#include "platform/Unicode.h"
#include "xml/XpErrors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const std::string Single = "<single><answer rating=\"1\" right=\"y\">a</answer></single>";

struct TInvalidCase {
    const char* Name;
    std::string Document;
    std::string Message;
};

TEST(Validation, EachProblemRaisesItsMessageAndNothingIsRead) {
    const std::vector<TInvalidCase> cases = {
        {"no document type", "<?xml version=\"1.0\"?><test><name>x</name></test>",
         "Document does not contain or reference a DTD."},
        {"root differs from the type",
         "<!DOCTYPE test SYSTEM \"XTF_v1p2.dtd\"><questions>" + Single + "</questions>",
         "Document name does not match DTD name."},
        {"undeclared element", "<!DOCTYPE foo SYSTEM \"XTF_v1p2.dtd\"><foo/>",
         "Element 'foo' not defined in the DTD."},
        {"content model that cannot be built",
         "<!DOCTYPE x [<!ELEMENT x ((a,b)|(a,c))><!ELEMENT a EMPTY><!ELEMENT b EMPTY>"
         "<!ELEMENT c EMPTY>]><x><a/><b/></x>",
         "Bad DTD structure."},
        {"standalone document using external defaults",
         "<?xml version=\"1.0\" standalone=\"yes\"?>" + QuestionsXml(Single).substr(38),
         "Unknown validation error 14, node ''"},
        {"undeclared child", TestXml("<name>x</name><foo/>"),
         "Element 'test' contains a child element that is not defined in the DTD."},
        {"empty element with content", QuestionsXml("<single>a<br>b</br></single>"),
         "Element 'br' is declared as empty but is not empty."},
        {"element outside mixed content", QuestionsXml("<single><b><p>x</p></b></single>"),
         "Element 'p' not allowed as a child element of 'b'."},
        {"children against the model",
         TestXml("<questions>" + Single + "</questions><name>x</name>"),
         "Element 'test' is missing a required child element."},
        {"required attributes, none given", QuestionsXml("<single><img/></single>"),
         "Element 'img' is defined as having attributes in the DTD but does not contain any "
         "attributes in the document."},
        {"fixed value",
         "<!DOCTYPE test SYSTEM \"XTF_v1p2.dtd\" [<!ATTLIST test v CDATA #FIXED \"a\">]>"
         "<test v=\"b\"/>",
         "Attribute 'v' of element 'test' is assigned a fixed value in the DTD but is assigned "
         "a different value in the document."},
        {"value outside the enumeration", QuestionsXml("<single random=\"Y\"/>"),
         "Attribute 'random' is not an enumerated value."},
        {"required attribute missing",
         QuestionsXml("<single><answer right=\"y\">a</answer></single>", "", "XTF_v1p0.dtd"),
         "Required attribute 'answer' but not present."},
        {"undeclared attribute", QuestionsXml("<single weight=\"2\"/>"),
         "Attribute 'weight' was not expected."},
    };
    for (const TInvalidCase& c : cases) {
        TReaderKit kit;
        EXPECT_EQ(kit.Error(c.Document), c.Message) << c.Name;
        EXPECT_EQ(kit.Parser.GetErrorText(), c.Message) << c.Name;
        EXPECT_EQ(kit.Doc.Name, u"") << c.Name;
        EXPECT_EQ(kit.Doc.Questions.GetCount(), 0) << c.Name;
    }
}

TEST(Validation, OnlyTheFirstOfTwoProblemsIsReported) {
    TReaderKit kit;
    EXPECT_EQ(kit.Error(QuestionsXml("<single random=\"Y\"/><check weight=\"1\"/>")),
              "Attribute 'random' is not an enumerated value.");
}

TEST(Validation, VersionsDifferOnlyWhereTheirDtdsDo) {
    const std::string rated = "<single rating=\"2\"><answer rating=\"1\">a</answer></single>";
    const std::string unrated = "<single><answer right=\"y\">a</answer></single>";
    const std::string named =
        "<selector><section><name>S</name><allout idref=\"1\"/></section></selector>";
    for (const char* dtd : {"XTF_v1p0.dtd", "XTF_v1p1.dtd"}) {
        TReaderKit kit;
        EXPECT_EQ(kit.Error(QuestionsXml(rated, "", dtd)), "Attribute 'rating' was not expected.")
            << dtd;
        EXPECT_NE(TReaderKit().Error(QuestionsXml(unrated, "", dtd)), "") << dtd;
    }
    EXPECT_NE(TReaderKit().Error(QuestionsXml(Single, named, "XTF_v1p0.dtd")), "");
    EXPECT_EQ(TReaderKit().Error(QuestionsXml(Single, named, "XTF_v1p1.dtd")), "");

    TReaderKit v12;
    v12.Read(QuestionsXml(rated + unrated, named, "xtf_V1P2.DTD"));
    EXPECT_EQ(v12.Requests, std::vector<std::u16string>{u"XTF_v1p2.dtd"});
    EXPECT_EQ(v12.Doc.Questions.GetItem(0).QuestionPoints, 2);
    EXPECT_EQ(v12.Doc.Questions.GetItem(1).Answers.GetItem(0).Points, 0);
    EXPECT_EQ(v12.Doc.Sections.GetItem(0).Name, u"S");
}

TEST(Validation, TableMarkupOutsideTheDtdIsTakenOutFirst) {
    TReaderKit kit;
    kit.Read(QuestionsXml(
        "<single random=\"n\"><table><caption>c</caption>"
        "<tr align=\"char\" valign=\"baseline\" char=\".\" charoff=\"1\" bgcolor=\"red\">"
        "<td align=\"justify\" valign=\"baseline\" char=\".\" charoff=\"2\">x</td>"
        "<td align=\"center\" valign=\"middle\">y</td></tr></table></single>"));
    const std::string text = Utf16ToUtf8(kit.Doc.Questions.GetItem(0).Content.GetText());
    EXPECT_THAT(text, HasSubstr("<table><tr bgcolor=\"red\"><td "));
    EXPECT_THAT(text, Not(HasSubstr("caption")));
    EXPECT_THAT(text, Not(HasSubstr("char")));
    EXPECT_THAT(text, Not(HasSubstr("justify")));
    EXPECT_THAT(text, HasSubstr("valign=\"top\""));
    EXPECT_THAT(text, HasSubstr("align=\"center\" valign=\"middle\""));

    // A caption holding a table with a caption of its own goes as one piece.
    TReaderKit nested;
    nested.Read(QuestionsXml("<single><table><caption>c<table><caption>d</caption><tr><td>z</td>"
                             "</tr></table></caption><tr><td>x</td></tr></table></single>"));
    EXPECT_EQ(Utf16ToUtf8(nested.Doc.Questions.GetItem(0).Content.GetText()),
              "<table><tr><td rowspan=\"1\" colspan=\"1\">x</td></tr></table>");

    // Only the exact values are taken out; another letter case stays and fails validation.
    EXPECT_EQ(TReaderKit().Error(QuestionsXml(
                  "<single><table><tr><td align=\"Justify\">x</td></tr></table></single>")),
              "Attribute 'align' is not an enumerated value.");
}

TEST(Validation, DocumentsThatCannotBeParsedRaiseTheParsersError) {
    TReaderKit kit;
    EXPECT_NE(kit.Error(TestXml("<name>x</nam>")), "");
    EXPECT_EQ(kit.Doc.Name, u"");
    TReaderKit missing;
    missing.Parser.OnDTDRequest = [](TTestParserObj&, std::u16string& name) {
        name = u"/nonexistent/" + name;
    };
    EXPECT_NE(missing.Error(TestXml("<name>x</name>")), "");
    EXPECT_EQ(missing.Doc.Name, u"");
}

TEST(Validation, AControlCharacterIsTheFilterErrorWhateverTheEncoding) {
    // One letter before the control, in each encoding's own bytes.
    for (const auto& [encoding, letter] :
         {std::pair{"UTF-8", "\xD0\x96"}, std::pair{"windows-1251", "\xC6"},
          std::pair{"ISO-8859-1", "\xC0"}}) {
        TReaderKit kit;
        const std::string xml = "<?xml version=\"1.0\" encoding=\"" + std::string(encoding) +
                                "\"?>\n<!DOCTYPE test SYSTEM \"XTF_v1p2.dtd\">\n"
                                "<test><name>" +
                                letter + "\x01</name></test>";
        try {
            kit.Read(xml);
            ADD_FAILURE() << "no error for " << encoding;
        } catch (const EXpFilterError& e) {
            EXPECT_STREQ(e.what(), "Invalid XML Character found (line 3, position 14)") << encoding;
            EXPECT_EQ(e.GetLine(), 3) << encoding;
            EXPECT_EQ(e.GetLinePos(), 14) << encoding;
        }
    }
}

TEST(Validation, ATextAboveTenMegabytesIsRead) {
    std::string text(11 << 20, 'x');
    for (size_t i = 100; i < text.size(); i += 101) {
        text[i] = ' ';
    }
    TReaderKit kit;
    kit.Read(TestXml("<abstract>" + text + "</abstract><questions><single><p><![CDATA[" + text +
                     "]]></p><answer rating=\"1\">a</answer></single></questions>"));
    ASSERT_EQ(kit.Doc.Abstract.size(), 1u);
    EXPECT_EQ(kit.Doc.Abstract[0].size(), text.size());
    ASSERT_EQ(kit.Doc.Questions.GetCount(), 1);
    EXPECT_GT(kit.Doc.Questions.GetItem(0).Content.GetText().size(), text.size());
}

} // namespace
} // namespace stellik::testing
