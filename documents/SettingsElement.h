// documents/SettingsElement.h -- a group of settings kept in an ini file
#pragma once

namespace stellik {

class TIniFile;

class TSettingsElement {
public:
    virtual ~TSettingsElement() = default;
    virtual void Save(TIniFile& ini) const = 0;
    virtual void Load(TIniFile& ini) = 0;
};

} // namespace stellik
