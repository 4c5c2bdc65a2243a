#include "model/RatingTotals.h"

#include "model/Section.h"

namespace stellik {

namespace {

// The slot of a level in the planned counts: 0, 1 and 2 have their own, any other the last.
std::size_t PlannedSlot(int level) {
    return level >= 0 && level <= 2 ? static_cast<std::size_t>(level) : 3;
}

} // namespace

void TRatingTotals::Clear(int sectionCount) {
    Shares.assign(static_cast<std::size_t>(sectionCount), TShare{});
    Pending.clear();
    Sums = TPart{};
}

bool TRatingTotals::Holds(const TSection& section) const {
    return section.Index >= 0 && section.Index < GetSectionCount();
}

void TRatingTotals::Count(int position, const TSection& section) {
    TPart now;
    now.Points = section.Rating;
    now.AnsweredQuestions = section.GetAnsweredCount();
    now.AnsweredSections = section.Answered ? 1 : 0;
    for (int level : {0, 1, 2, -1}) {
        now.Planned[PlannedSlot(level)] = section.PlannedCount(level);
    }
    TPart& held = Shares.at(static_cast<std::size_t>(position)).Part;
    Sums.Points += now.Points - held.Points;
    Sums.AnsweredQuestions += now.AnsweredQuestions - held.AnsweredQuestions;
    Sums.AnsweredSections += now.AnsweredSections - held.AnsweredSections;
    for (std::size_t i = 0; i < now.Planned.size(); ++i) {
        Sums.Planned[i] += now.Planned[i] - held.Planned[i];
    }
    held = now;
}

bool TRatingTotals::MarkChanged(const TSection& section, bool reselected) {
    if (!Holds(section)) {
        return false;
    }
    TShare& share = Shares[static_cast<std::size_t>(section.Index)];
    if (!share.Pending) {
        share.Pending = true;
        Pending.push_back(section.Index);
    }
    share.Reselected = share.Reselected || reselected;
    return true;
}

bool TRatingTotals::IsReselected(const TSection& section) const {
    return Holds(section) && Shares[static_cast<std::size_t>(section.Index)].Reselected;
}

std::vector<TRatingTotals::TChange> TRatingTotals::TakeChanges() {
    std::vector<TChange> changes;
    changes.reserve(Pending.size());
    for (int index : Pending) {
        TShare& share = Shares[static_cast<std::size_t>(index)];
        changes.push_back(TChange{index, share.Reselected});
        share.Pending = false;
        share.Reselected = false;
    }
    Pending.clear();
    return changes;
}

long long TRatingTotals::GetPlanned(int level) const {
    return Sums.Planned[PlannedSlot(level)];
}

} // namespace stellik
