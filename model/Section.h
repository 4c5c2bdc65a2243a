// model/Section.h -- a group of questions selected from pools for each run
#pragma once

#include "model/IntegerList.h"
#include "model/OwnedList.h"
#include "model/QuestionList.h"
#include "model/TestObject.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace stellik {

class TSection : public TTestObject {
public:
    // allQuestions: the test's question list (not owned); nullptr raises "Not Assigned Questions".
    explicit TSection(const TQuestionList* allQuestions);

    TPointsResult CalcRating() override; // every question of the selection afresh
    int Reset() override;
    void WriteOwnSummary(TWideStrings& lines) const override;

    // Rates one question of the selection afresh and brings the section's rating up to date by
    // that question's difference alone: the rest of the selection must be rated already.
    void RateQuestion(TQuestion& question);
    void SetLevel(int level);          // -1 becomes 0; rebuilds when the level changes
    int PlannedCount(int level) const; // AllCount plus the effective count of that level's pool
    int GetAnsweredCount() const { return AnsweredCount; }
    void WriteSectionStart(TWideStrings& lines) const;
    void WriteSectionEnd(TWideStrings& lines) const;

    TIntegerList AllPool, BadPool, MidPool, GoodPool;
    int AnsweredCount = 0;
    TQuestionRefs Questions; // the run's selection, in the order offered
    int AllRequested = 0, MidRequested = 0, BadRequested = 0, GoodRequested = 0;
    int AllCount = 0, MidCount = 0, BadCount = 0, GoodCount = 0;
    int Level = 0;
    const TQuestionList* AllQuestions; // not owned
    bool AllRandom = true, MidRandom = true, GoodRandom = true, BadRandom = true;
    std::u16string Name;
    // Fired when the run's selection has been made anew (Reset, a new level): the section's
    // rating no longer describes it.
    std::function<void(TSection& sender)> OnSelectionChanged;

private:
    void SelectFrom(const TIntegerList& pool, TQuestionRefs& target, bool random, int& count);
    void Rebuild();
    void DropFrom(std::size_t first); // Questions from first on leave the selection list
    void SelectionMade();             // claims the selection's questions, fires the event
    TPointsResult Totals() const;

    long long PointsSum = 0; // the answered questions' ratings, added up exactly
};

class TSectionList : public TOwnedList<TSection> {
public:
    // A 1-based position when ref converts to an integer, else the first exact Id match.
    int IndexOfRef(std::u16string_view ref) const { return IndexOfRefIn(ref); }
};

} // namespace stellik
