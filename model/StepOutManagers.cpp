// model/StepOutManagers.cpp -- one question per page, section by section
#include "model/StepOutManagers.h"

#include "model/Messages.h"
#include "model/Section.h"
#include "platform/Exception.h"

namespace stellik {

int TSteppingOutManager::GetCurrentLevel() const {
    const int count = Sections->GetCount();
    if (count == 0) {
        return 0;
    }
    // Past the last section (the run is over) the last section's level still describes it.
    return Sections->GetItem(SectionNo < count ? SectionNo : count - 1).Level;
}

bool TSteppingOutManager::FirstPage(TWideStrings& page) {
    SectionNo = 0;
    QuestionNo = 0;
    Counter = 0;
    if (Sections->GetCount() == 0) {
        return false;
    }
    TSection& first = Sections->GetItem(0);
    first.SetLevel(Level);
    if (first.Questions.empty()) {
        return false; // the run is over before it began, whatever later sections hold
    }
    return NextPage(page, false);
}

TSection& TSteppingOutManager::CurrentSection() const {
    return Sections->GetItem(SectionNo);
}

TQuestion& TSteppingOutManager::CurrentQuestion() const {
    const TQuestionRefs& questions = CurrentSection().Questions;
    if (QuestionNo < 0 || QuestionNo >= static_cast<int>(questions.size())) {
        ThrowListIndexError(QuestionNo);
    }
    return *questions[static_cast<size_t>(QuestionNo)];
}

bool TSteppingOutManager::AdvanceSection(int state) {
    const int level = Level == -1 ? state : Level;
    for (;;) {
        ++SectionNo;
        if (SectionNo >= Sections->GetCount()) {
            return false;
        }
        TSection& section = Sections->GetItem(SectionNo);
        section.SetLevel(level);
        if (!section.Questions.empty()) {
            QuestionNo = -1;
            return true;
        }
    }
}

void TSteppingOutManager::FindOpenQuestion() {
    const TQuestionRefs& questions = CurrentSection().Questions;
    const int count = static_cast<int>(questions.size());
    // Bounded, so stale answered flags can never spin here; with current flags an open
    // question is always found.
    for (int tries = 0; tries < count; ++tries) {
        QuestionNo = QuestionNo + 1 >= count ? 0 : QuestionNo + 1;
        if (!questions[static_cast<size_t>(QuestionNo)]->Answered) {
            return;
        }
    }
}

void TSteppingOutManager::WriteQuestionPage(TWideStrings& page) {
    const TSection& section = CurrentSection();
    TQuestion& question = CurrentQuestion();
    section.WriteSectionStart(page);
    GiveNumber(question);
    question.WriteQuestionIn(page);
    section.WriteSectionEnd(page);
}

TStepOutManager::TStepOutManager(const TMessagesList* messages, TSectionList* sections, int level)
    : TSteppingOutManager(messages, sections, level) {
    Start();
}

bool TStepOutManager::NextPage(TWideStrings& page, bool skip) {
    const TQuestion& question = CurrentQuestion();
    if (question.Answered || skip) {
        if (question.Answered && CurrentSection().Answered) {
            if (!AdvanceSection(CurrentSection().ResultState())) {
                return false;
            }
        }
        FindOpenQuestion(); // skipping moves within the section, never past it
    }
    WriteQuestionPage(page);
    return true;
}

TStepMsgOutManager::TStepMsgOutManager(const TMessagesList* messages, TSectionList* sections,
                                       int level)
    : TSteppingOutManager(messages, sections, level) {
    Start();
}

bool TStepMsgOutManager::NextPage(TWideStrings& page, bool skip) {
    const TQuestion& question = CurrentQuestion();
    if (question.Answered || skip) {
        if (question.Answered) {
            if (!QuestionMsgShown) {
                if (const TTestMessage* message = Messages->FindBest(question)) {
                    QuestionMsgShown = true;
                    message->Write(page);
                    return true;
                }
            }
            const TSection& section = CurrentSection();
            if (section.Answered) {
                if (!SectionMsgShown) {
                    if (const TTestMessage* message = Messages->FindBest(section)) {
                        SectionMsgShown = true;
                        message->Write(page);
                        return true;
                    }
                }
                if (!AdvanceSection(section.ResultState())) {
                    return false;
                }
                SectionMsgShown = false;
            }
        }
        FindOpenQuestion();
    }
    QuestionMsgShown = false;
    WriteQuestionPage(page);
    return true;
}

} // namespace stellik
