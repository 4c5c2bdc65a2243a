// model/ListOutManager.cpp -- every open question of every open section on one page
#include "model/ListOutManager.h"

#include "model/Section.h"

namespace stellik {

TListOutManager::TListOutManager(const TMessagesList* messages, TSectionList* sections, int level)
    : TOutManager(messages, sections, level) {
    Start();
}

int TListOutManager::GetCurrentLevel() const {
    return Sections->GetCount() == 0 ? 0 : Sections->GetItem(0).Level;
}

bool TListOutManager::FirstPage(TWideStrings& page) {
    Counter = 0;
    return WriteAll(page);
}

bool TListOutManager::NextPage(TWideStrings& page, bool /*skip*/) {
    // The test document has already applied or dropped the answers; skip changes nothing here.
    return WriteAll(page);
}

bool TListOutManager::WriteAll(TWideStrings& page) {
    bool written = false;
    const int level = Level == -1 ? 0 : Level; // no adaptive level in list mode
    for (int i = 0; i < Sections->GetCount(); ++i) {
        TSection& section = Sections->GetItem(i);
        section.SetLevel(level);
        if (section.Answered || section.Questions.empty()) {
            continue;
        }
        written = true;
        section.WriteSectionStart(page);
        for (TQuestion* question : section.Questions) {
            if (!question->Answered) {
                GiveNumber(*question);
                question->WriteQuestionIn(page);
            }
        }
        section.WriteSectionEnd(page);
    }
    return written;
}

} // namespace stellik
