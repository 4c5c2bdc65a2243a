// The message boxes and the file dialogs, answered as a user would.
#include "platform/Exception.h"
#include "shell/gtk/GtkDialogs.h"
#include "shell/gtk/GtkHandles.h"
#include "tests/gui/GuiKit.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace stellik::testing {
namespace {

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override { InitGtk(); }

    // The options the program's results dialog is opened with.
    static TFileDialogOptions ResultsOptions() {
        TFileDialogOptions options;
        options.DefaultExt = ".lmr";
        options.Filter = "*.lmr|*.lmr";
        options.OverwritePrompt = true;
        return options;
    }

    void Touch(const std::string& name) const { std::ofstream(Folder + "/" + name) << "old"; }

    TGtkDialogs Dialogs;
    const TScratchFolder Scratch;
    const std::string Folder = Scratch.Path();
};

// Types name into the chooser's folder and presses its accept button.
void Choose(GtkWindow* window, const std::string& folder, const std::string& name) {
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(window);
    if (gtk_file_chooser_get_action(chooser) == GTK_FILE_CHOOSER_ACTION_SAVE) {
        gtk_file_chooser_set_current_folder(chooser, folder.c_str());
        gtk_file_chooser_set_current_name(chooser, name.c_str());
    } else {
        gtk_file_chooser_set_filename(chooser, (folder + "/" + name).c_str());
    }
    gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_ACCEPT);
}

TEST_F(DialogsTest, MessageBoxesAreTitledStellikAndReturnTheAnswer) {
    struct {
        TMsgButtons Buttons;
        TMsgIcon Icon;
        GtkMessageType Type;
        const char* IconName;
        gint Response; // 0: Enter pressed
        TMsgResult Expected;
    } cases[] = {
        {TMsgButtons::YesNo, TMsgIcon::Warning, GTK_MESSAGE_WARNING, "dialog-warning",
         GTK_RESPONSE_YES, TMsgResult::Yes},
        {TMsgButtons::YesNo, TMsgIcon::Question, GTK_MESSAGE_QUESTION, "dialog-question",
         GTK_RESPONSE_NO, TMsgResult::No},
        {TMsgButtons::YesNo, TMsgIcon::Question, GTK_MESSAGE_QUESTION, "dialog-question",
         GTK_RESPONSE_DELETE_EVENT, TMsgResult::No}, // closed without an answer
        {TMsgButtons::YesNo, TMsgIcon::Question, GTK_MESSAGE_QUESTION, "dialog-question", 0,
         TMsgResult::Yes}, // Enter: the default answer
        {TMsgButtons::YesNo, TMsgIcon::Warning, GTK_MESSAGE_WARNING, "dialog-warning", 0,
         TMsgResult::Yes},
        {TMsgButtons::Ok, TMsgIcon::Information, GTK_MESSAGE_INFO, "dialog-information",
         GTK_RESPONSE_OK, TMsgResult::Ok},
        {TMsgButtons::Ok, TMsgIcon::Error, GTK_MESSAGE_ERROR, "dialog-error", 0, TMsgResult::Ok},
        {TMsgButtons::Ok, TMsgIcon::None, GTK_MESSAGE_OTHER, "", GTK_RESPONSE_DELETE_EVENT,
         TMsgResult::Ok},
    };
    for (const auto& c : cases) {
        std::string title, text, icon;
        GtkMessageType type = GTK_MESSAGE_ERROR;
        TDialogAnswerer answerer([&](GtkWindow* dialog) {
            title = gtk_window_get_title(dialog);
            text = MessageText(dialog);
            icon = MessageIcon(dialog);
            g_object_get(dialog, "message-type", &type, nullptr);
            if (c.Response == 0) {
                PressKey(GTK_WIDGET(dialog), GDK_KEY_Return);
            } else {
                gtk_dialog_response(GTK_DIALOG(dialog), c.Response);
            }
        });
        EXPECT_EQ(Dialogs.MessageBox("Текущий тест будет завершен!\r\nВыйти из программы?",
                                     c.Buttons, c.Icon),
                  c.Expected);
        EXPECT_EQ(answerer.Answered(), 1);
        EXPECT_EQ(title, "Stellik");
        EXPECT_EQ(text, "Текущий тест будет завершен!\nВыйти из программы?");
        EXPECT_EQ(type, c.Type);
        EXPECT_EQ(icon, c.IconName);
    }
}

TEST_F(DialogsTest, TheStandardHandlerShowsTheExceptionText) {
    std::string text, icon;
    GtkMessageType type = GTK_MESSAGE_OTHER;
    TDialogAnswerer answerer([&](GtkWindow* dialog) {
        text = MessageText(dialog);
        g_object_get(dialog, "message-type", &type, nullptr);
        icon = MessageIcon(dialog);
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    });
    Dialogs.ShowException(Exception("Не введена фамилия"));
    EXPECT_EQ(text, "Не введена фамилия");
    EXPECT_EQ(type, GTK_MESSAGE_ERROR);
    EXPECT_EQ(icon, "dialog-error");
}

TEST_F(DialogsTest, TheSaveDialogProposesTheNameAndAddsTheExtension) {
    std::string proposed, filterName;
    bool overwriteQuestion = false;
    TDialogAnswerer answerer([&](GtkWindow* window) {
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(window);
        GCharPtr name(gtk_file_chooser_get_current_name(chooser));
        proposed = name.get();
        GSList* filters = gtk_file_chooser_list_filters(chooser);
        EXPECT_EQ(g_slist_length(filters), 1u);
        if (filters != nullptr) {
            filterName = gtk_file_filter_get_name(GTK_FILE_FILTER(filters->data));
        }
        g_slist_free(filters);
        overwriteQuestion = gtk_file_chooser_get_do_overwrite_confirmation(chooser);
        Choose(window, Folder, "Иванов");
    });
    std::string fileName = "Иванов 01.02.2024.lmr";
    ASSERT_TRUE(Dialogs.ExecuteFileDialog(ResultsOptions(), fileName));
    EXPECT_EQ(proposed, "Иванов 01.02.2024.lmr");
    EXPECT_EQ(filterName, "*.lmr");
    EXPECT_TRUE(overwriteQuestion);
    EXPECT_EQ(fileName, Folder + "/Иванов.lmr");
}

TEST_F(DialogsTest, CancelLeavesTheNameAsItWas) {
    TDialogAnswerer answerer(
        [](GtkWindow* window) { gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_CANCEL); });
    std::string fileName = "results.lmr";
    EXPECT_FALSE(Dialogs.ExecuteFileDialog(ResultsOptions(), fileName));
    EXPECT_EQ(fileName, "results.lmr");
    EXPECT_EQ(answerer.Answered(), 1);
}

TEST_F(DialogsTest, AnOverlongProposedNameOpensNoDialog) {
    TDialogAnswerer answerer(
        [](GtkWindow* window) { gtk_dialog_response(GTK_DIALOG(window), GTK_RESPONSE_CANCEL); });
    std::string fileName(257, 'a');
    fileName += ".lmr"; // 261 characters
    const std::string before = fileName;
    EXPECT_FALSE(Dialogs.ExecuteFileDialog(ResultsOptions(), fileName));
    RunFor(100);
    EXPECT_EQ(fileName, before);
    EXPECT_EQ(answerer.Answered(), 0);
}

// "results" typed, "results.lmr" exists: the chooser's question is asked for the name the
// default extension made. Refused, the chooser stays open; the user then gives up.
TEST_F(DialogsTest, ReplacingAFileNamedByTheDefaultExtensionIsAsked) {
    Touch("results.lmr");
    for (const bool replace : {false, true}) {
        std::vector<std::string> questions;
        TDialogAnswerer answerer([&](GtkWindow* window) {
            if (GTK_IS_FILE_CHOOSER(window)) {
                Choose(window, Folder, "results");
                return;
            }
            questions.push_back(MessageText(window));
            GtkWindow* chooser = gtk_window_get_transient_for(window);
            gtk_dialog_response(GTK_DIALOG(window),
                                replace ? GTK_RESPONSE_ACCEPT : GTK_RESPONSE_CANCEL);
            if (!replace && chooser != nullptr) {
                // Once the chooser is back on screen.
                g_timeout_add(
                    300,
                    +[](gpointer dialog) {
                        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
                        return G_SOURCE_REMOVE;
                    },
                    chooser);
            }
        });
        std::string fileName = "proposed.lmr";
        EXPECT_EQ(Dialogs.ExecuteFileDialog(ResultsOptions(), fileName), replace);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_NE(questions[0].find("results.lmr"), std::string::npos) << questions[0];
        EXPECT_EQ(fileName, replace ? Folder + "/results.lmr" : "proposed.lmr");
    }
}

TEST_F(DialogsTest, AnOpenDialogTakesOnlyAnExistingFile) {
    Touch("present.lmr");
    struct TState {
        GtkWindow* Chooser = nullptr;
        std::string Folder;
    } state{nullptr, Folder};
    TDialogAnswerer answerer([&state](GtkWindow* window) {
        // A missing file first: the dialog must stay open; a moment later an existing one.
        state.Chooser = window;
        Choose(window, state.Folder, "missing.lmr");
        g_timeout_add(
            300,
            +[](gpointer data) {
                auto* later = static_cast<TState*>(data);
                Choose(later->Chooser, later->Folder, "present.lmr");
                return G_SOURCE_REMOVE;
            },
            &state);
    });
    TFileDialogOptions options;
    options.OpenDialog = true;
    options.FileMustExist = true;
    options.Filter = "Results|*.lmr|All|*.*";
    std::string fileName;
    ASSERT_TRUE(Dialogs.ExecuteFileDialog(options, fileName));
    EXPECT_EQ(fileName, Folder + "/present.lmr");
}

} // namespace
} // namespace stellik::testing
