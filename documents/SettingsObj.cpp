#include "documents/SettingsObj.h"

#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/UserFolders.h"

namespace stellik {

namespace {

const std::string ProductPath = "brissom/Lumetra/2.X/Stellik";
const std::string UserIniName = "Stellik.ini";
const std::string PlacementIniName = "Displ.ini";

constexpr uint32_t Platform9x = 1;
constexpr uint32_t PlatformNT = 2;
constexpr uint8_t OtherVersion = 7;

uint8_t VersionCode9x(uint32_t major, uint32_t minor) {
    if (major != 4) {
        return OtherVersion;
    }
    switch (minor) {
    case 0:
        return 0;
    case 10:
        return 1;
    case 90:
        return 2;
    default:
        return OtherVersion;
    }
}

uint8_t VersionCodeNT(uint32_t major, uint32_t minor) {
    if (major <= 4) {
        return 3;
    }
    if (major == 5 && minor == 0) {
        return 4;
    }
    if (major == 5 && minor == 1) {
        return 5;
    }
    if (major == 6 && minor == 0) {
        return 6;
    }
    return OtherVersion;
}

// The program's folder serves when the folder query has no answer.
std::string ProductFolder(const std::string& base, const std::string& fallback) {
    return base.empty() ? fallback : base + "/" + ProductPath;
}

} // namespace

TSettingsObj::TSettingsObj(TVersionQuery versionQuery) : VersionQuery(versionQuery) {
    DataModuleCreate();
}

TSettingsObj::~TSettingsObj() = default;

void TSettingsObj::DataModuleCreate() {
    UserSettings = std::make_unique<TUserSettings>();
    DetectWindowsVersion();
    AppDir = GetProgramFolder();
    DataDir = AppDir.substr(0, AppDir.size() - 1);
    LocalDir = DataDir;
    if (IsNT) {
        const std::string programFolder = DataDir;
        DataDir = ProductFolder(GetRoamingAppDataFolder(), programFolder);
        LocalDir = ProductFolder(GetLocalAppDataFolder(), programFolder);
    }
    // A folder that cannot be made shows up later, as a failing write into it.
    ForceDirectories(DataDir);
    ForceDirectories(LocalDir);
    DataDir += "/";
    LocalDir += "/";
    LoadUserSettings();
}

void TSettingsObj::DataModuleDestroy() {
    SaveUserSettings();
    UserSettings.reset();
}

void TSettingsObj::DetectWindowsVersion() {
    IsNT = true;
    WindowsVersion = OtherVersion;
    const std::optional<TOsVersionInfo> info = VersionQuery();
    if (!info) {
        return;
    }
    if (info->PlatformId == Platform9x) {
        IsNT = false;
        WindowsVersion = VersionCode9x(info->MajorVersion, info->MinorVersion);
    } else if (info->PlatformId == PlatformNT) {
        WindowsVersion = VersionCodeNT(info->MajorVersion, info->MinorVersion);
    }
}

void TSettingsObj::LoadUserSettings() {
    if (UserSettings) {
        TIniFile ini(DataDir + UserIniName);
        UserSettings->Load(ini);
    }
}

void TSettingsObj::SaveUserSettings() {
    if (UserSettings) {
        TIniFile ini(DataDir + UserIniName);
        UserSettings->Save(ini);
    }
}

void TSettingsObj::SaveFormPlacement(const TWindowPlacement& form, const std::string& section) {
    TIniFile ini(LocalDir + PlacementIniName);
    ini.WriteInteger(section, "left", form.Left);
    ini.WriteInteger(section, "top", form.Top);
    ini.WriteInteger(section, "height", form.Height);
    ini.WriteInteger(section, "width", form.Width);
    ini.WriteBool(section, "maximized", form.Maximized);
}

} // namespace stellik
