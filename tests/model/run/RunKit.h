// tests/model/run/RunKit.h -- a small question kind and helpers to build and drive runs
#pragma once

#include "model/TestDoc.h"

#include <string>
#include <vector>

namespace stellik::testing {

// A kind of our own: one text value per answer, right when it equals the answer's Right.
// Answered as soon as any value is given, so a wrong value ends the question with 0 points.
class TProbeQuest : public TQuestion {
public:
    static constexpr int KindCode = 77; // no kind of the system uses it

    bool GetInputAttrs(TWideStrings&) const override { return false; }
    bool GetInputContent(TWideStrings&) const override { return false; }
    std::u16string GetKindName() const override { return u"probe"; }
    int GetKindCode() const override { return KindCode; }
    std::unique_ptr<TAnswer> CreateAnswer() const override;
    int GetMaxRating() const override;
    TCheckResult Check() const override;
    TPointsResult CalcPoints() const override;
};

void RegisterProbeKind(); // idempotent
// How many times probe questions have been rated since the last reset of the count.
int ProbeRatingCount();
void ResetProbeRatingCount();

// A probe question with one answer worth points whose right value is "a".
TQuestion& AddProbe(TTestDoc& doc, int points = 1);
// A section with the given all pool, shown in pool order.
TSection& AddOrderedSection(TTestDoc& doc, std::vector<int> allPool);

// Buffers value for answer 0 of question index and submits.
void Answer(TTestDoc& doc, int index, const std::u16string& value);

struct TShown {
    int Id;
    int Number;
    bool operator==(const TShown&) const = default;
};
// The questions of a page or document, in order, from their "question-out" lines.
std::vector<TShown> ShownQuestions(const TWideStrings& lines);
bool HasLine(const TWideStrings& lines, const std::u16string& line);
// The lines between the first "<test-stop>" and "</test-stop>"; empty without a stop block.
TWideStrings StopBlock(const TWideStrings& lines);

} // namespace stellik::testing
