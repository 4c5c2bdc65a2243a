// Closing the window: a run under way, results not saved yet, the window placement.
#include "ShellKit.h"

#include "documents/SettingsObj.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace stellik::testing {
namespace {

const std::string RunningQuestion = "Текущий тест будет завершен!\r\nВыйти из программы?";
const std::string UnsavedQuestion = "Результаты тестирования не сохранены\r\nСохранить результаты?";

std::string DisplayIni(TShellKit& kit) {
    std::ifstream file(kit.Services.SettingsObj->GetLocalDir() + "Displ.ini");
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Answers a run's three questions one page at a time until it stops.
void FinishRun(TShellKit& kit) {
    kit.Click("runtest");
    for (int i = 0; i < 10 && kit.Doc().IsRunning(); ++i) {
        kit.Submit("testinput",
                   {{"ANSW/0", "0"}, {"ANSW/1/0", "x"}, {"ANSW/2", "0"}, {"CMD/NEXT", ""}});
    }
    ASSERT_FALSE(kit.Doc().IsRunning());
}

TEST(Closing, ARunningTestIsEndedOnlyWhenTheUserAgrees) {
    TShellKit kit;
    ASSERT_EQ(kit.StartError(), "");
    kit.Click("runtest");
    const TWindowPlacement placement{12, 34, 400, 600, true};

    kit.Dialogs.Answers = {TMsgResult::No};
    EXPECT_FALSE(kit.Frame().FormClose(placement));
    ASSERT_EQ(kit.Dialogs.Messages.size(), 1U);
    EXPECT_EQ(kit.Dialogs.Messages[0].Text, RunningQuestion);
    EXPECT_EQ(kit.Dialogs.Messages[0].Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(kit.Dialogs.Messages[0].Icon, TMsgIcon::Warning);
    EXPECT_TRUE(kit.Doc().IsRunning());
    EXPECT_EQ(kit.View.Pages.size(), 2U);
    EXPECT_EQ(DisplayIni(kit).find("[MainFrm]"), std::string::npos);

    kit.Dialogs.Answers = {TMsgResult::Yes};
    EXPECT_TRUE(kit.Frame().FormClose(placement));
    EXPECT_FALSE(kit.Doc().IsRunning());
    EXPECT_EQ(kit.Doc().GetStopReason(), u"test-end");
    ASSERT_EQ(kit.View.Pages.size(), 3U); // the stop page
    EXPECT_EQ(kit.PageText(u"name(/test-out/test-stop/*)"), "test-end");
    EXPECT_NE(kit.View.Pages.back().find("Тест завершен"), std::string::npos);
    EXPECT_EQ(kit.Dialogs.Messages.size(), 2U); // saving is not required: nothing more
    // A maximised window: its maximised bounds and the flag.
    EXPECT_EQ(DisplayIni(kit), "[MainFrm]\nleft=12\ntop=34\nheight=400\nwidth=600\nmaximized=1\n");
}

TEST(Closing, UnsavedResultsAreAskedForOnlyWhenSavingIsRequired) {
    struct TCase {
        std::string Name;
        std::string Settings;
        bool Run;
        std::vector<std::string> Messages;
    };
    const TCase cases[] = {
        {"saving not required", "", true, {}},
        {"nothing run yet", "<save-results/>", false, {}},
        {"finished run, no folder", "<save-results/>", true, {UnsavedQuestion}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TShellKit kit(KitSettingsXml(c.Settings));
        ASSERT_EQ(kit.StartError(), "");
        if (c.Run) {
            FinishRun(kit);
        }
        kit.Dialogs.Answers = {TMsgResult::No}; // do not save
        EXPECT_TRUE(kit.Frame().FormClose({}));
        std::vector<std::string> texts;
        for (const TMessageRecord& message : kit.Dialogs.Messages) {
            texts.push_back(message.Text);
            EXPECT_EQ(message.Buttons, TMsgButtons::YesNo);
            EXPECT_EQ(message.Icon, TMsgIcon::Question);
        }
        EXPECT_EQ(texts, c.Messages);
        EXPECT_TRUE(kit.Dialogs.FileDialogs.empty());
    }
}

// The placement is only ever written: a file that cannot be written is told of once, and
// the window closes all the same, at every try.
TEST(Closing, APlacementFileThatCannotBeWrittenIsToldOfAndTheWindowCloses) {
    TShellKit kit;
    ASSERT_EQ(kit.StartError(), "");
    const std::string ini = kit.Services.SettingsObj->GetLocalDir() + "Displ.ini";
    std::filesystem::create_directory(ini); // a folder where the file should be
    EXPECT_TRUE(kit.Frame().FormClose({}));
    EXPECT_TRUE(kit.Frame().FormClose({}));
    EXPECT_EQ(kit.Dialogs.Exceptions,
              (std::vector<std::string>{"Unable to write to " + ini, "Unable to write to " + ini}));
    EXPECT_TRUE(kit.Dialogs.Messages.empty());
    std::filesystem::remove(ini);
}

TEST(Closing, EndingARunThenDecliningToSaveAsksBothQuestionsInOrder) {
    TShellKit kit(KitSettingsXml("<save-results/>"));
    ASSERT_EQ(kit.StartError(), "");
    kit.Click("runtest");
    kit.Dialogs.Answers = {TMsgResult::Yes, TMsgResult::No};
    EXPECT_TRUE(kit.Frame().FormClose({}));
    ASSERT_EQ(kit.Dialogs.Messages.size(), 2U);
    EXPECT_EQ(kit.Dialogs.Messages[0].Text, RunningQuestion);
    EXPECT_EQ(kit.Dialogs.Messages[1].Text, UnsavedQuestion);
    EXPECT_FALSE(kit.Frame().GetResultsSaved());
}

} // namespace
} // namespace stellik::testing
