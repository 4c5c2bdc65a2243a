// Which result message fits a question or a section best, and how a message is written.
#include "FixedQuestion.h"

#include "model/Messages.h"
#include "platform/Exception.h"

namespace stellik::testing {
namespace {

class MessagesTest : public ::testing::Test {
protected:
    TTestMessage* Add(TTargetClass target, const std::vector<int>& states,
                      const std::vector<int>& ids) {
        auto message = std::make_unique<TTestMessage>();
        message->TargetClass = target;
        SetList(message->States, states);
        SetList(message->Ids, ids);
        return &Messages.GetItem(Messages.Add(std::move(message)));
    }

    // Gives obj the position index and the result state (0 good, 1 middle, 2 bad).
    static void Rate(TTestObject& obj, int index, int state) {
        obj.Index = index;
        obj.MaxRating = 4;
        obj.Rating = state == ResultGood ? 4 : state == ResultMiddle ? -2 : 0;
    }

    TMessagesList Messages;
    TFixedQuestion Question;
    TQuestionList NoQuestions;
    TSection Section{&NoQuestions};
};

TEST_F(MessagesTest, OnlyMessagesForTheObjectsKindFit) {
    TTestMessage* forSections = Add(TTargetClass::Section, {}, {});
    TTestMessage* forQuestions = Add(TTargetClass::Question, {}, {});
    Add(TTargetClass::None, {}, {});
    EXPECT_EQ(forQuestions->Score(Question), 2);
    EXPECT_EQ(forSections->Score(Question), 0);
    EXPECT_EQ(Messages.FindBest(Question), forQuestions);
    EXPECT_EQ(Messages.FindBest(Section), forSections);

    class TOther : public TTestObject {
        TPointsResult CalcRating() override { return {}; }
        int Reset() override { return 0; }
        void WriteOwnSummary(TWideStrings&) const override {}
    } other;
    EXPECT_THROW(Messages.FindBest(other), Exception);
}

TEST_F(MessagesTest, NamingTheObjectAndItsStateScoresHighest) {
    TTestMessage* a = Add(TTargetClass::Question, {0}, {});
    TTestMessage* b = Add(TTargetClass::Question, {0}, {3});
    TTestMessage* c = Add(TTargetClass::Question, {}, {});
    Rate(Question, 3, ResultGood);
    EXPECT_EQ(a->Score(Question), 3);
    EXPECT_EQ(b->Score(Question), 4);
    EXPECT_EQ(Messages.FindBest(Question), b);
    Rate(Question, 5, ResultGood);
    EXPECT_EQ(b->Score(Question), 0);
    EXPECT_EQ(Messages.FindBest(Question), a);
    Rate(Question, 5, ResultBad);
    EXPECT_EQ(Messages.FindBest(Question), c);
}

TEST_F(MessagesTest, LaterOfEqualScoresWinsAndNothingBelowTwoIsChosen) {
    Add(TTargetClass::Section, {}, {1});
    TTestMessage* later = Add(TTargetClass::Section, {2}, {});
    Add(TTargetClass::Section, {}, {}); // a lower score after them does not replace them
    Rate(Section, 1, ResultBad);
    EXPECT_EQ(Messages.FindBest(Section), later);
    Rate(Section, 0, ResultGood);
    Messages.Clear();
    Add(TTargetClass::Section, {1, 2}, {});
    Add(TTargetClass::Section, {}, {1});
    EXPECT_EQ(Messages.FindBest(Section), nullptr);
}

TEST_F(MessagesTest, StatesOfMiddleAndBadFitEverythingButAFullResult) {
    TTestMessage* message = Add(TTargetClass::Section, {1, 2}, {});
    for (const int state : {ResultMiddle, ResultBad}) {
        Rate(Section, 0, state);
        EXPECT_EQ(message->Score(Section), 3) << state;
    }
    Section.MaxRating = Section.Rating = 0; // nothing to reach counts as a full result
    EXPECT_EQ(message->Score(Section), 0);
}

TEST_F(MessagesTest, MessageIsWrittenAsMarkupAndTheListChecksPositions) {
    TTestMessage* message = Add(TTargetClass::Question, {}, {});
    message->Text = u"<b>Верно</b> &amp; всё";
    TWideStrings lines{u"before"};
    message->Write(lines);
    EXPECT_EQ(lines, (TWideStrings{u"before", u"<message-out>", u"<b>Верно</b> &amp; всё",
                                   u"</message-out>"}));
    Messages.Insert(0, std::make_unique<TTestMessage>());
    EXPECT_EQ(&Messages.GetItem(1), message);
    EXPECT_THROW(Messages.Insert(3, std::make_unique<TTestMessage>()), EListError);
    EXPECT_THROW(Messages.GetItem(2), EListError);
}

} // namespace
} // namespace stellik::testing
