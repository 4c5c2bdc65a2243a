// The player's window over the built player's resources: start, registration, the close.
#include "documents/SettingsObj.h"
#include "documents/UserSettings.h"
#include "tests/gui/PlayerKit.h"

#include <gtest/gtest.h>

namespace stellik::testing {
namespace {

TEST(PlayerTest, StartsWithTheRegistrationPage) {
    TPlayer player(BuiltPlayer());
    player.Start();
    EXPECT_TRUE(player.Frame().GetLoaded());
    const std::string text = player.View().PageText();
    EXPECT_NE(text.find("Регистрация"), std::string::npos) << text;
    EXPECT_NE(text.find("Фамилия:"), std::string::npos) << text;
    player.View().Snapshot("start-register");
    // Every picture of the page came: none is broken.
    EXPECT_EQ(player.View().Eval("Array.from(document.images).filter(i => !i.complete || "
                                 "i.naturalWidth == 0).map(i => i.src).join(' ')"),
              "");
}

TEST(PlayerTest, ReturningToTheWindowLoadsNothingAgain) {
    TPlayer player(BuiltPlayer());
    player.Start();
    const int loads = player.View().FinishedLoads();
    GdkEvent* focus = gdk_event_new(GDK_FOCUS_CHANGE);
    focus->focus_change.in = TRUE;
    focus->focus_change.window = GDK_WINDOW(
        g_object_ref(gtk_widget_get_window(GTK_WIDGET(player.App().GetWindow().GetWindow()))));
    gtk_widget_event(GTK_WIDGET(player.App().GetWindow().GetWindow()), focus);
    gdk_event_free(focus);
    RunFor(500);
    EXPECT_EQ(player.View().FinishedLoads(), loads);
}

TEST(PlayerTest, ARegistrationFailureIsShownAndThePageStays) {
    TPlayer player(BuiltPlayer());
    player.Start();
    std::string message;
    TDialogAnswerer answerer([&](GtkWindow* dialog) {
        message = MessageText(dialog);
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    });
    player.View().Type("input[name=firstname]", "Пётр");
    player.View().Click("input[type=submit]");
    ASSERT_TRUE(RunUntil([&] { return answerer.Answered() == 1; }));
    EXPECT_EQ(message, "Не введена фамилия");
    EXPECT_NE(player.View().PageText().find("Регистрация"), std::string::npos);
    // The fields keep what was submitted.
    EXPECT_EQ(player.App().GetServices().SettingsObj->GetUserSettings()->FirstName, "Пётр");
}

TEST(PlayerTest, ClosingBeforeAnyRunAsksNothingAndWritesTheExamineesData) {
    TPlayer player(BuiltPlayer());
    player.Start();
    player.View().Type("input[name=lastname]", "Иванов");
    player.View().Type("input[name=firstname]", "Пётр");
    player.ClickForPage("input[type=submit]");
    // The title page: the start picture as the link that starts the run.
    EXPECT_EQ(player.View().Eval("document.querySelectorAll('a[href=\"stellik://cmd/runtest\"] "
                                 "img').length"),
              "1");
    TDialogAnswerer answerer(
        [](GtkWindow* dialog) { gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_NO); });
    gtk_window_close(player.App().GetWindow().GetWindow());
    ASSERT_TRUE(RunUntil([&] { return player.App().GetWindow().IsClosed(); }));
    EXPECT_EQ(answerer.Answered(), 0);
    player.App().Exit();
    const std::string ini = player.App().GetServices().SettingsObj->GetDataDir() + "Stellik.ini";
    std::string content;
    gchar* raw = nullptr;
    ASSERT_TRUE(g_file_get_contents(ini.c_str(), &raw, nullptr, nullptr)) << ini;
    content = raw;
    g_free(raw);
    EXPECT_NE(content.find("Иванов"), std::string::npos) << content;
}

// Registers and starts the run of the demo test: the first question page is shown.
void StartRun(TPlayer& player) {
    player.Start();
    player.View().Type("input[name=lastname]", "Иванов");
    player.View().Type("input[name=firstname]", "Пётр");
    player.ClickForPage("input[type=submit]");
    player.ClickForPage("a[href=\"stellik://cmd/runtest\"]");
    ASSERT_TRUE(player.Frame().GetTestDoc().IsRunning());
}

TEST(PlayerTest, TheTimerCountsAndRedrawsItsPictureInThePage) {
    TPlayer player(BuiltPlayer());
    StartRun(player);
    const TTestDoc& test = player.Frame().GetTestDoc();
    const int loads = player.View().FinishedLoads();
    const std::string source = player.View().Eval("document.getElementById('timer').src");
    const int seconds = test.PassSeconds;
    ASSERT_TRUE(RunUntil([&] { return test.PassSeconds >= seconds + 2; }, 4000));
    ASSERT_TRUE(RunUntil([&] {
        return player.View().Eval("(() => { const t = document.getElementById('timer'); "
                                  "return t.complete && t.naturalWidth == 54; })()") == "true";
    }));
    EXPECT_NE(player.View().Eval("document.getElementById('timer').src"), source);
    EXPECT_EQ(player.View().FinishedLoads(), loads) << "the page was not reloaded";
    player.View().Snapshot("timer-after-two-seconds");
}

TEST(PlayerTest, ClosingDuringARunAsksFirst) {
    TPlayer player(BuiltPlayer());
    StartRun(player);
    GtkWindow* window = player.App().GetWindow().GetWindow();
    std::vector<std::string> questions;
    gint leave = GTK_RESPONSE_NO;
    TDialogAnswerer answerer([&](GtkWindow* dialog) {
        questions.push_back(MessageText(dialog));
        // Leaving as the test step says; the unsaved results are not saved.
        const bool aboutTheRun = questions.back().starts_with("Текущий тест");
        gtk_dialog_response(GTK_DIALOG(dialog), aboutTheRun ? leave : GTK_RESPONSE_NO);
    });
    // No: the window stays and the run goes on.
    gtk_window_close(window);
    ASSERT_TRUE(RunUntil([&] { return questions.size() == 1; }));
    RunFor(300);
    EXPECT_EQ(questions[0], "Текущий тест будет завершен!\nВыйти из программы?");
    EXPECT_FALSE(player.App().GetWindow().IsClosed());
    EXPECT_TRUE(player.Frame().GetTestDoc().IsRunning());

    // Yes: the run stops, the stop page is shown, the unsaved results are offered.
    leave = GTK_RESPONSE_YES;
    const int loads = player.View().FinishedLoads();
    gtk_window_close(window);
    ASSERT_TRUE(RunUntil([&] { return player.App().GetWindow().IsClosed(); }));
    ASSERT_EQ(questions.size(), 3u);
    EXPECT_EQ(questions[1], questions[0]);
    EXPECT_EQ(questions[2], "Результаты тестирования не сохранены\nСохранить результаты?");
    EXPECT_FALSE(player.Frame().GetTestDoc().IsRunning());
    EXPECT_EQ(player.Frame().GetTestDoc().GetStopReason(), u"test-end");
    EXPECT_TRUE(RunUntil([&] { return player.View().FinishedLoads() > loads; })) << "the stop page";
}

} // namespace
} // namespace stellik::testing
