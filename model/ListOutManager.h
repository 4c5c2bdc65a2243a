// model/ListOutManager.h -- the run mode that shows every open question on one page
#pragma once

#include "model/OutManagers.h"

namespace stellik {

class TListOutManager : public TOutManager {
public:
    TListOutManager(const TMessagesList* messages, TSectionList* sections, int level);

    int GetCurrentLevel() const override; // the first section's level
    const char16_t* GetModeName() const override { return u"list"; }

protected:
    bool FirstPage(TWideStrings& page) override;
    bool NextPage(TWideStrings& page, bool skip) override;

private:
    bool WriteAll(TWideStrings& page);
};

} // namespace stellik
