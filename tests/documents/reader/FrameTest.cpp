// The reader's frame: DTD requests, validation texts, the test element and its reading order.
#include "ReaderKit.h"

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/MemoryStream.h"
#include "platform/Unicode.h"
#include "tests/support/ScratchFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace stellik::testing {
namespace {

using ::testing::ElementsAre;

namespace fs = std::filesystem;

fs::path ProgramFolder() {
    return fs::canonical(GetProgramFolder());
}

TEST(DtdRequest, FileNameAfterTheLastSeparatorChoosesTheVersion) {
    const std::vector<std::pair<std::u16string, std::u16string>> cases = {
        {u"C:\\Tests\\DTD\\xtf_V1P1.DTD", u"XTF_v1p1.dtd"},
        {u"D:XTF_v1p2.dtd", u"XTF_v1p2.dtd"},
        {u"XTF_V1P2.DTD", u"XTF_v1p2.dtd"},
        {u"XTF_v1p0.dtd", u"XTF_v1p0.dtd"},
        {u"C:\\Tests\\XTF_v1p3.dtd", u"XTF_v1p0.dtd"},
        {u"dtd/XTF_v1p2.dtd", u"XTF_v1p2.dtd"}, // a forward slash delimits too
        {u"/usr/share/xtf/xtf_v1p1.dtd", u"XTF_v1p1.dtd"},
        {u"C:\\Tests/XTF_v1p2.dtd", u"XTF_v1p2.dtd"},
        {u"XTF_v1p2.dtd/x", u"XTF_v1p0.dtd"},
        {u"C:\\Tests\\", u"XTF_v1p0.dtd"},
        {u"", u"XTF_v1p0.dtd"},
    };
    TTestParserObj parser;
    std::u16string asked;
    parser.OnDTDRequest = [&](TTestParserObj& sender, std::u16string& name) {
        EXPECT_EQ(&sender, &parser);
        asked = name;
        name = u"/dtd/" + name;
    };
    const TScratchFolder elsewhere;
    for (const auto& [systemId, chosen] : cases) {
        fs::current_path(elsewhere.Path());
        std::u16string location = systemId;
        parser.XpObjModel1DTDExternal(location);
        EXPECT_EQ(asked, chosen) << Utf16ToUtf8(systemId);
        EXPECT_EQ(location, u"/dtd/" + chosen);
        EXPECT_EQ(fs::current_path(), ProgramFolder()) << "every request enters the program folder";
    }
}

TEST(DtdRequest, WithoutAHandlerTheSharedFolderBesideTheProgramIsUsed) {
    TTestParserObj parser;
    const TScratchFolder elsewhere;
    fs::current_path(elsewhere.Path());
    std::u16string location = u"C:\\x\\XTF_V1P1.dtd";
    parser.XpObjModel1DTDExternal(location);
    EXPECT_EQ(fs::path(Utf16ToUtf8(location)),
              ProgramFolder().parent_path() / "Shared" / "XTFShemes" / "XTF_v1p1.dtd");
    EXPECT_EQ(fs::current_path(), ProgramFolder());

    // No such folder beside the test program: loading fails with the parser's error.
    TMemoryStream stream(TestXml("<name>x</name>"));
    TTestDoc doc;
    std::string encoding;
    EXPECT_THROW(parser.ParseTest(stream, doc, encoding), Exception);
    EXPECT_EQ(fs::current_path(), ProgramFolder());
}

TEST(DtdRequest, HandlerFailurePassesOutOfTheReading) {
    TReaderKit kit;
    kit.Parser.OnDTDRequest = [](TTestParserObj&, std::u16string&) {
        throw Exception("no DTD here");
    };
    EXPECT_EQ(kit.Error(TestXml("<name>x</name>")), "no DTD here");
}

TEST(ValidationText, CodesOutsideTheTableAndNodelessProblems) {
    TXpObjModel model;
    model.LoadText(u"<test><single random=\"y\"/></test>");
    const TXpNode single = model.DocumentElement().FirstChild();
    const TXpNode random = single.GetAttributeNode(u"random");

    EXPECT_EQ(TTestParserObj::ValidationMessage(3, TXpNode()), "No document to check.");
    EXPECT_EQ(TTestParserObj::ValidationMessage(14, TXpNode()),
              "Unknown validation error 14, node ''");
    EXPECT_EQ(TTestParserObj::ValidationMessage(0, single),
              "Unknown validation error 0, node 'single'");
    EXPECT_EQ(TTestParserObj::ValidationMessage(-3, single),
              "Unknown validation error -3, node 'single'");
    EXPECT_EQ(TTestParserObj::ValidationMessage(16, random),
              "Unknown validation error 16, node 'random'");
    // The second name is the parent's, for an attribute its element.
    EXPECT_EQ(TTestParserObj::ValidationMessage(7, single),
              "Element 'single' not allowed as a child element of 'test'.");
    EXPECT_EQ(TTestParserObj::ValidationMessage(11, random),
              "Attribute 'random' of element 'single' is assigned a fixed value in the DTD but is "
              "assigned a different value in the document.");
}

TEST(TestElement, TitleAndAuthorAsWrittenAbstractOnOneLine) {
    TReaderKit kit;
    kit.Doc.GetAbstract() = {u"old line 1", u"old line 2"};
    kit.Read(TestXml("<name> Two  words </name><author>\tA. B.</author>"
                     "<abstract>\n   First line\n\t  second   line\n</abstract>"));
    EXPECT_EQ(kit.Doc.Name, u" Two  words ");
    EXPECT_EQ(kit.Doc.Author, u"\tA. B.");
    EXPECT_EQ(kit.Doc.Abstract, TWideStrings{u" First line second line "});

    TReaderKit empty;
    empty.Doc.GetAbstract() = {u"old"};
    empty.Read(TestXml("<abstract></abstract>"));
    EXPECT_TRUE(empty.Doc.Abstract.empty()) << "an empty abstract leaves no line";
}

TEST(TestElement, ReadsQuestionsThenSectionsThenMessagesWhateverTheOrder) {
    // The DTD fixes the order, so an unvalidated element is handed to the reader directly.
    TReaderKit kit;
    kit.Read(TestXml("<name>first</name>"));
    TXpObjModel model;
    model.LoadText(u"<test><messages><questmsg idref=\"q\">m</questmsg>"
                   u"<sectmsg idref=\"s\">n</sectmsg></messages>"
                   u"<selector><section id=\"s\"><allout idref=\"q\"/></section></selector>"
                   u"<questions><single id=\"q\"/></questions><name>second</name></test>");
    kit.Parser.ReadTestElement(model.DocumentElement());
    EXPECT_EQ(kit.Doc.Name, u"second");
    ASSERT_EQ(kit.Doc.Questions.GetCount(), 1);
    EXPECT_FALSE(model.DocumentElement().SelectSingleNode(u"questions/*")) << "read: taken out";
    ASSERT_EQ(kit.Doc.Sections.GetCount(), 1);
    EXPECT_THAT(kit.Doc.Sections.GetItem(0).AllPool.Values(), ElementsAre(0));
    ASSERT_EQ(kit.Doc.Messages.GetCount(), 2);
    EXPECT_THAT(kit.Doc.Messages.GetItem(0).Ids.Values(), ElementsAre(0));
    EXPECT_THAT(kit.Doc.Messages.GetItem(1).Ids.Values(), ElementsAre(0));
}

TEST(TestElement, AnotherRootOfTheDtdGivesAnEmptyTest) {
    TReaderKit kit;
    kit.Read("<!DOCTYPE questions SYSTEM \"XTF_v1p2.dtd\"><questions><single/></questions>");
    EXPECT_EQ(kit.Doc.Questions.GetCount(), 0);
    EXPECT_EQ(kit.Doc.Sections.GetCount(), 0);
}

TEST(TestElement, ParsingAgainStartsAfresh) {
    TReaderKit kit;
    kit.ReadFile("full_v12.xml");
    kit.Doc.Clear();
    EXPECT_EQ(kit.Read("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
                       "<!DOCTYPE test SYSTEM \"XTF_v1p1.dtd\"><test><name>caf\xe9</name>"
                       "<questions><box><answer rating=\"1\" right=\"x\"/></box></questions>"
                       "</test>"),
              "ISO-8859-1");
    EXPECT_EQ(kit.Doc.Name, u"caf\u00e9");
    EXPECT_EQ(kit.Doc.Questions.GetCount(), 1);
    EXPECT_EQ(kit.Doc.Sections.GetCount(), 0);
    EXPECT_EQ(kit.Doc.Messages.GetCount(), 0);
}

} // namespace
} // namespace stellik::testing
