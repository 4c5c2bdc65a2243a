#include "TestFolders.h"

#include "documents/SettingsObj.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "tests/support/HangGuard.h"
#include "tests/support/MessageOf.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

namespace stellik::testing {
namespace {

class SettingsObj : public TFreshFoldersTest {};

const std::string ProductPath = "/brissom/Lumetra/2.X/Stellik/";

void Register(TUserSettings& user, const std::string& addInfo, bool keep) {
    user.FirstName = "Иван";
    user.LastName = "Петров";
    user.Patronymic = "Сергеевич";
    user.AddInfo = addInfo;
    user.SaveInfo = keep;
}

TEST_F(SettingsObj, FirstStartCreatesBothUserFoldersAndFindsNoSavedData) {
    TSettingsObj settings;
    EXPECT_TRUE(settings.GetIsNT()); // the version query fails here
    EXPECT_EQ(settings.GetWindowsVersion(), 7);
    EXPECT_EQ(settings.GetAppDir(), GetProgramFolder());
    EXPECT_EQ(settings.GetDataDir(), DataHome() + ProductPath);
    EXPECT_EQ(settings.GetLocalDir(), StateHome() + ProductPath);
    EXPECT_TRUE(std::filesystem::is_directory(settings.GetDataDir()));
    EXPECT_TRUE(std::filesystem::is_directory(settings.GetLocalDir()));
    EXPECT_FALSE(FileExists(settings.GetDataDir() + "Stellik.ini"));
    const TUserSettings& user = *settings.GetUserSettings();
    EXPECT_EQ(user.FirstName + user.LastName + user.Patronymic + user.AddInfo, "");
    EXPECT_FALSE(user.SaveInfo);
}

TEST_F(SettingsObj, KeptDataAreWrittenAtExitAndComeBackAtTheNextStart) {
    std::string iniPath;
    {
        TSettingsObj settings;
        Register(*settings.GetUserSettings(), "Line 1\r\nLine 2", true);
        iniPath = settings.GetDataDir() + "Stellik.ini";
        settings.DataModuleDestroy();
        EXPECT_EQ(settings.GetUserSettings(), nullptr);
    }
    EXPECT_EQ(ReadWholeFile(iniPath), "[USER_INFO]\n"
                                      "FirstName=Иван\n"
                                      "LastName=Петров\n"
                                      "Patronymic=Сергеевич\n"
                                      "AddInfo=4C696E6520310D0A4C696E652032\n");
    TSettingsObj next;
    const TUserSettings& user = *next.GetUserSettings();
    EXPECT_EQ(user.FirstName, "Иван");
    EXPECT_EQ(user.LastName, "Петров");
    EXPECT_EQ(user.Patronymic, "Сергеевич");
    EXPECT_EQ(user.AddInfo, "Line 1\r\nLine 2");
    EXPECT_FALSE(user.SaveInfo);
}

TEST_F(SettingsObj, DataNotAskedToBeKeptLeaveTheFileAsItWas) {
    const std::string iniPath = DataHome() + ProductPath + "Stellik.ini";
    {
        TSettingsObj first;
        Register(*first.GetUserSettings(), "", true);
        first.DataModuleDestroy();
    }
    const std::string kept = "[USER_INFO]\nFirstName=Иван\nLastName=Петров\n"
                             "Patronymic=Сергеевич\nAddInfo=\n";
    EXPECT_EQ(ReadWholeFile(iniPath), kept);
    {
        TSettingsObj second;
        Register(*second.GetUserSettings(), "new", false);
        second.GetUserSettings()->FirstName = "Другой";
        second.DataModuleDestroy();
    }
    EXPECT_EQ(ReadWholeFile(iniPath), kept);
    TSettingsObj third;
    EXPECT_EQ(third.GetUserSettings()->FirstName, "Иван");
    EXPECT_EQ(third.GetUserSettings()->AddInfo, "");
}

// A named pipe or a folder in place of either ini file: the start is not held up and finds no
// saved data, and the write (at exit, or when the window closes) says it cannot write the file.
TEST_F(SettingsObj, SomethingElseInPlaceOfAnIniFileIsNamedWhenWritten) {
    const std::function<void(const std::string&)> makers[] = {
        [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0600), 0); },
        [](const std::string& path) { std::filesystem::create_directory(path); },
    };
    for (const auto& make : makers) {
        const std::string dataDir = DataHome() + ProductPath;
        const std::string localDir = StateHome() + ProductPath;
        std::filesystem::remove_all(dataDir);
        std::filesystem::remove_all(localDir);
        std::filesystem::create_directories(dataDir);
        std::filesystem::create_directories(localDir);
        make(dataDir + "Stellik.ini");
        make(localDir + "Displ.ini");
        const THangGuard guard(20);
        TSettingsObj settings;
        EXPECT_EQ(settings.GetUserSettings()->LastName, "");
        Register(*settings.GetUserSettings(), "", true);
        EXPECT_EQ(MessageOf([&] { settings.DataModuleDestroy(); }),
                  "Unable to write to " + dataDir + "Stellik.ini");
        EXPECT_EQ(MessageOf([&] {
                      settings.SaveFormPlacement({1, 2, 3, 4, false}, "MainFrm");
                  }),
                  "Unable to write to " + localDir + "Displ.ini");
    }
}

TEST_F(SettingsObj, AFailingWriteAtExitRaisesWithTheFileName) {
    TSettingsObj settings;
    const std::string dataDir = settings.GetDataDir();
    std::filesystem::remove_all(dataDir); // the folder went while the program ran
    Register(*settings.GetUserSettings(), "", true);
    try {
        settings.DataModuleDestroy();
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.GetMessage(), "Unable to write to " + dataDir + "Stellik.ini");
    }
}

TEST_F(SettingsObj, WindowPlacementIsWrittenToTheLocalFolder) {
    TSettingsObj settings;
    settings.SaveFormPlacement({-8, -8, 1040, 1936, true}, "MainFrm");
    const std::string path = StateHome() + ProductPath + "Displ.ini";
    EXPECT_EQ(ReadWholeFile(path),
              "[MainFrm]\nleft=-8\ntop=-8\nheight=1040\nwidth=1936\nmaximized=1\n");
    settings.SaveFormPlacement({10, 20, 300, 400, false}, "MainFrm");
    settings.SaveFormPlacement({1, 2, 3, 4, false}, "AboutFrm");
    EXPECT_EQ(ReadWholeFile(path),
              "[MainFrm]\nleft=10\ntop=20\nheight=300\nwidth=400\nmaximized=0\n"
              "\n[AboutFrm]\nleft=1\ntop=2\nheight=3\nwidth=4\nmaximized=0\n");
    EXPECT_FALSE(FileExists(settings.GetDataDir() + "Displ.ini"));
}

struct TVersionCase {
    TOsVersionInfo Info;
    bool IsNT;
    uint8_t Code;
};

// The query is a plain function pointer, so each case is served through a global.
std::optional<TOsVersionInfo> CurrentAnswer;
std::optional<TOsVersionInfo> AnswerQuery() {
    return CurrentAnswer;
}

TEST_F(SettingsObj, VersionCodesFollowThePlatformAndVersion) {
    const TVersionCase cases[] = {
        {{1, 4, 0}, false, 0},  {{1, 4, 10}, false, 1}, {{1, 4, 90}, false, 2},
        {{1, 4, 11}, false, 7}, {{1, 5, 0}, false, 7},  {{2, 3, 51}, true, 3},
        {{2, 4, 0}, true, 3},   {{2, 5, 0}, true, 4},   {{2, 5, 1}, true, 5}, // XP
        {{2, 5, 2}, true, 7},   {{2, 6, 0}, true, 6},   {{2, 6, 1}, true, 7}, // 2003, Vista, 7
        {{2, 10, 0}, true, 7},  {{0, 4, 0}, true, 7},   {{3, 5, 1}, true, 7},
    };
    for (const TVersionCase& c : cases) {
        CurrentAnswer = c.Info;
        TSettingsObj settings(&AnswerQuery);
        SCOPED_TRACE(::testing::Message() << c.Info.PlatformId << " " << c.Info.MajorVersion << "."
                                          << c.Info.MinorVersion);
        EXPECT_EQ(settings.GetIsNT(), c.IsNT);
        EXPECT_EQ(settings.GetWindowsVersion(), c.Code);
        if (!c.IsNT) { // the 9x line keeps everything in the program's folder
            EXPECT_EQ(settings.GetDataDir(), GetProgramFolder());
            EXPECT_EQ(settings.GetLocalDir(), GetProgramFolder());
        } else {
            EXPECT_EQ(settings.GetDataDir(), DataHome() + ProductPath);
        }
    }
}

} // namespace
} // namespace stellik::testing
