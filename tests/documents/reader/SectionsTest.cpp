// Sections and pools, and the reference splitter.
#include "ReaderKit.h"

#include "documents/IdsParser.h"
#include "platform/Unicode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Four questions: q1, (none), q7, and one whose identifier is "all".
const std::string Bank = "<single id=\"q1\"/><single/><single id=\"q7\"/><single id=\"all\"/>";

std::string Selector(const std::string& sections) {
    return QuestionsXml(Bank, "<selector>" + sections + "</selector>");
}

TEST(IdsParser, SplitsAtSpacesOnly) {
    TIdsParser parser;
    parser.Parse("  a\tb  c  c ");
    EXPECT_THAT(parser.GetIds(), ElementsAre("a\tb", "c", "c"));
    parser.Parse("");
    EXPECT_THAT(parser.GetIds(), IsEmpty()) << "each parse replaces the tokens";
    parser.Parse("q1 ALL");
    EXPECT_EQ(parser.IndexOf("all"), 1);
    EXPECT_EQ(parser.IndexOf("q2"), -1);

    // Letter case is ignored in every alphabet, ASCII or not.
    parser.Parse("al alll a\xC3\x84l \xD0\x92\xD0\xA1\xD0\x95 aLl");
    EXPECT_EQ(parser.IndexOf("ALL"), 4);
    EXPECT_EQ(parser.IndexOf("\xD0\xB2\xD1\x81\xD0\xB5"), 3) << "ВСЕ is все";
    EXPECT_EQ(parser.IndexOf("A\xC3\xA4L"), 2) << "aÄl is AäL";
    EXPECT_EQ(parser.IndexOf("al\tl"), -1);
}

TEST(Sections, PoolsTakeReferencesCountsAndFlags) {
    TReaderKit kit;
    kit.Read(Selector(
        "<section><name>  Two\twords \n</name>"
        "<allout idref=\"3 q7\" random=\"n\"/><goodout idref=\" x1  $1 q1 \" count=\"-2\"/>"
        "<midlout idref=\"\" count=\"0\"/><badout idref=\"2 2\" count=\" 7\" random=\"y\"/>"
        "</section>"));
    ASSERT_EQ(kit.Doc.Sections.GetCount(), 1);
    const TSection& section = kit.Doc.Sections.GetItem(0);
    EXPECT_EQ(section.Name, u"Two words");
    EXPECT_THAT(section.AllPool.Values(), ElementsAre(2, 2));
    EXPECT_FALSE(section.AllRandom);
    EXPECT_EQ(section.AllRequested, 0);
    EXPECT_THAT(section.GoodPool.Values(), ElementsAre(0, 0, 0));
    EXPECT_EQ(section.GoodRequested, -2);
    EXPECT_TRUE(section.GoodRandom) << "random defaults to y";
    EXPECT_THAT(section.MidPool.Values(), IsEmpty());
    EXPECT_THAT(section.BadPool.Values(), ElementsAre(1, 1));
    EXPECT_EQ(section.BadRequested, 7);
    EXPECT_TRUE(section.BadRandom);
}

TEST(Sections, SectionsWithoutPoolsOrIdentifiers) {
    TReaderKit kit;
    kit.Read(Selector("<section/><section id=\"\"/><section id=\"a2\"/><section id=\"A2\"/>"));
    ASSERT_EQ(kit.Doc.Sections.GetCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(kit.Doc.Sections.GetItem(i).Index, i);
        EXPECT_EQ(kit.Doc.Sections.GetItem(i).AllPool.GetCount(), 0);
    }
    EXPECT_EQ(kit.Doc.Sections.GetItem(1).Id, u"");
    EXPECT_EQ(kit.Doc.Sections.GetItem(2).Id, u"a2");
    EXPECT_EQ(kit.Doc.Sections.GetItem(3).Id, u"A2");

    TReaderKit none;
    none.Read(QuestionsXml(Bank));
    EXPECT_EQ(none.Doc.Sections.GetCount(), 0);
}

TEST(Sections, FailuresNameTheirCause) {
    EXPECT_EQ(TReaderKit().Error(Selector("<section id=\"2a\"/>")),
              "Значение параметра id не должно начинаться с цифры");
    TReaderKit twice;
    EXPECT_EQ(twice.Error(
                  Selector("<section id=\"s\"/><section id=\"s\"><allout idref=\"1\"/></section>")),
              "Идентификаторы секций должны быть уникальны");
    EXPECT_EQ(twice.Doc.Sections.GetCount(), 2) << "the failing section stays appended";

    EXPECT_EQ(TReaderKit().Error(Selector("<section><allout idref=\"q1 0\"/></section>")),
              "Вопрос с id=0 не найден\r\n<allout idref=\"q1 0\" random=\"y\"/>");
    EXPECT_EQ(TReaderKit().Error(Selector("<section><goodout idref=\"5\"/></section>")),
              "Вопрос с id=5 не найден\r\n<goodout idref=\"5\" random=\"y\"/>");
    EXPECT_EQ(TReaderKit().Error(Selector("<section><midlout idref=\"Q1\"/></section>")),
              "Вопрос с id=Q1 не найден\r\n<midlout idref=\"Q1\" random=\"y\"/>");
    EXPECT_EQ(
        TReaderKit().Error(Selector("<section><badout idref=\"1\" count=\"три\"/></section>")),
        "Значение параметра должно быть числом\r\n"
        "<badout idref=\"1\" count=\"три\" random=\"y\"/>");
    EXPECT_EQ(
        TReaderKit().Error(Selector("<section><allout idref=\"1\" count=\"\"/></section>")),
        "Значение параметра должно быть числом\r\n<allout idref=\"1\" count=\"\" random=\"y\"/>");

    // "all" is an identifier like any other here.
    TReaderKit all;
    all.Read(Selector("<section><allout idref=\"all\"/></section>"));
    EXPECT_THAT(all.Doc.Sections.GetItem(0).AllPool.Values(), ElementsAre(3));
    EXPECT_EQ(TReaderKit().Error(QuestionsXml("<single/>", "<selector><section><allout "
                                                           "idref=\"all\"/></section></selector>")),
              "Вопрос с id=all не найден\r\n<allout idref=\"all\" random=\"y\"/>");
}

} // namespace
} // namespace stellik::testing
