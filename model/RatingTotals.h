// model/RatingTotals.h -- the test's totals over its sections, kept current section by section
#pragma once

#include <array>
#include <vector>

namespace stellik {

class TSection;

// What the test's totals hold of each section, so that an answer costs the same in a large test
// as in a small one: only the sections that an answer or a new selection has touched are
// taken out of the totals and put back in.
class TRatingTotals {
public:
    struct TChange {
        int Section;     // position in the section list
        bool Reselected; // its selection was made anew: all its questions must be rated again
    };

    void Clear(int sectionCount); // no section counted, none pending
    int GetSectionCount() const { return static_cast<int>(Shares.size()); }
    // Replaces what the totals hold of the section at that position by its current state.
    void Count(int position, const TSection& section);
    // Notes that the section (found by its Index) must be counted again; false when no section
    // is counted at that position.
    bool MarkChanged(const TSection& section, bool reselected);
    bool IsReselected(const TSection& section) const;
    std::vector<TChange> TakeChanges(); // in the order first marked; none pending afterwards

    long long GetPoints() const { return Sums.Points; }
    int GetAnsweredQuestions() const { return static_cast<int>(Sums.AnsweredQuestions); }
    int GetAnsweredSections() const { return static_cast<int>(Sums.AnsweredSections); }
    long long GetPlanned(int level) const; // the sections' PlannedCount(level) added up

private:
    // One section's part of the totals; the sums have the same shape.
    struct TPart {
        long long Points = 0;
        long long AnsweredQuestions = 0;
        long long AnsweredSections = 0;
        std::array<long long, 4> Planned{}; // for levels 0, 1, 2 and any other level
    };
    struct TShare {
        TPart Part;
        bool Pending = false;
        bool Reselected = false;
    };

    bool Holds(const TSection& section) const;

    std::vector<TShare> Shares; // by section position
    std::vector<int> Pending;
    TPart Sums;
};

} // namespace stellik
