// documents/SettingsObj.h -- the settings module: folders, system version, the examinee's data
#pragma once

#include "documents/UserSettings.h"
#include "platform/WindowsVersion.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace stellik {

// A window's placement as the window reports it when it closes (a maximised window reports
// its maximised bounds).
struct TWindowPlacement {
    int Left = 0;
    int Top = 0;
    int Height = 0;
    int Width = 0;
    bool Maximized = false;
};

class TSettingsObj {
public:
    using TVersionQuery = std::optional<TOsVersionInfo> (*)();

    // The start-up steps: the system version, the program folder, the per-user folders
    // (created with every missing level) and the examinee's saved data. versionQuery is
    // replaceable so that other systems' answers can be tried.
    explicit TSettingsObj(TVersionQuery versionQuery = &QueryWindowsVersion);
    // Frees without writing: a failing write must reach the caller, which a destructor
    // cannot do, so the exit step is DataModuleDestroy.
    ~TSettingsObj();
    TSettingsObj(const TSettingsObj&) = delete;
    TSettingsObj& operator=(const TSettingsObj&) = delete;

    // The exit step: SaveUserSettings, then frees the user settings. EIniFileException passes.
    void DataModuleDestroy();

    void DetectWindowsVersion();
    void LoadUserSettings();
    // Writes "Stellik.ini" only when the examinee asked for it (SaveInfo).
    void SaveUserSettings();
    // Rewrites section in "Displ.ini" of the local folder.
    void SaveFormPlacement(const TWindowPlacement& form, const std::string& section);

    const std::string& GetAppDir() const { return AppDir; }     // ends in "/"
    const std::string& GetDataDir() const { return DataDir; }   // ends in "/"
    const std::string& GetLocalDir() const { return LocalDir; } // ends in "/"
    bool GetIsNT() const { return IsNT; }
    uint8_t GetWindowsVersion() const { return WindowsVersion; }
    // The examinee's data; nullptr after DataModuleDestroy.
    TUserSettings* GetUserSettings() { return UserSettings.get(); }

private:
    void DataModuleCreate();

    TVersionQuery VersionQuery;
    std::string AppDir;
    std::string DataDir;
    std::string LocalDir;
    bool IsNT = true;
    uint8_t WindowsVersion = 7;
    std::unique_ptr<TUserSettings> UserSettings;
};

} // namespace stellik
