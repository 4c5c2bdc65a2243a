// model/TestDoc.cpp -- building the test in memory and running it
#include "model/TestDoc.h"

#include "model/AnswerPoints.h"
#include "model/QuestionManager.h"
#include "model/XmlChars.h"
#include "platform/Convert.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"

#include <string>

namespace stellik {

void TAnswerBuf::Add(int index, const std::u16string& answerId, const std::u16string& value) {
    Items.push_back(TAnswerRec{index, answerId, DropNonXmlChars(value)});
}

const TAnswerRec& TAnswerBuf::GetItem(int i) const {
    if (i < 0 || i >= GetCount()) {
        ThrowListIndexError(i);
    }
    return Items[static_cast<size_t>(i)];
}

// ---- building ----

namespace {

// The list's index error for an insertion point outside -1..count, raised before anything
// is created or added.
void CheckInsertAt(int at, int count) {
    if (at < -1 || at > count) {
        ThrowListIndexError(at);
    }
}

} // namespace

void TTestDoc::ShiftIndexes(int at, TIntegerList& list) {
    for (int i = 0; i < list.GetCount(); ++i) {
        const int value = list.GetItem(i);
        if (value >= at) {
            list.SetItem(i, value + 1); // through the setter, so the change event fires
        }
    }
}

void TTestDoc::ShiftMessageIds(TTargetClass target, int at) {
    for (int i = 0; i < Messages.GetCount(); ++i) {
        TTestMessage& message = Messages.GetItem(i);
        if (message.TargetClass == target) {
            ShiftIndexes(at, message.Ids);
        }
    }
}

TQuestion* TTestDoc::AddQuestion(int kindCode, int at) {
    const TQuestionManager::TQuestionClass questionClass = QuestionManager().ClassForKind(kindCode);
    if (questionClass == nullptr) {
        return nullptr;
    }
    CheckInsertAt(at, Questions.GetCount());
    FullRatingDue = true;
    std::unique_ptr<TQuestion> created = questionClass();
    TQuestion* question = created.get();
    if (at == -1) {
        question->Index = Questions.Add(std::move(created));
        return question;
    }
    Questions.Insert(at, std::move(created));
    for (int i = at; i < Questions.GetCount(); ++i) {
        Questions.GetItem(i).Index = i;
    }
    for (int i = 0; i < Sections.GetCount(); ++i) {
        TSection& section = Sections.GetItem(i);
        ShiftIndexes(at, section.AllPool);
        ShiftIndexes(at, section.GoodPool);
        ShiftIndexes(at, section.MidPool);
        ShiftIndexes(at, section.BadPool);
    }
    ShiftMessageIds(TTargetClass::Question, at);
    return question;
}

TSection* TTestDoc::AddSection(int at) {
    CheckInsertAt(at, Sections.GetCount());
    FullRatingDue = true;
    auto created = std::make_unique<TSection>(&Questions);
    TSection* section = created.get();
    if (at == -1) {
        section->Index = Sections.Add(std::move(created));
        return section;
    }
    Sections.Insert(at, std::move(created));
    for (int i = at; i < Sections.GetCount(); ++i) {
        Sections.GetItem(i).Index = i;
    }
    ShiftMessageIds(TTargetClass::Section, at); // pools hold questions, not sections
    return section;
}

TTestMessage* TTestDoc::AddMessage(int at) {
    CheckInsertAt(at, Messages.GetCount());
    auto created = std::make_unique<TTestMessage>();
    created->Owner = this;
    TTestMessage* message = created.get();
    if (at == -1) {
        Messages.Add(std::move(created));
    } else {
        Messages.Insert(at, std::move(created));
    }
    return message;
}

void TTestDoc::Clear() {
    Questions.Clear();
    Sections.Clear();
    MarkProfiles.Clear();
    Messages.Clear();
    MarkProfile = nullptr;
    Author.clear();
    Name.clear();
    Abstract.clear();
    AnswerBuf.Clear();
    Running = false;
    StopReason.clear();
    Totals.Clear(0);
    ChangedQuestions.clear();
    FullRatingDue = true;
}

// ---- rating ----

int TTestDoc::Reset() {
    if (Sections.GetCount() == 0) {
        // A test without sections shows all its questions in random order.
        TSection* section = AddSection(-1);
        for (int i = 0; i < Questions.GetCount(); ++i) {
            section->AllPool.Add(i);
        }
        section->AllRequested = 0;
        section->AllRandom = section->MidRandom = section->GoodRandom = section->BadRandom = true;
    }
    FullRatingDue = true;
    for (int i = 0; i < Questions.GetCount(); ++i) {
        TQuestion& question = Questions.GetItem(i);
        question.ResetRating();
        question.Number = 0;
        question.Selected = false;
        question.SelectedBy = nullptr;
    }
    MarkProfile = MarkProfiles.GetCount() > 0 ? &MarkProfiles.GetItem(0) : nullptr;
    long long maxRating = 0; // exact, then held to 32 bits like the ratings
    for (int i = 0; i < Sections.GetCount(); ++i) {
        TSection& section = Sections.GetItem(i);
        // A new selection (a level the run gives the section) is rated anew with all of it.
        section.OnSelectionChanged = [this](TSection& changed) {
            if (!FullRatingDue && !Totals.MarkChanged(changed, true)) {
                FullRatingDue = true;
            }
        };
        section.ResetRating();
        section.MarkProfile = MarkProfile;
        maxRating += section.MaxRating; // at level 0; later level changes do not count
    }
    AnsweredQuestions = 0;
    AnsweredSections = 0;
    Running = true;
    StopReason.clear();
    AnswerBuf.Clear();
    Started = true;
    PassSeconds = 0;
    PassTime = 0;
    LeftTime = TestTime;
    for (int i = 0; i < Questions.GetCount(); ++i) {
        Questions.GetItem(i).ShowRight = ShowRight;
    }
    return ClampToInt(maxRating);
}

TPointsResult TTestDoc::CalcRating() {
    if (FullRatingDue || Totals.GetSectionCount() != Sections.GetCount()) {
        RateEverySection();
    } else {
        RateChanges();
    }
    AnsweredQuestions = Totals.GetAnsweredQuestions();
    AnsweredSections = Totals.GetAnsweredSections();
    PlannedQuestions =
        ClampToInt(Totals.GetPlanned(OutManager ? OutManager->GetCurrentLevel() : 0));
    return TPointsResult{ClampToInt(Totals.GetPoints()), AnsweredSections == Sections.GetCount()};
}

void TTestDoc::RateEverySection() {
    Totals.Clear(Sections.GetCount());
    bool inPlace = true;
    for (int i = 0; i < Sections.GetCount(); ++i) {
        TSection& section = Sections.GetItem(i);
        section.UpdateRating();
        Totals.Count(i, section);
        inPlace = inPlace && section.Index == i;
    }
    // Changes are found by the sections' Index: should one differ from its position, every
    // rating goes over everything.
    FullRatingDue = !inPlace;
    ChangedQuestions.clear();
}

void TTestDoc::RateChanges() {
    for (const int index : ChangedQuestions) {
        TQuestion& question = Questions.GetItem(index);
        TSection* section = question.SelectedBy;
        // A question outside every selection is not rated; one in a section whose selection
        // was made anew is rated with the rest of it below.
        if (section == nullptr || Totals.IsReselected(*section)) {
            continue;
        }
        if (!Totals.MarkChanged(*section, false)) {
            RateEverySection();
            return;
        }
        section->RateQuestion(question);
    }
    ChangedQuestions.clear();
    for (const TRatingTotals::TChange& change : Totals.TakeChanges()) {
        TSection& section = Sections.GetItem(change.Section);
        if (change.Reselected) {
            section.UpdateRating();
        }
        Totals.Count(change.Section, section);
    }
}

// ---- run control ----

void TTestDoc::StartRun(uint8_t mode, int level) {
    if (mode != RunModeStep && mode != RunModeList && mode != RunModeStepMsg) {
        // Checked before anything is reset, so a refused run leaves the last one as it was.
        throw Exception("Unknown run mode " + std::to_string(mode) +
                        " (0 step, 1 list, 2 step with messages)");
    }
    ResetRating();
    OutManager.reset();
    OutManager = CreateOutManager(mode, &Messages, &Sections, level);
    StartTime = Now();
    UpdateRating();
    WriteRunDocument();
}

void TTestDoc::BufferAnswer(const std::u16string& questionIndex, const std::u16string& answerId,
                            const std::u16string& value) {
    AnswerBuf.Add(StrToInt(questionIndex), answerId, value);
}

void TTestDoc::SubmitAnswers() {
    if (!OutManager || OutManager->IsFinished()) {
        AnswerBuf.Clear(); // no next page to move to: nothing more to rate or write
        return;
    }
    if (Running) {
        for (int i = 0; i < AnswerBuf.GetCount(); ++i) {
            const TAnswerRec& rec = AnswerBuf.GetItem(i);
            TQuestion& question = Questions.GetItem(rec.Index);
            if (ChangedQuestions.empty() || ChangedQuestions.back() != rec.Index) {
                ChangedQuestions.push_back(rec.Index); // a question's fields come together
            }
            question.SetAnswerValue(Utf16ToUtf8(rec.AnswerId), rec.Value);
        }
    }
    AnswerBuf.Clear();
    UpdateRating();
    OutManager->Next(false);
    WriteRunDocument();
}

void TTestDoc::SkipQuestion() {
    AnswerBuf.Clear();
    if (!OutManager || OutManager->IsFinished()) {
        return;
    }
    UpdateRating();
    OutManager->Next(true);
    WriteRunDocument();
}

void TTestDoc::Stop(const std::u16string& reason) {
    if (!Running) {
        return;
    }
    SetStopReason(reason);
    UpdateRating();
    WriteRunDocument();
}

void TTestDoc::SetStopReason(const std::u16string& reason) {
    Running = false;
    StopReason = reason;
}

void TTestDoc::Tick() {
    if (!Started || !Running) {
        return;
    }
    ++PassSeconds;
    PassTime = PassSeconds / SecondsPerDay;
    if (TestTime == 0 || LeftTime <= 0) {
        return; // no limit
    }
    LeftTime = TestTime - PassTime;
    // Compared in seconds: a limit that is a whole number of seconds runs out exactly on its
    // last tick, whatever rounding the day fraction of the limit carries.
    if (TestTime * SecondsPerDay - PassSeconds < 0.5) {
        LeftTime = 0;
        Stop(u"time-out");
    }
}

} // namespace stellik
