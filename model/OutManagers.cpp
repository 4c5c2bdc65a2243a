// model/OutManagers.cpp -- what every page producer shares, and the producer for a mode
#include "model/OutManagers.h"

#include "model/ListOutManager.h"
#include "model/Question.h"
#include "model/StepOutManagers.h"
#include "platform/Exception.h"

namespace stellik {

TOutManager::TOutManager(const TMessagesList* messages, TSectionList* sections, int level)
    : Messages(messages), Sections(sections), Level(level) {
    if (Sections == nullptr) {
        throw Exception("Not Assigned SectionsRef");
    }
    if (Messages == nullptr) {
        throw Exception("Not Assigned Messages");
    }
}

void TOutManager::Start() {
    Finished = !FirstPage(Page.Begin());
    Page.End();
}

void TOutManager::Next(bool skip) {
    if (Finished) {
        return; // the last page stays
    }
    Finished = !NextPage(Page.Begin(), skip);
    Page.End();
}

void TOutManager::GiveNumber(TQuestion& question) {
    if (question.Number == 0) {
        question.Number = ++Counter;
    }
}

std::unique_ptr<TOutManager> CreateOutManager(uint8_t mode, const TMessagesList* messages,
                                              TSectionList* sections, int level) {
    switch (mode) {
    case RunModeStep:
        return std::make_unique<TStepOutManager>(messages, sections, level);
    case RunModeList:
        return std::make_unique<TListOutManager>(messages, sections, level);
    case RunModeStepMsg:
        return std::make_unique<TStepMsgOutManager>(messages, sections, level);
    default:
        return nullptr;
    }
}

} // namespace stellik
