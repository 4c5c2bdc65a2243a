// model/TestDoc.h -- the whole test and the engine of a run
#pragma once

#include "model/Lines.h"
#include "model/MarkProfiles.h"
#include "model/Messages.h"
#include "model/OutManagers.h"
#include "model/QuestionList.h"
#include "model/RatingTotals.h"
#include "model/Section.h"
#include "model/TestObject.h"
#include "platform/DateTime.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace stellik {

struct TAnswerRec {
    int Index = 0;           // the question's position in Questions
    std::u16string AnswerId; // the answer's position as decimal text
    std::u16string Value;
};

class TAnswerBuf {
public:
    // The value loses the characters no XML document can hold (DropNonXmlChars): it reaches
    // the report and the results, which must stay readable whatever was typed or forged.
    void Add(int index, const std::u16string& answerId, const std::u16string& value);
    int GetCount() const { return static_cast<int>(Items.size()); }
    const TAnswerRec& GetItem(int i) const; // list index error outside 0..Count-1
    void Clear() { Items.clear(); }

private:
    std::vector<TAnswerRec> Items;
};

class TTestDoc : public TTestObject {
public:
    TTestDoc() = default;

    // Building (the reader). at: -1 appends, 0..Count inserts and shifts stored positions.
    TQuestion* AddQuestion(int kindCode, int at); // nullptr when no kind has that code
    TSection* AddSection(int at);
    TTestMessage* AddMessage(int at);
    TWideStrings& GetAbstract() { return Abstract; }
    void Clear();

    // Running (the shell).
    // mode 0 step, 1 list, 2 step with messages; any other raises and changes nothing.
    // level -1: adaptive.
    void StartRun(uint8_t mode, int level);
    void BufferAnswer(const std::u16string& questionIndex, const std::u16string& answerId,
                      const std::u16string& value);
    // Once the producer has finished (or before any run) both only empty the answer buffer:
    // the run stays stopped and the last document stands.
    void SubmitAnswers();
    void SkipQuestion();
    void Stop(const std::u16string& reason);
    void SetStopReason(const std::u16string& reason);
    void Tick(); // one second; a limit runs out when less than half a second of it is left
    const TWideStrings& GetOutput() const { return Output; }
    bool IsRunning() const { return Running; } // cleared by every stop
    // Empty while running; "test-end" or "time-out" after a stop.
    const std::u16string& GetStopReason() const { return StopReason; }
    // The page producer of the current run; nullptr until the first run.
    const TOutManager* GetOutManager() const { return OutManager.get(); }
    void WriteReport();
    void WriteRunDocument(); // nothing before the first run (there is no producer yet)

    // Rates what has changed since the last rating: the questions given values, the sections
    // holding them or whose selection was made anew, and the totals; the result is that of
    // rating everything afresh.
    TPointsResult CalcRating() override;
    int Reset() override;
    void WriteOwnSummary(TWideStrings& lines) const override;
    // The next rating goes over every question, section and the test, as the first of a run.
    void InvalidateRatings() { FullRatingDue = true; }

    static void WriteDate(const std::u16string& name, TWideStrings& list, TDateTime date);
    static void WriteTime(const std::u16string& name, TWideStrings& list, TDateTime time);

    TSectionList Sections;
    TQuestionList Questions;
    TMessagesList Messages;
    int AnsweredQuestions = 0;
    int AnsweredSections = 0;
    std::u16string Name;
    std::u16string Author;
    TWideStrings Abstract;
    TAnswerBuf AnswerBuf;
    bool Started = false;
    int PlannedQuestions = 0;
    TDateTime TestTime = 0; // 0: no limit
    TDateTime PassTime = 0; // PassSeconds in days
    int PassSeconds = 0;    // whole seconds counted by Tick, so no rounding error builds up
    TDateTime LeftTime = 0;
    TMarkProfileList MarkProfiles;
    TDateTime StartTime = 0;
    bool ShowRight = false;

private:
    // The run state: only the engine's run operations change it.
    TWideStrings Output;
    std::unique_ptr<TOutManager> OutManager; // none until the first run
    std::u16string StopReason;
    bool Running = false;

    static void ShiftIndexes(int at, TIntegerList& list);
    void ShiftMessageIds(TTargetClass target, int at);
    void RateEverySection();
    void RateChanges();

    TRatingTotals Totals;              // the sections' ratings and counts added up
    std::vector<int> ChangedQuestions; // positions of questions given values since the last rating
    bool FullRatingDue = true;         // the next rating goes over everything
};

} // namespace stellik
