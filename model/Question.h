// model/Question.h -- the question as the engine holds it; the kinds derive from it
#pragma once

#include "model/Answers.h"
#include "model/IntegerList.h"
#include "model/QuestionContent.h"
#include "model/TestObject.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace stellik {

class TSection;

struct TCheckResult {
    bool Right = false;
    bool Answered = false;
};

class TQuestion : public TTestObject {
public:
    TQuestion() = default;

    // Creates an answer of the kind's class, appends it and, in free layout, links it into
    // the content read so far. Owned by Answers.
    TAnswer* AddAnswer();
    // indexText: the answer's position as text (integer conversion); silently ignored when it
    // does not convert or is out of range.
    void SetAnswerValue(std::string_view indexText, const std::u16string& value);

    void WriteQuestionIn(TWideStrings& list) const;  // input tags, for run pages
    void WriteQuestionOut(TWideStrings& list) const; // output tags with values, for the report

    TPointsResult CalcRating() override;
    int Reset() override;
    void WriteOwnSummary(TWideStrings& lines) const override;

    // The kind's operations.
    virtual bool GetInputAttrs(TWideStrings& list) const = 0;
    virtual bool GetInputContent(TWideStrings& list) const = 0;
    virtual std::u16string GetKindName() const = 0;
    virtual int GetKindCode() const = 0;
    virtual std::unique_ptr<TAnswer> CreateAnswer() const = 0; // an answer of the kind's class
    virtual int GetMaxRating() const = 0;                      // under points per answer
    virtual TCheckResult Check() const = 0;                    // under fixed question points
    virtual TPointsResult CalcPoints() const = 0;              // under points per answer

    bool Shuffle = false;
    bool FreeLayout = false;
    TAnswerList Answers;
    TQuestionContent Content;
    TIntegerList Order; // display order: positions in Answers, rebuilt by Reset
    int Number = 0;
    uint8_t TextPos = 2; // 2 text before the answer box, 3 after it
    uint8_t Layout = 0;  // below 2 horizontal, else vertical; all but 0 and 2 put the text first
    bool Selected = false;
    TSection* SelectedBy = nullptr; // not owned: the section whose run selection lists it now
    bool ShowRight = false;
    int QuestionPoints = -1; // -1: points per answer

protected:
    void WriteQuestion(TWideStrings& list, bool asOutput) const;
    void WriteQText(TWideStrings& list) const;
    // "<tagName" with type, owner-id, id, number and, with ShowRight, the right-answer attributes.
    std::u16string GetAnswerTagHead(std::u16string_view tagName, int answerIndex, int number) const;
    std::u16string GetAnswerInput(int answerIndex, int number) const;
    std::u16string GetAnswerOutput(int answerIndex, int number) const;
    std::u16string GetRightAttrs(int answerIndex) const;
};

// "Chosen": the Value is exactly "1". "Marked right": Right, trimmed and lower-cased, is "y".
bool IsChosen(const TAnswer& answer);
bool IsMarkedRight(const TAnswer& answer);

} // namespace stellik
