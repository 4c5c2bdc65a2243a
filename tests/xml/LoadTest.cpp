#include "XmlTestSupport.h"

#include "platform/MemoryStream.h"
#include "platform/Unicode.h"
#include "xml/XpErrors.h"

#include <gtest/gtest.h>

#include <functional>

namespace stellik::testing {
namespace {

std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        bytes += bigEndian ? hi : lo;
        bytes += bigEndian ? lo : hi;
    }
    return bytes;
}

std::u16string LoadAndName(const std::string& bytes, std::u16string* text = nullptr) {
    TXpObjModel model;
    model.SetRaiseErrors(true);
    TMemoryStream stream("junk" + bytes);
    stream.SetPosition(4); // loading starts at the stream's position
    model.LoadStream(stream);
    EXPECT_EQ(stream.GetPosition(), stream.GetSize());
    if (text) {
        *text = model.DocumentElement().GetText();
    }
    return XpCharEncodingName(model.InCharSet());
}

// Loads bytes with errors raised, expecting a refusal that leaves no document. The error goes
// to onFilter or onParser; a parser error passes on when there is no onParser.
void ExpectRefused(const std::string& bytes,
                   const std::function<void(const EXpFilterError&)>& onFilter,
                   const std::function<void(const EXpParserError&)>& onParser = {}) {
    TXpObjModel model;
    model.SetRaiseErrors(true);
    try {
        model.LoadBytes(bytes);
        ADD_FAILURE() << "no error for " << bytes;
    } catch (const EXpFilterError& e) {
        onFilter(e);
    } catch (const EXpParserError& e) {
        if (!onParser) {
            throw;
        }
        onParser(e);
    }
    EXPECT_TRUE(model.DocumentElement().IsNull());
}

TEST(Load, ReportsTheEncodingItReadAndDecodesTheText) {
    std::u16string text;
    EXPECT_EQ(LoadAndName("<a>Привет</a>", &text), u"UTF-8");
    EXPECT_EQ(text, W("Привет"));
    EXPECT_EQ(LoadAndName("\xEF\xBB\xBF<a>Привет</a>", &text), u"UTF-8");
    EXPECT_EQ(text, W("Привет"));
    EXPECT_EQ(
        LoadAndName(Utf16(W("<?xml version=\"1.0\" encoding=\"utf-16\" ?>\r\n<a>Ёж</a>"), false),
                    &text),
        u"UTF-16");
    EXPECT_EQ(text, W("Ёж"));
    EXPECT_EQ(LoadAndName(Utf16(W("<a>Ёж</a>"), true), &text), u"UTF-16");
    EXPECT_EQ(text, W("Ёж"));
    EXPECT_EQ(LoadAndName("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>caf\xE9</a>", &text),
              u"ISO-8859-1");
    EXPECT_EQ(text, W("café"));
    const std::string cp1251 =
        "<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>\xC5\xE6\xB8</a>";
    EXPECT_EQ(LoadAndName(cp1251, &text), u"Windows-1251");
    EXPECT_EQ(text, W("Ежё"));
    EXPECT_EQ(LoadAndName("\xEF\xBB\xBF" + cp1251, &text), u"Windows-1251");
    EXPECT_EQ(text, W("Ежё"));
    // The byte-order mark wins over a declaration naming a code page.
    EXPECT_EQ(
        LoadAndName(Utf16(W("<?xml version=\"1.0\" encoding=\"Windows-1251\"?><a>Ж</a>"), false),
                    &text),
        u"UTF-16");
    EXPECT_EQ(text, W("Ж"));
    TXpObjModel fresh;
    EXPECT_EQ(fresh.InCharSet(), ceUnknown);
    // Wide text is read as UTF-16 whatever its declaration names.
    ASSERT_TRUE(fresh.LoadText(W("<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>Ж</a>")));
    EXPECT_EQ(fresh.InCharSet(), ceUTF16LE);
    EXPECT_EQ(fresh.DocumentElement().GetText(), W("Ж"));
}

TEST(Load, FailuresRaiseOrReportAsTheCallerChose) {
    const std::string misplaced = "<!-- first --><?xml version=\"1.0\"?><a/>";
    TXpObjModel quiet;
    EXPECT_FALSE(quiet.LoadBytes(misplaced));
    ASSERT_EQ(quiet.GetErrors().size(), 1u);
    // The declaration messages are exact; the place travels in the exception's fields.
    EXPECT_EQ(quiet.GetErrors()[0], "The XML declaration must appear before the first element");
    EXPECT_TRUE(quiet.DocumentElement().IsNull());
    EXPECT_FALSE(quiet.LoadBytes("<a><b></a>"));
    EXPECT_TRUE(quiet.DocumentElement().IsNull());
    EXPECT_TRUE(quiet.LoadBytes("<a/>"));
    EXPECT_TRUE(quiet.GetErrors().empty());

    TXpObjModel loud;
    loud.SetRaiseErrors(true);
    try {
        loud.LoadBytes("<a>\n<b></a>");
        FAIL() << "no exception";
    } catch (const EXpParserError& e) {
        EXPECT_EQ(e.GetLine(), 2);
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos);
    }
    EXPECT_THROW(loud.LoadBytes("<?xml version=\"1.1\"?><a/>"), EXpParserError);
    try {
        loud.LoadBytes("<a>\n<?xml version=\"1.0\"?></a>");
        FAIL() << "no exception";
    } catch (const EXpParserError& e) {
        EXPECT_STREQ(e.what(), "The XML declaration must appear before the first element");
        EXPECT_EQ(e.GetLine(), 2);
    }
    // Without a byte-order mark the input is UTF-8: UCS-4 or EBCDIC bytes are not guessed at
    // and then reported as UTF-8, they fail.
    EXPECT_THROW(loud.LoadBytes(std::string("\0\0\0<\0\0\0a\0\0\0/\0\0\0>", 16)), EXpFilterError);
    EXPECT_THROW(loud.LoadBytes("\x4C\x6F\xA7\x94\x93\x40\xA5\x85\x99\xA2\x89\x96\x95\x7E\x7F"
                                "\xF1\x4B\xF0\x7F\x6F\x6E\x4C\x81\x61\x6E"),
                 EXpParserError);
}

TEST(Load, ACharacterXmlForbidsIsAFilterErrorInEveryEncoding) {
    const std::string cp1251 = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>";
    const std::string latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
    struct TCase {
        std::string Bytes;
        size_t Position; // byte offset of the character
        int Line, LinePos;
    };
    const std::vector<TCase> cases = {
        {"<a>\n x\x01</a>", 6, 2, 3},
        {"\xEF\xBB\xBF<a>\xD0\x96\x0B</a>", 8, 1, 5},   // after the mark and a Cyrillic letter
        {"<a>\xEF\xBF\xBE</a>", 3, 1, 4},               // U+FFFE
        {"<a>\xEF\xBF\xBF</a>", 3, 1, 4},               // U+FFFF
        {"<a>\xED\xA0\x80</a>", 3, 1, 4},               // a surrogate
        {"<?xml version=\"1.0\"\x02?><a/>", 19, 1, 20}, // inside the declaration
        {"<?xml version=\"1.0\" encoding=\"KOI8-R\"?>\r\n<a>\x1F</a>", 44, 2, 4},
        {cp1251 + "\r\n<a>\xC0\x01</a>", cp1251.size() + 6, 2, 5}, // CR LF: one line end
        {cp1251 + "<a>\x98\x08</a>", cp1251.size() + 4, 1, static_cast<int>(cp1251.size()) + 5},
        {latin1 + "\r<a>\x0B</a>", latin1.size() + 4, 2, 4}, // a lone CR ends a line
        {latin1 + std::string("<a>\xE9\x7F</a>\0", 10), latin1.size() + 9, 1,
         static_cast<int>(latin1.size()) + 10},
        {Utf16(u"<a>\u0001</a>", false), 8, 1, 4},
        {Utf16(u"<a>\r\n\r\n\uFFFF</a>", true), 16, 3, 1},
        {Utf16(u"<a>\u00DF" + std::u16string(1, 0xDC00) + u"</a>", false), 10, 1, 5}, // lone
    };
    for (const TCase& c : cases) {
        ExpectRefused(c.Bytes, [&](const EXpFilterError& e) {
            EXPECT_EQ(e.GetMessage(), "Invalid XML Character found (line " +
                                          std::to_string(c.Line) + ", position " +
                                          std::to_string(c.LinePos) + ")")
                << c.Bytes;
            EXPECT_EQ(e.GetPosition(), c.Position) << c.Bytes;
            EXPECT_EQ(e.GetLine(), c.Line) << c.Bytes;
            EXPECT_EQ(e.GetLinePos(), c.LinePos) << c.Bytes;
        });
    }
    // The characters around them are all allowed, as are C1 controls and the top planes.
    TXpObjModel model;
    EXPECT_TRUE(model.LoadBytes(cp1251 + "<a>\t\x98\xFF</a>"));
    EXPECT_TRUE(model.LoadBytes(latin1 + "<a>\x85\x9F</a>"));
    EXPECT_TRUE(model.LoadBytes("<a>\xEF\xBF\xBD\xF4\x8F\xBF\xBF\xED\x9F\xBF\xEE\x80\x80</a>"));
}

TEST(Load, TheProblemThatComesFirstInTheDocumentIsReported) {
    const std::string cp1251 = "<?xml version=\"1.0\" encoding=\"windows-1251\"?>";
    const std::string latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
    struct TCase {
        std::string Bytes;
        bool Filter; // the forbidden character, else the parser's error
        int Line;
    };
    const std::vector<TCase> cases = {
        {"<a>\n</b>\x01</a>", false, 2},
        {"<a>\x01\n</b></a>", true, 1},
        {"<a>\r\n<b x='1' x='2'/>\x02</a>", false, 2},
        {cp1251 + "<a>\xC0\r\n</b>\x01</a>", false, 2},
        {latin1 + "<a>\xE9\r\n</b>\x01</a>", false, 2},
        {Utf16(u"<a>\n</b>\uFFFF</a>", false), false, 2},
        {Utf16(u"<a>\uFFFF\n</b></a>", true), true, 1},
        {"<a/>\x01", true, 1},                       // after a complete document
        {"<a>\r<b>\r</a>\x01", false, 1},            // a lone CR: the parser's own count
        {"<a>\r<b>\r</b>\x01</a>", true, 3},         // ends at the character: not before it
        {"<a>\n<!-- open\n\x01 -->\n</a>", true, 3}, // unfinished only because it stops there
    };
    for (const TCase& c : cases) {
        ExpectRefused(
            c.Bytes,
            [&](const EXpFilterError& e) {
                EXPECT_TRUE(c.Filter) << c.Bytes << ": " << e.what();
                EXPECT_EQ(e.GetLine(), c.Line) << c.Bytes;
            },
            [&](const EXpParserError& e) {
                EXPECT_FALSE(c.Filter) << c.Bytes << ": " << e.what();
                EXPECT_EQ(e.GetLine(), c.Line) << c.Bytes;
            });
    }

    // The external DTD is read where the document names it: its failure comes first.
    std::vector<std::string> requests;
    TXpObjModel model;
    testing::SetUpReader(model, &requests);
    const std::string doc = "<!DOCTYPE test SYSTEM \"XTF_v1p2.dtd\">\n<test>\x01</test>";
    EXPECT_THROW(model.LoadBytes(doc), EXpFilterError);
    EXPECT_EQ(requests, std::vector<std::string>{"XTF_v1p2.dtd"});
    model.OnDTDRequest = [](const std::string&) { return std::string("/nonexistent/x.dtd"); };
    EXPECT_THROW(model.LoadBytes(doc), EXpParserError);
    char name[] = "/tmp/stellik-xml-dtdXXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    TMemoryStream broken(std::string_view("\n\n\n\n\n<!ELEMENT test (#PCDATA)"));
    broken.SaveToFile(name);
    const std::string path = name;
    model.OnDTDRequest = [path](const std::string&) { return path; };
    EXPECT_THROW(model.LoadBytes(doc), EXpParserError);
    std::remove(name);
}

TEST(Load, TheDeclarationIsTheFirstTopLevelNode) {
    TXpObjModel model;
    ASSERT_TRUE(model.LoadBytes("<?xml version=\"1.0\" encoding=\"utf-16\" ?><a/>"));
    TXpNode first = model.Document().FirstChild();
    EXPECT_EQ(first.NodeType(), TXpNodeType::ProcessingInstruction);
    EXPECT_EQ(first.NodeName(), u"xml");
    EXPECT_EQ(first.NodeValue(), u"version=\"1.0\" encoding=\"utf-16\"");
    // Replace it as the page builder does.
    TXpNode root = model.DocumentElement();
    model.Document().RemoveChild(first);
    model.Document().InsertBefore(
        model.CreateProcessingInstruction(u"xml", u"version=\"1.0\" encoding=\"utf-8\""), root);
    EXPECT_EQ(model.GetXmlText(), u"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<a/>");
}

TEST(Load, TextIsNormalisedByDefaultAndKeptAsWrittenOnRequest) {
    const std::string doc = "<s>\n  <path>  C:\\Results   Folder \n</path>\n  <n>a<b/> b  </n></s>";
    TXpObjModel settings;
    ASSERT_TRUE(settings.LoadBytes(doc));
    TXpNode root = settings.DocumentElement();
    EXPECT_EQ(root.SelectString(u"path"), u"C:\\Results Folder");
    EXPECT_EQ(root.ChildNodes().size(), 2u); // blank text between elements dropped
    EXPECT_EQ(root.SelectString(u"n"), u"ab");

    TXpObjModel page;
    page.SetNormalizeData(false);
    ASSERT_TRUE(page.LoadBytes(doc));
    EXPECT_EQ(page.DocumentElement().SelectString(u"path"), u"  C:\\Results   Folder \n");
    EXPECT_EQ(page.DocumentElement().ChildNodes().size(), 4u);
}

TEST(Load, NeverReadsExternalEntitiesOtherThanTheRequestedDtd) {
    char name[] = "/tmp/stellik-xml-secretXXXXXX";
    const int fd = mkstemp(name);
    ASSERT_GE(fd, 0);
    close(fd);
    TMemoryStream secret(std::string_view("top secret"));
    secret.SaveToFile(name);

    const std::string path = name;
    for (const std::string& doc : {
             "<!DOCTYPE a [<!ENTITY x SYSTEM \"" + path + "\">]><a>&x;</a>",
             "<!DOCTYPE a [<!ENTITY % p SYSTEM \"" + path + "\"> %p;]><a/>",
             "<!DOCTYPE a SYSTEM \"" + path + "\"><a/>", // no hook: not read either
         }) {
        TXpObjModel model;
        const bool loaded = model.LoadBytes(doc);
        EXPECT_EQ(model.GetXmlText().find(u"top secret"), std::u16string::npos) << doc;
        if (loaded) {
            EXPECT_EQ(model.Handle()->extSubset, nullptr) << doc;
        }
    }
    // Internal entities are expanded as usual.
    TXpObjModel model;
    ASSERT_TRUE(model.LoadBytes("<!DOCTYPE a [<!ENTITY x \"inner\">]><a>&x;&lt;</a>"));
    EXPECT_EQ(model.DocumentElement().GetText(), u"inner<");
    std::remove(name);
}

TEST(Load, TheDtdHookGetsTheSystemIdAsWrittenAndItsFailuresPassOut) {
    std::vector<std::string> requests;
    TXpObjModel model;
    SetUpReader(model, &requests);
    ASSERT_TRUE(model.LoadBytes("<!DOCTYPE test SYSTEM \"C:\\Tests\\xtf_V1P1.DTD\"><test/>"));
    EXPECT_EQ(requests, std::vector<std::string>{"C:\\Tests\\xtf_V1P1.DTD"});

    model.OnDTDRequest = [](const std::string&) -> std::string {
        throw Exception("no DTD for you");
    };
    try {
        model.LoadBytes("<!DOCTYPE test SYSTEM \"XTF_v1p0.dtd\"><test/>");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_STREQ(e.what(), "no DTD for you");
    }
    model.OnDTDRequest = [](const std::string&) { return std::string("/nonexistent/x.dtd"); };
    EXPECT_THROW(model.LoadBytes("<!DOCTYPE test SYSTEM \"XTF_v1p0.dtd\"><test/>"), EXpParserError);
}

} // namespace
} // namespace stellik::testing
