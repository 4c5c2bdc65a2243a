// documents/UserSettings.h -- the examinee's data remembered between runs
#pragma once

#include "documents/SettingsElement.h"

#include <string>

namespace stellik {

// The strings hold the bytes exactly as the registration form delivered them (UTF-8); they
// are stored and loaded unchanged, and decoded only where they are shown.
class TUserSettings : public TSettingsElement {
public:
    std::string Patronymic;
    std::string LastName;
    std::string AddInfo; // may hold line breaks, hence stored as hex
    std::string FirstName;
    bool SaveInfo = false; // asked for on the registration page of this run; never stored

    // Writes section "USER_INFO", and only when SaveInfo is set.
    void Save(TIniFile& ini) const override;
    // Absent keys give empty strings.
    void Load(TIniFile& ini) override;
};

} // namespace stellik
