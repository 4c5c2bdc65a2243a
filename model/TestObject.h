// model/TestObject.h -- base of every rated object: question, section, test document
#pragma once

#include "model/Lines.h"

#include <string>

namespace stellik {

class TMarkProfile;

struct TPointsResult {
    int Points = 0;
    bool Answered = false;
};

// Result states; also the result kinds of pools and message filters (-1 = all).
enum : int { ResultAll = -1, ResultGood = 0, ResultMiddle = 1, ResultBad = 2 };

class TTestObject {
public:
    TTestObject() = default;
    virtual ~TTestObject() = default;
    TTestObject(const TTestObject&) = delete;
    TTestObject& operator=(const TTestObject&) = delete;

    int ResultState() const; // 0 good (Rating = MaxRating), 1 middle (Rating <> 0), 2 bad
    int ResetRating();       // Answered := False, Rating := 0, MaxRating := Reset()
    void UpdateRating();     // Rating/Answered from CalcRating, then Percent and Mark
    void WriteSummary(TWideStrings& lines) const;

    virtual TPointsResult CalcRating() = 0;
    virtual int Reset() = 0; // prepares a new run; returns the maximum rating
    virtual void WriteOwnSummary(TWideStrings& lines) const = 0;

    std::u16string Id;
    bool Answered = false;
    int MaxRating = 0;
    int Rating = 0;
    int Index = 0;
    int Percent = 0;
    const TMarkProfile* MarkProfile = nullptr; // not owned
    std::u16string Mark;

protected:
    // Stores a rating computed elsewhere as UpdateRating would: Rating, Answered, Percent, Mark.
    void SetRating(const TPointsResult& result);
};

// Rating / MaxRating * 100 in 80-bit extended precision, rounded half to even; 0 when
// MaxRating is 0.
int CalcPercent(int rating, int maxRating);

} // namespace stellik
