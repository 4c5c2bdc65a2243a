// Start-up: the one-time load at the first activation, the settings, the first page.
#include "ShellKit.h"

#include "package/CryptManager.h"
#include "package/PackageKeys.h"
#include "platform/Resources.h"
#include "platform/Unicode.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace stellik::testing {
namespace {

// TMPDIR pointed at an empty folder of the test's own while it runs.
class TScopedTempFolder {
public:
    TScopedTempFolder() {
        const char* old = std::getenv("TMPDIR");
        Old = old != nullptr ? old : "";
        setenv("TMPDIR", Folder.Path().c_str(), 1);
    }
    ~TScopedTempFolder() {
        if (Old.empty()) {
            unsetenv("TMPDIR");
        } else {
            setenv("TMPDIR", Old.c_str(), 1);
        }
    }
    TScopedTempFolder(const TScopedTempFolder&) = delete;
    TScopedTempFolder& operator=(const TScopedTempFolder&) = delete;
    bool Empty() const { return Folder.Names().empty(); }

private:
    TScratchFolder Folder;
    std::string Old;
};

TEST(Loading, WindowCreationNamesTheKeyContainerAndTouchesNoServiceModule) {
    CryptManager.KeyStoreName.clear();
    TRecordingView view;
    TRecordingDialogs dialogs;
    TServiceModules none; // the program entry makes them only after the window
    TMainFrm frame(view, dialogs, none);
    EXPECT_EQ(CryptManager.KeyStoreName, "Lumetra.Stellik");
    frame.FormActivate(); // not shown yet: nothing happens
    EXPECT_FALSE(frame.GetLoaded());
    EXPECT_TRUE(view.Pages.empty());
}

TEST(Loading, FirstPageDependsOnSavingOnlyAndLaterActivationsDoNothing) {
    struct TCase {
        std::string Settings;
        std::string FirstPage;
    };
    const TCase cases[] = {
        {"", "test-head"},
        {"<save-results/>", "register"},
        {"<save-results><path>/results</path></save-results>", "register"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Settings);
        TShellKit kit(KitSettingsXml(c.Settings));
        kit.Frame().FormActivate(); // before it is shown: no load
        EXPECT_FALSE(kit.Frame().GetLoaded());
        ASSERT_EQ(kit.StartError(), "");
        ASSERT_EQ(kit.View.Pages.size(), 1U);
        EXPECT_EQ(kit.PageRoot(), c.FirstPage);
        EXPECT_TRUE(kit.Frame().GetResultsSaved());
        EXPECT_EQ(kit.Doc().Questions.GetCount(), 3);
        EXPECT_FALSE(kit.Doc().ShowRight);

        kit.Doc().Name = u"changed"; // a second load would read the name again
        kit.Frame().FormActivate();
        kit.Frame().FormShow();
        kit.Frame().FormActivate();
        EXPECT_EQ(kit.View.Pages.size(), 1U);
        EXPECT_EQ(kit.Doc().Name, u"changed");
    }
}

TEST(Loading, ParametersComeInOrderWithTheShellsTwoLinesLast) {
    struct TCase {
        std::string Settings;
        std::string ReportViewAllow;
        std::string SaveResultRequired;
    };
    const TCase cases[] = {
        {"", "1", "0"},
        {"<save-results/>", "1", "1"},                              // the user must save
        {"<save-results><path>/r</path></save-results>", "1", "0"}, // saved without asking
        {"<view-profile><base-params/></view-profile>", "0", "0"},  // show-report absent
        {"<save-results/><view-profile><base-params><show-report/><allow-question-skip/>"
         "</base-params></view-profile>",
         "1", "1"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Settings);
        TShellKit kit(KitSettingsXml(c.Settings));
        ASSERT_EQ(kit.StartError(), "");
        const TXslParams& params = kit.Frame().GetXslParams();
        std::vector<std::string> profileLines;
        kit.Frame().GetOptions().GetViewProfile().WriteParams(profileLines);
        ASSERT_EQ(params.size(), profileLines.size() + 2);
        for (size_t i = 0; i < profileLines.size(); ++i) {
            EXPECT_EQ(params[i].first + "=" + params[i].second, profileLines[i]);
        }
        EXPECT_EQ(params[0].first, "skipbtn");
        using TLine = std::pair<std::string, std::string>;
        EXPECT_EQ(params[params.size() - 2], TLine("report-view-allow", c.ReportViewAllow));
        EXPECT_EQ(params.back(), TLine("save-result-required", c.SaveResultRequired));
    }
}

TEST(Loading, TestNameIsTrimmedAndFallsBackToTheDefault) {
    struct TCase {
        std::string DocumentName;
        std::string Argument; // of a later LoadTest call
        std::string TestName;
    };
    const TCase cases[] = {
        {"  Проверка знаний \t", "", "Проверка знаний"},
        {"", "", "Безымянный тест"},
        {"   ", "", "Безымянный тест"},
        {"Проверка", "  Свой тест ", "Свой тест"},
        {"", " \t ", "Безымянный тест"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.DocumentName + "|" + c.Argument);
        TShellKit kit(KitSettingsXml(), KitTestXml(c.DocumentName));
        ASSERT_EQ(kit.StartError(), "");
        if (!c.Argument.empty()) {
            kit.Frame().LoadTest(c.Argument);
        }
        EXPECT_EQ(kit.Frame().GetTestName(), c.TestName);
    }
}

TEST(Loading, MarkProfileOfTheSettingsBelongsToTheTestDocument) {
    TShellKit kit(KitSettingsXml("<mark-profile><for-minimum>2</for-minimum>"
                                 "<for-result value=\"50\">5</for-result></mark-profile>"));
    ASSERT_EQ(kit.StartError(), "");
    EXPECT_EQ(kit.Frame().GetOptions().GetMarkProfile(), nullptr);
    ASSERT_EQ(kit.Doc().MarkProfiles.GetCount(), 1);
    EXPECT_EQ(kit.Doc().MarkProfiles.GetItem(0).GetMark(70), u"5");

    TShellKit without;
    ASSERT_EQ(without.StartError(), "");
    EXPECT_EQ(without.Doc().MarkProfiles.GetCount(), 0);
}

TEST(Loading, EachFailingStepIsReportedAndLeavesTheWindowWithoutAPage) {
    const std::string wrongRoot = "<?xml version=\"1.0\"?><settings/>";
    struct TCase {
        std::string Name;
        std::function<void(std::map<std::string, std::string>&)> Break;
        std::string Message; // "" : any message
        bool SettingsApplied;
    };
    const TCase cases[] = {
        {"no key", [](auto& r) { r.erase("DVCK"); }, "Resource DVCK not found", false},
        {"key of another password",
         [](auto& r) {
             const std::string other = "ab123";
             const TPackageKeys keys =
                 MakePackageKeys({reinterpret_cast<const uint8_t*>(other.data()), other.size()});
             r["DVCK"] =
                 std::string(keys.PrivateKeyBlob.Span().begin(), keys.PrivateKeyBlob.Span().end());
         },
         "Unable Import Key", false},
        {"no package", [](auto& r) { r.erase("DVCF"); }, "Resource DVCF not found", false},
        {"package no archive", [](auto& r) { r["DVCF"] = "no archive at all"; }, "", false},
        {"no test member",
         [](auto& r) {
             r["DVCF"] = MakeArchive({{"settings.xml", "x"}});
         },
         "Unable Extract Session Key", false},
        {"test member not encrypted",
         [](auto& r) {
             r["DVCF"] = MakeArchive({{"scontent.xml", KitTestXml()}});
         },
         "Unable Extract Session Key", false},
        {"no DTD", [](auto& r) { r.erase("XTF_V1P2"); }, "Resource XTF_v1p2 not found", false},
        {"settings of another root",
         [&](auto& r) {
             r["DVCF"] = MakeArchive({{"scontent.xml", EncryptForPackage(KitTestXml())},
                                      {"settings.xml", EncryptForPackage(wrongRoot)}});
         },
         "XML файл не является файлом настроек", false},
        {"no stylesheet", [](auto& r) { r.erase("VIEW_STYLE"); }, "Resource VIEW_STYLE not found",
         true},
        {"stylesheet no stylesheet", [](auto& r) { r["VIEW_STYLE"] = "<p/>"; },
         "Cannot Apply XSL stylesheet", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TShellKit kit(KitSettingsXml("<save-results/>"));
        c.Break(kit.Resources);
        const std::string message = kit.StartError();
        if (c.Message.empty()) {
            EXPECT_NE(message, "");
        } else {
            EXPECT_EQ(message, c.Message);
        }
        EXPECT_TRUE(kit.View.Pages.empty());
        EXPECT_EQ(kit.Frame().GetOptions().GetSaveResults(), c.SettingsApplied);
        // Not tried again, and nothing waits to be saved when the window closes.
        kit.Frame().FormActivate();
        EXPECT_TRUE(kit.View.Pages.empty());
        EXPECT_TRUE(kit.Frame().CanClose());
        EXPECT_TRUE(kit.Dialogs.Messages.empty());
    }
}

TEST(Loading, InvalidTestDocumentKeepsTheSettingsUnappliedAndNoTemporaryFile) {
    const TScopedTempFolder temp;
    // Valid XML that the DTD refuses: the parse fails after the DTD was written out.
    TShellKit broken(
        KitSettingsXml("<save-results/>"),
        "<?xml version=\"1.0\"?><!DOCTYPE test SYSTEM \"XTF_v1p2.dtd\"><test><x/></test>");
    EXPECT_NE(broken.StartError(), "");
    EXPECT_FALSE(broken.Frame().GetOptions().GetSaveResults());
    EXPECT_TRUE(broken.Frame().GetXslParams().empty());
    EXPECT_TRUE(temp.Empty());

    TShellKit good;
    ASSERT_EQ(good.StartError(), "");
    EXPECT_TRUE(temp.Empty());
}

TEST(Loading, DtdRequestIsAnsweredFromTheResourceOfTheNameWithoutExtension) {
    const TScopedTempFolder temp; // takes the written DTDs away with it
    TShellKit kit;
    kit.Resources["XTF_V1P1"] = "<!ELEMENT test ANY>";
    TResources::Install(kit.Resources);
    for (const std::u16string name : {u"XTF_v1p1.dtd", u"xtf_V1P1.DTD"}) {
        std::u16string fileName = name;
        kit.Frame().ExtractDtd(fileName);
        TMemoryStream written;
        written.LoadFromFile(Utf16ToUtf8(fileName));
        EXPECT_EQ(written.View(), "<!ELEMENT test ANY>");
    }
    std::u16string shortName = u".dtd";
    EXPECT_EQ(MessageOf([&] { kit.Frame().ExtractDtd(shortName); }), "Resource  not found");
}

} // namespace
} // namespace stellik::testing
