// model/StepOutManagers.h -- the two run modes that show one question per page
#pragma once

#include "model/OutManagers.h"

namespace stellik {

class TSection;

// What both step modes share: the current section and question, section-by-section advance
// with the adaptive level, and the cyclic search for the next open question.
class TSteppingOutManager : public TOutManager {
public:
    using TOutManager::TOutManager;

    int GetCurrentLevel() const override;

protected:
    bool FirstPage(TWideStrings& page) override;

    TSection& CurrentSection() const;
    TQuestion& CurrentQuestion() const;
    // Moves to the next section that has questions, handing each section passed the level
    // (state under the adaptive level); false when the list is exhausted.
    bool AdvanceSection(int state);
    void FindOpenQuestion(); // cyclic, starting after QuestionNo
    void WriteQuestionPage(TWideStrings& page);

    int SectionNo = 0;
    int QuestionNo = 0;
};

class TStepOutManager : public TSteppingOutManager {
public:
    TStepOutManager(const TMessagesList* messages, TSectionList* sections, int level);
    const char16_t* GetModeName() const override { return u"step"; }

protected:
    bool NextPage(TWideStrings& page, bool skip) override;
};

class TStepMsgOutManager : public TSteppingOutManager {
public:
    TStepMsgOutManager(const TMessagesList* messages, TSectionList* sections, int level);
    const char16_t* GetModeName() const override { return u"stepmsg"; }

protected:
    bool NextPage(TWideStrings& page, bool skip) override;

private:
    bool SectionMsgShown = false;
    bool QuestionMsgShown = false;
};

} // namespace stellik
