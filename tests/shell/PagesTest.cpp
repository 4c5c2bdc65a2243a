// Page documents, the stylesheet and the pages each builder shows.
#include "ShellKit.h"

#include "documents/UserSettings.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"
#include "shell/OutputDocument.h"
#include "shell/PageTree.h"
#include "shell/ResultsDocument.h"
#include "shell/TransformProcessor.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

std::string Sheet(const std::string& body) {
    return "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">"
           "<xsl:template match=\"/\">" +
           body + "</xsl:template></xsl:stylesheet>";
}

void Load(TXpObjModel& model, const std::string& xml) {
    model.SetNormalizeData(false);
    ASSERT_TRUE(model.LoadBytes(xml));
}

// The page document as the engine's lines would be read through a UTF-16 stream with a
// byte-order mark and CR LF after every line, its declaration replaced afterwards.
std::u16string ThroughUtf16Stream(const TWideStrings& lines) {
    TMemoryStream stream;
    stream.Write("\xFF\xFE", 2);
    for (const std::u16string& line : lines) {
        const std::u16string withBreak = line + u"\r\n";
        stream.Write(withBreak.data(), withBreak.size() * 2);
    }
    stream.SetPosition(0);
    TXpObjModel model;
    model.SetNormalizeData(false);
    if (!model.LoadStream(stream)) {
        return u"Cannot Parse XML";
    }
    TXpNode document = model.Document();
    document.RemoveChild(document.FirstChild());
    document.InsertBefore(model.CreateProcessingInstruction(u"xml", PageDeclarationData),
                          model.DocumentElement());
    return model.GetXmlText();
}

std::u16string Direct(const TWideStrings& lines) {
    TXpObjModel model;
    model.SetNormalizeData(false);
    try {
        LoadOutputDocument(model, lines);
    } catch (const std::exception& e) {
        return Utf8ToUtf16(e.what());
    }
    return model.GetXmlText();
}

TEST(PageDocument, EngineLinesGiveTheSameDocumentAsThroughAUtf16Stream) {
    TShellKit kit(KitSettingsXml("<test-time>5</test-time>"));
    ASSERT_EQ(kit.StartError(), "");
    kit.Click("runtest");
    const TWideStrings runPage = kit.Doc().GetOutput();
    kit.Doc().WriteReport();
    const TWideStrings report = kit.Doc().GetOutput();
    const std::u16string declaration = u"<?xml version=\"1.0\" encoding=\"utf-16\" ?>";
    const std::vector<TWideStrings> cases = {
        runPage,
        report,
        {declaration, u"<a b=\"Ж&amp;\">", u"  текст\U0001F600 ", u"<![CDATA[<x>]]>", u"</a>"},
        {declaration, u"<a>", u"x\r\ny\rz", u"</a>"},
        {declaration, u"<a>", u"\xD800", u"</a>"}, // a lone surrogate
        {declaration, u"<a>"},                     // not well-formed
        {},
    };
    for (const TWideStrings& lines : cases) {
        SCOPED_TRACE(lines.empty() ? "" : Utf16ToUtf8(lines.back()));
        EXPECT_EQ(Direct(lines), ThroughUtf16Stream(lines));
    }
    EXPECT_EQ(Direct(cases[4]), u"Cannot Parse XML");
    // Without a declaration of its own the document keeps its element.
    EXPECT_EQ(Direct({u"<a/>"}), u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<a/>");
}

TEST(TransformProcessor, NewDocumentHoldsOnlyTheDeclaration) {
    TTransformProcessor transformer;
    Load(transformer.PageModel, "<?xml version=\"1.0\"?><old><x/></old>");
    transformer.NewDocument();
    const std::vector<TXpNode> nodes = transformer.PageModel.Document().ChildNodes();
    ASSERT_EQ(nodes.size(), 1U);
    EXPECT_EQ(nodes[0].NodeType(), TXpNodeType::ProcessingInstruction);
    EXPECT_EQ(nodes[0].NodeName(), u"xml");
    EXPECT_EQ(nodes[0].NodeValue(), u"version=\"1.0\" encoding=\"utf-8\"");
}

TEST(TransformProcessor, EverySourceAttributeGetsTheBaseAndOnlyThose) {
    TXpObjModel model;
    Load(model, "<r src=\"top.gif\"><a><img src=\"a b.gif\" SRC=\"x\" srcset=\"y\"/></a>"
                "<img src=\"\"/><p>src=\"no\"</p><img src=\"%41%%.gif\"/></r>");
    TTransformProcessor::FixImageLinks(model.DocumentElement(), "stellik://content");
    // "%" is escaped: the view decodes the URL and must get the name back.
    EXPECT_EQ(Utf16ToUtf8(model.DocumentElement().GetXmlText()),
              "<r src=\"stellik://content/top.gif\"><a><img src=\"stellik://content/a b.gif\" "
              "SRC=\"x\" srcset=\"y\"/></a><img src=\"stellik://content/\"/>"
              "<p>src=\"no\"</p><img src=\"stellik://content/%2541%25%25.gif\"/></r>");
    TTransformProcessor::FixImageLinks(TXpNode(), "ignored"); // no document element
}

TEST(PageTree, AnElementIsFoundAtAnyDepthRootIncluded) {
    struct TCase {
        std::string Xml;
        bool Found;
    };
    const TCase cases[] = {
        {"<test-out><summary/><test-stop><test-end/></test-stop></test-out>", true},
        {"<test-stop/>", true},
        {"<a><b><c/><d><test-stop/></d></b><e/></a>", true},
        {"<a><b test-stop=\"1\">test-stop</b><!--test-stop--><test-stopper/></a>", false},
        {"<a><Test-Stop/></a>", false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Xml);
        TXpObjModel model;
        Load(model, c.Xml);
        EXPECT_EQ(ContainsElement(model.DocumentElement(), "test-stop"), c.Found);
    }
    EXPECT_FALSE(ContainsElement(TXpNode(), "test-stop"));
}

TEST(TransformProcessor, TheStylesheetIsPreparedOnceAndFailuresAreReported) {
    TResources::Install({{"VIEW_STYLE", Sheet("<p>first</p>")}});
    TTransformProcessor transformer;
    transformer.NewDocument();
    transformer.PageModel.Document().AppendElement(u"page");
    transformer.ApplyStyle();
    EXPECT_EQ(transformer.HtmlFilter().GetHtml(), "<p>first</p>");
    TResources::Install({{"VIEW_STYLE", Sheet("<p>second</p>")}});
    transformer.ApplyStyle();
    EXPECT_EQ(transformer.HtmlFilter().GetHtml(), "<p>first</p>");

    struct TCase {
        std::map<std::string, std::string> Resources;
        std::string Message;
    };
    const TCase cases[] = {
        {{}, "Resource VIEW_STYLE not found"},
        {{{"view_style", "<p/>"}}, "Cannot Apply XSL stylesheet"},
        {{{"View_Style", Sheet("<xsl:message terminate=\"yes\">stop</xsl:message>")}},
         "Cannot Apply XSL stylesheet"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Message);
        TResources::Install(c.Resources);
        TTransformProcessor fresh;
        fresh.NewDocument();
        fresh.PageModel.Document().AppendElement(u"page");
        EXPECT_EQ(MessageOf([&] { fresh.ApplyStyle(); }), c.Message);
    }
}

TEST(Pages, RegisterPageCarriesTheStoredFieldsDecodedInItsOrder) {
    TShellKit kit(KitSettingsXml("<save-results/>"));
    ASSERT_EQ(kit.StartError(), "");
    kit.User().LastName = "Иванов";
    kit.User().FirstName = "Иван";
    kit.User().Patronymic = "";
    kit.User().AddInfo = "строка 1\r\n\xff";
    kit.Frame().ShowRegisterPage();
    EXPECT_EQ(Utf16ToUtf8(kit.Page().DocumentElement().GetXmlText()),
              "<register><first-name>&#1048;&#1074;&#1072;&#1085;</first-name>"
              "<last-name>&#1048;&#1074;&#1072;&#1085;&#1086;&#1074;</last-name>"
              "<patronymic></patronymic><additional-info>&#1089;&#1090;&#1088;&#1086;&#1082;"
              "&#1072; 1&#13;&#10;&#65533;</additional-info></register>");
    EXPECT_EQ(kit.View.Pages.size(), 2U);
}

TEST(Pages, EveryPageNamesItsRootAndTheRunPagesTheTest) {
    TShellKit kit;
    ASSERT_EQ(kit.StartError(), "");
    EXPECT_EQ(kit.PageRoot(), "test-head");
    EXPECT_EQ(kit.PageText(u"/test-head/@test-name"), "Проверка");
    kit.Click("runtest");
    EXPECT_EQ(kit.PageRoot(), "test-out");
    EXPECT_EQ(kit.PageText(u"/test-out/@test-name"), "Проверка");
    // A picture of the test is asked for under the content pseudo-host.
    EXPECT_EQ(kit.PageText(u"//q-text/img/@src"), "stellik://content/pic.gif");
    EXPECT_NE(kit.View.Pages.back().find("stellik://content/pic.gif"), std::string::npos);
    kit.Submit("testinput", {{"ANSW/0", "0"}, {"CMD/NEXT", ""}}); // the report shows it
    kit.Click("lastreport");
    EXPECT_EQ(kit.PageRoot(), "test-results");
    EXPECT_EQ(kit.PageText(u"//q-text/img/@src"), "stellik://content/pic.gif");
    EXPECT_EQ(kit.View.Pages.size(), 4U);
}

TEST(Pages, SpacesAroundMarkupAndFieldsStayOnTheRunPage) {
    std::string test = KitTestXml();
    auto rewrite = [&test](const std::string& from, const std::string& to) {
        test.replace(test.find(from), from.size(), to);
    };
    rewrite("Столица <img", "Город <b>на</b> <i>Неве</i> и <img");
    rewrite("Автор: <answer right=\"Пушкин\"/>", "Поэт <answer right=\"Пушкин\"/> родом");
    TShellKit kit(KitSettingsXml("<view-profile><base-params><test-run-mode>list</test-run-mode>"
                                 "</base-params></view-profile>"),
                  test);
    ASSERT_EQ(kit.StartError(), "");
    kit.Click("runtest");
    const std::string html = kit.View.Pages.back();
    EXPECT_NE(html.find("Город <b>на</b> <i>Неве</i> и <img"), std::string::npos) << html;
    EXPECT_NE(html.find("Поэт <input"), std::string::npos) << html;
    EXPECT_NE(html.find("> родом"), std::string::npos) << html;
}

TEST(Pages, StylesheetDefaultsHoldUntilTheFirstRunPageThenTheSettingsStay) {
    TShellKit kit(KitSettingsXml("<save-results/><view-profile><base-params/></view-profile>"));
    kit.Resources["VIEW_STYLE"] = ProbeStylesheet;
    ASSERT_EQ(kit.StartError(), "");
    auto params = [&] {
        const std::string& html = kit.View.Pages.back();
        const size_t at = html.find("<p id=\"params\">");
        return at == std::string::npos ? "" : html.substr(at + 15, 3);
    };
    EXPECT_EQ(params(), "110"); // the registration page: the stylesheet's own defaults
    kit.Submit("register", {{"lastname", "Иванов"}, {"firstname", "Иван"}});
    EXPECT_EQ(params(), "110");
    kit.Click("runtest");
    EXPECT_EQ(params(), "001");
    kit.Click("lastreport");
    EXPECT_EQ(params(), "001");
}

TEST(Pages, TheSettingsReachThePageStylesheet) {
    struct TCase {
        std::string Settings;
        bool Skip, Timer, ReportButton, SaveButton;
    };
    const TCase cases[] = {
        {"<view-profile><base-params><allow-question-skip/><show-report/></base-params>"
         "</view-profile>",
         true, false, true, false},
        {"<save-results/><test-time>5</test-time><view-profile><base-params/></view-profile>",
         false, true, false, true},
    };
    auto has = [](const std::string& html, const std::string& piece) {
        return html.find(piece) != std::string::npos;
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Settings);
        TShellKit kit(KitSettingsXml(c.Settings));
        ASSERT_EQ(kit.StartError(), "");
        kit.Click("runtest");
        const std::string runPage = kit.View.Pages.back();
        EXPECT_TRUE(has(runPage, "action=\"stellik://cmd/testinput\""));
        EXPECT_EQ(has(runPage, "name=\"CMD/SKIP\""), c.Skip);
        EXPECT_EQ(has(runPage, "id=\"timer\" src=\"stellik://system/timer.gif\""), c.Timer);
        for (int i = 0; i < 10 && kit.Doc().IsRunning(); ++i) {
            kit.Submit("testinput",
                       {{"ANSW/0", "0"}, {"ANSW/1/0", "x"}, {"ANSW/2", "0"}, {"CMD/NEXT", ""}});
        }
        const std::string stopPage = kit.View.Pages.back();
        EXPECT_TRUE(has(stopPage, "Тест завершен"));
        EXPECT_EQ(has(stopPage, "stellik://cmd/lastreport"), c.ReportButton);
        EXPECT_EQ(has(stopPage, "stellik://cmd/saveresults"), c.SaveButton);
        kit.Click("lastreport");
        EXPECT_EQ(has(kit.View.Pages.back(), "stellik://cmd/saveresults"), c.SaveButton);
    }
}

// The view lost what it showed: the same page comes again, from the output already made
// (the run is not moved on), with one word to the examinee; the time goes on.
TEST(Pages, ALostPageIsShownAgainAndTheExamineeToldOnce) {
    TShellKit kit;
    ASSERT_EQ(kit.StartError(), "");
    kit.Frame().PageLost(); // the title page
    ASSERT_EQ(kit.View.Pages.size(), 2U);
    EXPECT_EQ(kit.View.Pages[1], kit.View.Pages[0]);
    kit.Click("runtest");
    kit.Submit("testinput", {{"ANSW/0", "0"}, {"CMD/NEXT", ""}});
    const std::string page = kit.View.Pages.back();
    const std::vector<std::u16string> output = kit.Doc().GetOutput();
    kit.Frame().Timer1Timer();
    kit.Frame().PageLost();
    EXPECT_EQ(kit.View.Pages.back(), page);
    EXPECT_EQ(kit.Doc().GetOutput(), output);
    EXPECT_TRUE(kit.Doc().IsRunning());
    EXPECT_EQ(kit.Doc().PassSeconds, 1);
    ASSERT_EQ(kit.Dialogs.Messages.size(), 2U);
    for (const TMessageRecord& message : kit.Dialogs.Messages) {
        EXPECT_EQ(message.Text, "Страница восстановлена после сбоя\r\nОтветы, введенные после "
                                "последней отправки, введите заново");
        EXPECT_EQ(message.Buttons, TMsgButtons::Ok);
        EXPECT_EQ(message.Icon, TMsgIcon::Warning);
    }
    EXPECT_TRUE(kit.Dialogs.Exceptions.empty());
}

TEST(Pages, APageLostBeforeTheFirstOneCameIsNotRestored) {
    TShellKit kit;
    kit.Frame().PageLost();
    EXPECT_TRUE(kit.View.Pages.empty());
    EXPECT_TRUE(kit.Dialogs.Messages.empty());
}

TEST(Pages, ARunPageThatDoesNotParseKeepsThePreviousPage) {
    // No run document before the first run; question text the reader would never let in.
    for (const std::u16string_view text : {u"", u"<b>", u"\xDC00"}) {
        TShellKit kit;
        ASSERT_EQ(kit.StartError(), "");
        if (text.empty()) {
            EXPECT_EQ(MessageOf([&] { kit.Frame().ShowRunPage(); }), "Cannot Parse XML");
        } else {
            kit.Doc().Questions.GetItem(0).Content.AddText(std::u16string(text));
            EXPECT_EQ(MessageOf([&] { kit.Click("runtest"); }), "Cannot Parse XML");
        }
        EXPECT_EQ(kit.View.Pages.size(), 1U);
    }
}

TEST(ResultsDocument, ReportBecomesTestResultsWithTheExamineeAndTheTest) {
    TUserSettings user;
    user.FirstName = "Иван";
    user.LastName = "Иванов";
    user.AddInfo = "\xff";
    const std::string userXml = "<user><first-name>Иван</first-name><last-name>Иванов</last-name>"
                                "<patronymic-name></patronymic-name>"
                                "<additional-info>\uFFFD</additional-info></user><test>Тест</test>";
    struct TCase {
        std::string Report;
        std::string Results;
    };
    const TCase cases[] = {
        {"<test-out mode=\"step\" a=\"1\"><x/><summary/><summary/></test-out>",
         "<test-results a=\"1\"><x/>" + userXml + "<summary/><summary/></test-results>"},
        {"<test-out><x><summary/></x></test-out>",
         "<test-results><x><summary/></x>" + userXml + "</test-results>"},
        {"<test-out mode=\"list\"/>", "<test-results>" + userXml + "</test-results>"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Report);
        TXpObjModel model;
        model.SetKeepCharacters(true);
        Load(model, c.Report);
        MakeResultsDocument(model, user, "Тест");
        EXPECT_EQ(Utf16ToUtf8(model.DocumentElement().GetXmlText()), c.Results);
    }
}

TEST(ResultsDocument, TheReportPageIsTheResultsDocumentOfTheRun) {
    TShellKit kit;
    ASSERT_EQ(kit.StartError(), "");
    kit.User().LastName = "Петров";
    kit.Click("runtest");
    kit.Submit("testinput", {{"ANSW/0", "0"}, {"CMD/NEXT", ""}});
    kit.Click("lastreport");
    EXPECT_TRUE(kit.Doc().ShowRight);
    EXPECT_EQ(kit.PageRoot(), "test-results");
    EXPECT_FALSE(kit.Page().DocumentElement().HasAttribute(u"mode"));
    EXPECT_EQ(kit.PageText(u"/test-results/user/last-name"), "Петров");
    EXPECT_EQ(kit.PageText(u"/test-results/test"), "Проверка");
    EXPECT_EQ(kit.PageText(u"name(/test-results/test/following-sibling::*[1])"), "summary");
    EXPECT_EQ(kit.PageText(u"count(/test-results/summary/preceding-sibling::summary)"), "0");
    EXPECT_EQ(kit.Page().Document().FirstChild().NodeValue(),
              u"version=\"1.0\" encoding=\"utf-8\"");
}

} // namespace
} // namespace stellik::testing
