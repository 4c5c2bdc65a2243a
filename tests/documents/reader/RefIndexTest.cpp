// References to questions and sections: the look-up index against the lists' own scan, and
// reading time that grows with the number of references, not with its square.
#include "ReaderKit.h"

#include "documents/RefIndex.h"
#include "model/QuestionManager.h"
#include "model/Section.h"
#include "tests/support/Growth.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace stellik::testing {
namespace {

using ::testing::ElementsAre;

// Identifiers of the items, in list order: two equal ones, an empty one, one that looks like a
// hexadecimal position and one of digits (the model takes them; documents refuse the last).
const char16_t* const ItemIds[] = {u"q1", u"", u"q7", u"q7", u"x1", u"9"};

struct TRefCase {
    const char* Ref;
    int Index;
    const char* Why;
};

const TRefCase RefCases[] = {
    {"1", 0, "a number is a 1-based position"},
    {"6", 5, "the last position"},
    {"0", -1, "positions start at 1"},
    {"7", -1, "beyond the last position"},
    {"9", -1, "a number never falls back to the identifiers"},
    {"-1", -1, "a negative position"},
    {"x1", 0, "a hexadecimal number is a position, though an item has that identifier"},
    {"$2", 1, "the other hexadecimal prefixes"},
    {"0x3", 2, ""},
    {" 2", 1, "leading blanks before a number"},
    {"2 ", -1, "nothing may follow a number: an identifier, which no item has"},
    {"q1", 0, "an identifier"},
    {"q7", 2, "the first of equal identifiers"},
    {"Q7", -1, "identifiers compare with regard to case"},
    {"q2", -1, "an identifier no item has"},
    {"all", -1, "no word has a meaning of its own"},
    {"", 1, "the empty reference is the first item without an identifier"},
};

// The lists' own scans take references in the forms their callers hold.
int ScanFor(const TQuestionList& list, const char* ref) {
    return list.IndexOfRef(ref);
}
int ScanFor(const TSectionList& list, const char* ref) {
    return list.IndexOfRef(Utf8ToUtf16(ref));
}

template <typename TList> void ExpectTheCases(const TList& list) {
    const TRefIndex index(list);
    for (const TRefCase& c : RefCases) {
        EXPECT_EQ(index.IndexOfRef(c.Ref), c.Index) << "'" << c.Ref << "': " << c.Why;
        EXPECT_EQ(ScanFor(list, c.Ref), c.Index) << "the list's scan, '" << c.Ref;
    }
}

TEST(RefIndex, QuestionReferencesResolveAsTheListDoes) {
    RegisterQuestionKinds();
    TTestDoc doc;
    for (const char16_t* id : ItemIds) {
        doc.AddQuestion(0, -1)->Id = id;
    }
    ExpectTheCases(doc.Questions);
}

TEST(RefIndex, SectionReferencesResolveAsTheListDoes) {
    TTestDoc doc;
    for (const char16_t* id : ItemIds) {
        doc.AddSection(-1)->Id = id;
    }
    ExpectTheCases(doc.Sections);
}

TEST(RefIndex, SectionMessagesNameSectionsByPositionOrIdentifier) {
    const auto read = [](const std::string& idref, std::vector<int>* ids) {
        TReaderKit kit;
        const std::string error = kit.Error(QuestionsXml(
            "<single/>", "<selector><section id=\"a\"/><section/><section id=\"x2\"/></selector>"
                         "<messages><sectmsg idref=\"" +
                             idref + "\">m</sectmsg></messages>"));
        if (error.empty()) {
            *ids = kit.Doc.Messages.GetItem(0).Ids.Values();
        }
        return error;
    };
    std::vector<int> ids;
    EXPECT_EQ(read("x2 3 a 2 a $1", &ids), "");
    EXPECT_THAT(ids, ElementsAre(1, 2, 0, 1, 0, 0)) << "x2 is the second section, not the third";
    for (const char* missing : {"A", "0", "4", "b"}) {
        EXPECT_EQ(read(std::string("a ") + missing, &ids),
                  std::string("Секция с id=") + missing + " не найдена\r\n<sectmsg idref=\"a " +
                      missing + "\" idrating=\"all\">m</sectmsg>");
    }
}

// Reading the document that make(count) gives grows with count and no faster.
void ExpectLinearReading(const std::function<std::string(int)>& make, int count) {
    std::map<size_t, std::string> documents;
    for (const int n : {count, 4 * count}) {
        documents[static_cast<size_t>(n)] = make(n);
    }
    const auto read = [&](size_t n) {
        TReaderKit kit;
        kit.Read(documents.at(n));
    };
    EXPECT_TRUE(ScalesLinearly(BestCpuSeconds(read), static_cast<size_t>(count)));
}

TEST(RefIndex, ReadingGrowsWithTheSectionReferences) {
    ExpectLinearReading(
        [](int count) {
            // Identifiers of one length with a long common start, as a scan compares them
            // slowest.
            const auto id = [](int i) {
                const std::string digits = std::to_string(100000 + i);
                return std::string(48, 's') + digits;
            };
            std::string sections;
            std::string messages;
            for (int i = 0; i < count; ++i) {
                sections += "<section id=\"" + id(i) + "\"/>";
                messages += "<sectmsg idref=\"" + id(count - 1 - i) + "\"/>";
            }
            return QuestionsXml("<single/>", "<selector>" + sections + "</selector><messages>" +
                                                 messages + "</messages>");
        },
        2000);
}

TEST(RefIndex, ReadingGrowsWithTheQuestionReferences) {
    ExpectLinearReading(
        [](int count) {
            std::string questions;
            std::string refs;
            for (int i = 0; i < count; ++i) {
                questions += "<single id=\"q" + std::to_string(i) + "\"/>";
                refs += "q" + std::to_string(count - 1 - i) + " ";
            }
            return QuestionsXml(questions, "<selector><section><allout idref=\"" + refs +
                                               "\"/></section></selector>");
        },
        2000);
}

} // namespace
} // namespace stellik::testing
