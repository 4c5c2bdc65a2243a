#include "model/Section.h"

#include "model/AnswerPoints.h"
#include "model/MoveShuffle.h"
#include "model/TextUtils.h"
#include "platform/Convert.h"
#include "platform/Exception.h"
#include "platform/Random.h"

#include <algorithm>
#include <cstddef>

namespace stellik {

namespace {

// A requested count above 0 and within the pool, else the whole pool.
int EffectiveCount(int requested, const TIntegerList& pool) {
    const int available = pool.GetCount();
    return requested > 0 && requested <= available ? requested : available;
}

} // namespace

TSection::TSection(const TQuestionList* allQuestions) : AllQuestions(allQuestions) {
    if (allQuestions == nullptr) {
        throw Exception("Not Assigned Questions");
    }
}

void TSection::SelectFrom(const TIntegerList& pool, TQuestionRefs& target, bool random,
                          int& count) {
    target.clear();
    // Resolve every entry first, so that a bad position fails before any mark is touched.
    TQuestionRefs taken;
    taken.reserve(static_cast<std::size_t>(pool.GetCount()));
    for (const int entry : pool.Values()) {
        taken.push_back(&AllQuestions->GetItem(entry));
    }
    // Keep what no selection of this run holds. Marking while going makes a question listed
    // twice in the pool count once: a question is offered at most once per run.
    for (TQuestion* question : taken) {
        if (!question->Selected) {
            question->Selected = true;
            target.push_back(question);
        }
    }
    const std::size_t kept = target.size();

    const int n = static_cast<int>(kept);
    count = std::clamp(count, 0, n);
    if (random) {
        TRandom::Randomize();
        const std::vector<int> order = MoveShuffleOrder(n);
        TQuestionRefs shuffled;
        shuffled.reserve(kept);
        for (const int from : order) {
            shuffled.push_back(target[static_cast<std::size_t>(from)]);
        }
        target.swap(shuffled);
    }
    // Questions beyond the count are not taken, so later selections of the run may take them.
    for (std::size_t i = static_cast<std::size_t>(count); i < kept; ++i) {
        target[i]->Selected = false;
    }
    target.resize(static_cast<std::size_t>(count));
}

int TSection::Reset() {
    AnsweredCount = 0;
    PointsSum = 0;
    DropFrom(0);
    AllCount = EffectiveCount(AllRequested, AllPool);
    BadCount = EffectiveCount(BadRequested, BadPool);
    MidCount = EffectiveCount(MidRequested, MidPool);
    GoodCount = EffectiveCount(GoodRequested, GoodPool);
    SelectFrom(AllPool, Questions, AllRandom, AllCount);
    Level = 0;
    Rebuild();
    SelectionMade();
    long long maxRating = 0; // exact, then held to 32 bits like the ratings
    for (const TQuestion* question : Questions) {
        maxRating += question->MaxRating;
    }
    return ClampToInt(maxRating);
}

void TSection::Rebuild() {
    // The dropped level questions keep their marks: no later selection of the run takes them.
    DropFrom(static_cast<std::size_t>(std::max(AllCount, 0)));
    TQuestionRefs levelQuestions;
    switch (Level) {
    case ResultGood:
        SelectFrom(GoodPool, levelQuestions, GoodRandom, GoodCount);
        break;
    case ResultMiddle:
        SelectFrom(MidPool, levelQuestions, MidRandom, MidCount);
        break;
    case ResultBad:
        SelectFrom(BadPool, levelQuestions, BadRandom, BadCount);
        break;
    default:
        break;
    }
    Questions.insert(Questions.end(), levelQuestions.begin(), levelQuestions.end());
}

void TSection::SetLevel(int level) {
    const int newLevel = level == ResultAll ? ResultGood : level;
    if (newLevel != Level) {
        Level = newLevel;
        Rebuild();
        SelectionMade();
    }
}

void TSection::DropFrom(std::size_t first) {
    for (std::size_t i = first; i < Questions.size(); ++i) {
        if (Questions[i]->SelectedBy == this) {
            Questions[i]->SelectedBy = nullptr;
        }
    }
    if (Questions.size() > first) {
        Questions.resize(first);
    }
}

void TSection::SelectionMade() {
    for (TQuestion* question : Questions) {
        question->SelectedBy = this;
    }
    if (OnSelectionChanged) {
        OnSelectionChanged(*this);
    }
}

int TSection::PlannedCount(int level) const {
    switch (level) {
    case ResultGood:
        return AllCount + GoodCount;
    case ResultMiddle:
        return AllCount + MidCount;
    case ResultBad:
        return AllCount + BadCount;
    default:
        return AllCount;
    }
}

TPointsResult TSection::CalcRating() {
    AnsweredCount = 0;
    PointsSum = 0;
    for (TQuestion* question : Questions) {
        question->UpdateRating();
        if (question->Answered) {
            PointsSum += question->Rating;
            ++AnsweredCount;
        }
    }
    return Totals();
}

void TSection::RateQuestion(TQuestion& question) {
    const bool wasAnswered = question.Answered;
    const long long wasPoints = wasAnswered ? question.Rating : 0;
    question.UpdateRating();
    PointsSum += (question.Answered ? question.Rating : 0) - wasPoints;
    AnsweredCount += static_cast<int>(question.Answered) - static_cast<int>(wasAnswered);
    SetRating(Totals());
}

TPointsResult TSection::Totals() const {
    // The exact sum is held at the ends of the 32-bit range, so that rating a question alone
    // gives the very result of rating them all.
    return TPointsResult{ClampToInt(PointsSum),
                         AnsweredCount == static_cast<int>(Questions.size())};
}

void TSection::WriteSectionStart(TWideStrings& lines) const {
    lines.push_back(u"<section-out number=\"" + IntToStrW(Index + 1LL) + u"\" id=\"" +
                    IntToStrW(Index) + u"\" >");
    if (!Name.empty()) {
        lines.push_back(u"<section-name>");
        lines.push_back(XmlEscape(Name));
        lines.push_back(u"</section-name>");
    }
    WriteSummary(lines);
}

void TSection::WriteSectionEnd(TWideStrings& lines) const {
    lines.push_back(u"</section-out>");
}

void TSection::WriteOwnSummary(TWideStrings& lines) const {
    lines.insert(lines.end(),
                 {u"<questions>", u"<count>", IntToStrW(static_cast<long long>(Questions.size())),
                  u"</count>", u"<answered>", IntToStrW(AnsweredCount), u"</answered>",
                  u"</questions>"});
}

} // namespace stellik
