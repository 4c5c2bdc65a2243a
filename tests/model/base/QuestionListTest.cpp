#include "SampleKind.h"

#include "model/QuestionList.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TQuestionList ListWithIds(std::initializer_list<const char16_t*> ids) {
    TQuestionList list;
    for (const char16_t* id : ids) {
        auto question = std::make_unique<TSampleQuest>();
        question->Id = id;
        list.Add(std::move(question));
    }
    return list;
}

std::vector<std::u16string> Ids(const TQuestionList& list) {
    std::vector<std::u16string> ids;
    for (int i = 0; i < list.GetCount(); ++i) {
        ids.push_back(list.GetItem(i).Id);
    }
    return ids;
}

TEST(QuestionList, NumbersArePositionsAndNeverFallBackToIdentifiers) {
    const TQuestionList list = ListWithIds({u"x2", u"5", u"q", u"Вопрос"});
    EXPECT_EQ(list.IndexOfRef("1"), 0);
    EXPECT_EQ(list.IndexOfRef("4"), 3);
    EXPECT_EQ(list.IndexOfRef(" $3"), 2);
    EXPECT_EQ(list.IndexOfRef("0X2"), 1);
    EXPECT_EQ(list.IndexOfRef("x2"), 1); // converts as hexadecimal before any Id is looked at
    EXPECT_EQ(list.IndexOfRef("5"), -1); // out of range, though an Id reads "5"
    EXPECT_EQ(list.IndexOfRef("0"), -1);
    EXPECT_EQ(list.IndexOfRef("-1"), -1);
}

TEST(QuestionList, OtherReferencesMatchIdentifiersExactly) {
    const TQuestionList list = ListWithIds({u"q", u"Q", u"q", u"Вопрос", u""});
    EXPECT_EQ(list.IndexOfRef("q"), 0); // the first of equal Ids
    EXPECT_EQ(list.IndexOfRef("Q"), 1);
    EXPECT_EQ(list.IndexOfRef("Вопрос"), 3);
    EXPECT_EQ(list.IndexOfRef("вопрос"), -1);
    EXPECT_EQ(list.IndexOfRef("q "), -1);
    EXPECT_EQ(list.IndexOfRef("none"), -1);
    EXPECT_EQ(list.IndexOfRef(""), 4); // an empty text is no number, so it is an identifier
}

TEST(QuestionList, InsertMoveAndDeleteKeepTheRestInOrder) {
    TQuestionList list = ListWithIds({u"a", u"b", u"c"});
    list.Insert(3, std::make_unique<TSampleQuest>());
    list.Move(0, 2);
    EXPECT_EQ(Ids(list), (std::vector<std::u16string>{u"b", u"c", u"a", u""}));
    list.Move(3, 0);
    list.Delete(1);
    EXPECT_EQ(Ids(list), (std::vector<std::u16string>{u"", u"c", u"a"}));
    EXPECT_THROW(list.Insert(4, std::make_unique<TSampleQuest>()), EListError);
    EXPECT_THROW(list.Move(0, 3), EListError);
    EXPECT_THROW(list.Delete(3), EListError);
    EXPECT_EQ(list.GetCount(), 3);
}

} // namespace
} // namespace stellik::testing
