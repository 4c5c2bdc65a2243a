// Which questions a section offers in a run, its rating over them and its pieces of a page.
#include "FixedQuestion.h"

#include "platform/Exception.h"

#include <algorithm>

namespace stellik::testing {
namespace {

using V = std::vector<int>;

TEST_F(SectionsTest, CountsWithinThePoolTakeTheFirstQuestionsOthersTheWholePool) {
    TSection& section = AddSection({0, 1, 2});
    section.AllRequested = 2;
    StartRun();
    EXPECT_EQ(Positions(section), (V{0, 1}));
    EXPECT_EQ(SelectedPositions(), (V{0, 1})); // the one left out stays free for the run
    for (const int requested : {0, -1, 3, 5}) {
        section.AllRequested = requested;
        StartRun();
        EXPECT_EQ(Positions(section), (V{0, 1, 2})) << requested;
        EXPECT_EQ(section.AllCount, 3) << requested;
    }
}

TEST_F(SectionsTest, AQuestionIsOfferedOnceWhereverItIsListed) {
    TSection& first = AddSection({0, 1, 3, 3});
    SetList(first.GoodPool, {1, 2, 4});
    first.GoodRequested = 3;
    TSection& second = AddSection({4, 5, 0});
    StartRun();
    EXPECT_EQ(Positions(first), (V{0, 1, 3, 2, 4}));
    EXPECT_EQ(first.AllCount, 3);
    EXPECT_EQ(first.GoodCount, 2); // shrinks to what is still unselected
    EXPECT_EQ(first.MaxRating, 10);
    EXPECT_EQ(Positions(second), (V{5}));
    EXPECT_EQ(second.PlannedCount(0), 1);
}

TEST_F(SectionsTest, QuestionsLeftOutOfARandomSelectionRemainForLaterSections) {
    TSection& first = AddSection({0, 1, 2, 3, 4});
    first.AllRequested = 2;
    first.AllRandom = true;
    TSection& second = AddSection({4, 3, 2, 1, 0});
    StartRun();
    V both = Positions(first);
    ASSERT_EQ(both.size(), 2U);
    const V rest = Positions(second);
    both.insert(both.end(), rest.begin(), rest.end());
    std::sort(both.begin(), both.end());
    EXPECT_EQ(both, (V{0, 1, 2, 3, 4}));
}

TEST_F(SectionsTest, LevelsReplaceOnlyTheLevelQuestionsAndNeverBringDroppedOnesBack) {
    TSection& section = AddSection({0, 1});
    SetList(section.GoodPool, {2, 3});
    SetList(section.MidPool, {4, 5});
    SetList(section.BadPool, {6});
    StartRun();
    EXPECT_EQ(section.PlannedCount(1), 4);
    EXPECT_EQ(section.PlannedCount(2), 3);
    section.SetLevel(-1); // already 0: nothing changes
    EXPECT_EQ(Positions(section), (V{0, 1, 2, 3}));
    section.SetLevel(1);
    EXPECT_EQ(Positions(section), (V{0, 1, 4, 5}));
    section.SetLevel(2);
    EXPECT_EQ(Positions(section), (V{0, 1, 6}));
    section.SetLevel(0);
    EXPECT_EQ(Positions(section), (V{0, 1}));
    EXPECT_EQ(section.PlannedCount(0), 2);
    EXPECT_EQ(section.MaxRating, 8); // fixed at the start of the run

    StartRun(); // the next run starts afresh at level 0
    EXPECT_EQ(Positions(section), (V{0, 1, 2, 3}));
    for (const int level : {3, -2}) {
        section.SetLevel(level);
        EXPECT_EQ(Positions(section), (V{0, 1})) << level;
        EXPECT_EQ(section.PlannedCount(level), 2) << level;
    }
}

TEST_F(SectionsTest, BadPoolEntryOrMissingQuestionListFails) {
    AddSection({0, 1, 12});
    EXPECT_THROW(
        try { StartRun(); } catch (const EListError& e) {
            EXPECT_STREQ(e.what(), "List index out of bounds (12)");
            throw;
        },
        EListError);
    EXPECT_EQ(SelectedPositions(), V{});
    EXPECT_THROW(
        try { TSection section(nullptr); } catch (const Exception& e) {
            EXPECT_STREQ(e.what(), "Not Assigned Questions");
            throw;
        },
        Exception);
}

TEST_F(SectionsTest, RatingSumsTheAnsweredQuestionsOfTheSelection) {
    TSection& empty = AddSection();
    TSection& section = AddSection({0, 1, 2});
    SetList(section.BadPool, {3});
    Question(3).Reached = {2, true}; // answered, but outside the selection
    Question(0).Reached = {2, true};
    Question(1).Reached = {-1, true};
    Question(2).Reached = {5, false}; // unanswered points do not count
    StartRun();
    empty.UpdateRating();
    EXPECT_TRUE(empty.Answered);
    EXPECT_EQ(empty.ResultState(), ResultGood);
    section.UpdateRating();
    EXPECT_EQ(section.Rating, 1);
    EXPECT_EQ(section.GetAnsweredCount(), 2);
    EXPECT_FALSE(section.Answered);
    EXPECT_EQ(section.Percent, 17);

    Question(2).Reached = {2, true};
    section.SetLevel(2);
    section.UpdateRating();
    EXPECT_TRUE(section.Answered);
    EXPECT_EQ(section.Rating, 5);
    EXPECT_EQ(section.GetAnsweredCount(), 4);
    EXPECT_EQ(section.MaxRating, 6);
}

TEST_F(SectionsTest, SectionWritesNumberPositionEscapedNameAndSummary) {
    AddSection();
    AddSection();
    TSection& third = AddSection({4, 5});
    third.Name = u"Часть <B> & C";
    Question(5).Reached = {2, true};
    StartRun();
    third.UpdateRating();
    TWideStrings lines;
    third.WriteSectionStart(lines);
    third.WriteSectionEnd(lines);
    const TWideStrings expected = {u"<section-out number=\"3\" id=\"2\" >",
                                   u"<section-name>",
                                   u"Часть &lt;B&gt; &amp; C",
                                   u"</section-name>",
                                   u"<summary>",
                                   u"<questions>",
                                   u"<count>",
                                   u"2",
                                   u"</count>",
                                   u"<answered>",
                                   u"1",
                                   u"</answered>",
                                   u"</questions>",
                                   u"<rating>",
                                   u"<max>",
                                   u"4",
                                   u"</max>",
                                   u"<current>",
                                   u"2",
                                   u"</current>",
                                   u"<in-percent>",
                                   u"50",
                                   u"</in-percent>",
                                   u"</rating>",
                                   u"</summary>",
                                   u"</section-out>"};
    EXPECT_EQ(lines, expected);

    lines.clear();
    Sections.GetItem(0).WriteSectionStart(lines);
    EXPECT_EQ(lines.at(0), u"<section-out number=\"1\" id=\"0\" >");
    EXPECT_EQ(lines.at(1), u"<summary>");
}

TEST_F(SectionsTest, ReferenceIsAPositionWhenItIsANumberElseAnIdentifier) {
    AddSection().Id = u"2";
    EXPECT_EQ(Sections.IndexOfRef(u"2"), -1); // one section: a number is never an identifier
    AddSection().Id = u"s2";
    AddSection().Id = u"2x";
    EXPECT_EQ(Sections.IndexOfRef(u"2"), 1);
    EXPECT_EQ(Sections.IndexOfRef(u"x1"), 0);
    EXPECT_EQ(Sections.IndexOfRef(u" $3"), 2);
    EXPECT_EQ(Sections.IndexOfRef(u"0"), -1);
    EXPECT_EQ(Sections.IndexOfRef(u"s2"), 1);
    EXPECT_EQ(Sections.IndexOfRef(u"S2"), -1);
    EXPECT_EQ(Sections.IndexOfRef(u"2x"), 2);
    EXPECT_THROW(Sections.Insert(4, std::make_unique<TSection>(&Questions)), EListError);
    EXPECT_THROW(Sections.GetItem(3), EListError);
}

} // namespace
} // namespace stellik::testing
