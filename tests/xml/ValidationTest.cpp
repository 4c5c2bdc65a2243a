#include "XmlTestSupport.h"

#include "platform/MemoryStream.h"
#include "tests/support/Growth.h"

#include <gtest/gtest.h>

#include <map>

namespace stellik::testing {
namespace {

std::string TestDoc(const std::string& dtd, const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE test SYSTEM \"" + dtd +
           "\">\n<test>" + body + "</test>";
}

std::vector<TProblem> ProblemsOf(const std::string& text, bool stopAtFirst = false) {
    TXpObjModel model;
    SetUpReader(model);
    model.LoadBytes(text);
    return Validate(model, stopAtFirst);
}

const std::vector<TProblem> None;

TEST(TestFormat, QuestionRatingOnlyUnderVersion12) {
    const std::string body =
        "<questions><single rating=\"5\"><answer rating=\"1\" right=\"y\">A</answer>"
        "</single></questions>";
    EXPECT_EQ(ProblemsOf(TestDoc("XTF_v1p0.dtd", body)), (std::vector<TProblem>{{15, u"rating"}}));
    EXPECT_EQ(ProblemsOf(TestDoc("XTF_v1p1.dtd", body)), (std::vector<TProblem>{{15, u"rating"}}));
    EXPECT_EQ(ProblemsOf(TestDoc("XTF_v1p2.dtd", body)), None);
    // The version is picked by file name, letter case aside.
    EXPECT_EQ(ProblemsOf(TestDoc("xtf_V1P2.DTD", body)), None);
}

TEST(TestFormat, AnswerRatingRequiredBeforeVersion12) {
    const std::string bare = "<questions><check><answer>A</answer></check></questions>";
    const std::string withRight =
        "<questions><check><answer right=\"y\">A</answer></check></questions>";
    for (const char* dtd : {"XTF_v1p0.dtd", "XTF_v1p1.dtd"}) {
        EXPECT_EQ(ProblemsOf(TestDoc(dtd, bare)), (std::vector<TProblem>{{10, u"answer"}}));
        EXPECT_EQ(ProblemsOf(TestDoc(dtd, withRight)), (std::vector<TProblem>{{13, u"answer"}}));
    }
    EXPECT_EQ(ProblemsOf(TestDoc("XTF_v1p2.dtd", bare)), None);
}

TEST(TestFormat, SectionNameFrom11On) {
    const std::string body = "<questions><text id=\"q\"><answer rating=\"1\"/></text></questions>"
                             "<selector><section><name>S</name><allout idref=\"q\"/></section>"
                             "</selector>";
    EXPECT_EQ(ProblemsOf(TestDoc("XTF_v1p0.dtd", body)), (std::vector<TProblem>{{8, u"section"}}));
    EXPECT_EQ(ProblemsOf(TestDoc("XTF_v1p1.dtd", body)), None);
    EXPECT_EQ(ProblemsOf(TestDoc("XTF_v1p2.dtd", body)), None);
    EXPECT_EQ(ProblemsOf(TestDoc("anything-else.dtd", body)),
              (std::vector<TProblem>{{8, u"section"}}));
}

TEST(TestFormat, DefaultsAreSuppliedToElementsThatOmitThem) {
    TXpObjModel model;
    SetUpReader(model);
    ASSERT_TRUE(model.LoadBytes(
        TestDoc("XTF_v1p1.dtd", "<questions><single id=\"q1\">Q<table><tr><td>x</td></tr></table>"
                                "<answer rating=\"1\">A</answer></single></questions>"
                                "<selector><section><allout idref=\"q1\"/></section></selector>"
                                "<messages><sectmsg>M</sectmsg></messages>")));
    const TXpNode root = model.DocumentElement();
    const TXpNode single = root.SelectSingleNode(u"questions/single");
    EXPECT_EQ(single.GetAttribute(u"random"), u"y");
    EXPECT_EQ(single.GetAttribute(u"format"), u"custom");
    EXPECT_EQ(single.AttributeAt(0).NodeName(), u"id"); // written ones first
    EXPECT_EQ(root.SelectString(u"selector/section/allout/@random"), u"y");
    EXPECT_EQ(root.SelectString(u"messages/sectmsg/@idref"), u"all");
    EXPECT_EQ(root.SelectString(u"messages/sectmsg/@idrating"), u"all");
    model.SetKeepCharacters(true);
    EXPECT_EQ(root.SelectSingleNode(u"descendant::td").GetXmlText(),
              u"<td rowspan=\"1\" colspan=\"1\">x</td>");
    EXPECT_EQ(Validate(model), None);
}

TEST(Validation, ReportsEachProblemWithItsCodeAndNode) {
    const std::string doc = TestDoc(
        "XTF_v1p0.dtd",
        "<questions><single random=\"maybe\"><answer rating=\"1\" bogus=\"1\">A<p>x<td/></p>"
        "</answer><br>x</br><wild/></single></questions>");
    EXPECT_EQ(
        ProblemsOf(doc),
        (std::vector<TProblem>{
            {12, u"random"}, {15, u"bogus"}, {7, u"td"}, {6, u"br"}, {7, u"wild"}, {5, u"wild"}}));
    // Stop after the first: only that one is reported.
    EXPECT_EQ(ProblemsOf(doc, true), (std::vector<TProblem>{{12, u"random"}}));

    EXPECT_EQ(ProblemsOf("<test/>"), (std::vector<TProblem>{{1, u""}}));
    EXPECT_EQ(ProblemsOf("<!DOCTYPE test SYSTEM \"XTF_v1p0.dtd\"><questions><box><answer "
                         "rating=\"1\"/></box></questions>"),
              (std::vector<TProblem>{{4, u""}}));
    // A bare questions element under a document type of its name is valid.
    EXPECT_EQ(ProblemsOf("<!DOCTYPE questions SYSTEM \"XTF_v1p0.dtd\"><questions><box><answer "
                         "rating=\"1\"/></box></questions>"),
              None);
    EXPECT_EQ(ProblemsOf(TestDoc("XTF_v1p0.dtd", "<selector><section><unknown/></section>"
                                                 "</selector>")),
              (std::vector<TProblem>{{9, u"section"}, {5, u"unknown"}}));
    EXPECT_EQ(ProblemsOf(TestDoc("XTF_v1p0.dtd", "<selector/>")),
              (std::vector<TProblem>{{8, u"selector"}}));
    EXPECT_EQ(ProblemsOf(TestDoc("XTF_v1p0.dtd", "<selector>text<section/></selector>")),
              (std::vector<TProblem>{{8, u"selector"}}));
    EXPECT_EQ(ProblemsOf("<?xml version=\"1.0\" standalone=\"yes\"?>"
                         "<!DOCTYPE test SYSTEM \"XTF_v1p0.dtd\"><test><questions><single>"
                         "<answer rating=\"1\"/></single></questions></test>"),
              (std::vector<TProblem>{{14, u""}}));
    EXPECT_EQ(ProblemsOf("<!DOCTYPE a [<!ELEMENT a EMPTY><!ATTLIST a v CDATA #FIXED \"1\">]>"
                         "<a v=\"2\"/>"),
              (std::vector<TProblem>{{11, u"v"}}));
}

TEST(Validation, EachElementIsPreparedJustBeforeItIsCheckedEvenAfterAStop) {
    const std::string doc = "<!DOCTYPE r [<!ELEMENT r (a, b)><!ELEMENT a (#PCDATA)>"
                            "<!ELEMENT b EMPTY><!ATTLIST a v (x|y) #IMPLIED>]>"
                            "<r><a v=\"z\">1</a><b><gone/></b><c/></r>";
    for (bool stop : {false, true}) {
        TXpObjModel model;
        ASSERT_TRUE(model.LoadBytes(doc));
        std::vector<std::u16string> prepared;
        std::vector<TProblem> problems;
        model.OnInvalidDocument = [&](int code, TXpNode node, bool& stopNow) {
            problems.push_back({code, node.NodeName()});
            stopNow = stop;
        };
        const bool valid = model.ValidateDocument([&](TXpNode element) {
            prepared.push_back(element.NodeName());
            if (element.NodeName() == u"a") {
                element.SetAttribute(u"v", u"x"); // put right before the check sees it
            }
            if (element.NodeName() == u"b") {
                element.RemoveChild(element.FirstChild()); // neither prepared nor checked
            }
        });
        EXPECT_FALSE(valid);
        EXPECT_EQ(prepared, (std::vector<std::u16string>{u"r", u"a", u"b", u"c"})) << stop;
        // The undeclared c spoils r's content; a and b are put right in time.
        const std::vector<TProblem> all = {{9, u"r"}, {5, u"c"}};
        EXPECT_EQ(problems, stop ? std::vector<TProblem>{all[0]} : all);
    }
}

TEST(Validation, LargeTestsLoadAndValidateInTimeLinearInTheirSize) {
    std::map<size_t, std::string> documents;
    for (size_t count : {1250, 5000}) {
        std::string body = "<questions>";
        for (size_t i = 0; i < count; ++i) {
            const std::string id = std::to_string(i);
            body += "<single id=\"q" + id + "\"><p>Вопрос <b>" + id +
                    "</b></p><answer rating=\"1\" right=\"y\">Да</answer>"
                    "<answer rating=\"0\">Нет</answer></single>";
        }
        body += "</questions><selector><section><allout idref=\"q1 q2\"/></section></selector>";
        documents[count] = TestDoc("XTF_v1p2.dtd", body);
    }
    const auto loadAndValidate = [&](size_t count) {
        TXpObjModel model;
        SetUpReader(model);
        ASSERT_TRUE(model.LoadBytes(documents.at(count)));
        EXPECT_EQ(Validate(model), None);
        EXPECT_EQ(model.DocumentElement().SelectNodes(u"descendant::answer").Length(), 2 * count);
    };
    EXPECT_TRUE(ScalesLinearly(BestCpuSeconds(loadAndValidate), 1250));
}

} // namespace
} // namespace stellik::testing
