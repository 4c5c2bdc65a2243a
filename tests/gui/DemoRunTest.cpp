// The demo test from the registration page to the report, in each run mode, as an examinee
// goes through it: typing into the real fields, clicking the real buttons.
#include "documents/SettingsObj.h"
#include "documents/UserSettings.h"
#include "model/Question.h"
#include "platform/Unicode.h"
#include "shell/gtk/PageRules.h"
#include "tests/gui/PlayerKit.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>

namespace stellik::testing {
namespace {

struct TModeCase {
    const char* Name; // as the view profile writes it
    bool SkipButton;  // pages of the mode offer "Пропустить"
};

// The case by its mode: ctest then names the three runs ".../step", ".../sepmsg", ".../list".
void PrintTo(const TModeCase& mode, std::ostream* out) {
    *out << mode.Name;
}

class DemoRunTest : public ::testing::TestWithParam<TModeCase> {
protected:
    void Snap(const std::string& step) {
        Player->View().Snapshot(std::string(GetParam().Name) + "-" + step);
    }
    std::string Text() { return Player->View().PageText(); }
    bool Shows(const std::string& text) { return Text().find(text) != std::string::npos; }

    // Answers every question of the page (the right answer where one is easy to give) and
    // presses the command button; what was sent is checked in the engine afterwards.
    void AnswerPage(const std::string& command);
    void CheckBuffered() const;

    const TScratchFolder Scratch;
    const std::string Folder = Scratch.Path();
    std::unique_ptr<TPlayer> Player;
    // (question, answer) -> the value the engine must hold after the page was answered.
    std::map<std::pair<int, int>, std::u16string> Expected;
};

// "ANSW/3" -> 3, -1; "ANSW/3/1" -> 3, 1.
std::pair<int, int> FieldTarget(const std::string& name) {
    const std::string rest = name.substr(5);
    const size_t slash = rest.find('/');
    if (slash == std::string::npos) {
        return {std::stoi(rest), -1};
    }
    return {std::stoi(rest.substr(0, slash)), std::stoi(rest.substr(slash + 1))};
}

void DemoRunTest::AnswerPage(const std::string& command) {
    TTestDoc& test = Player->Frame().GetTestDoc();
    TViewDriver& view = Player->View();
    Expected.clear();
    for (const TPageField& field : Player->Fields()) {
        if (!field.Name.starts_with("ANSW/")) {
            continue;
        }
        const auto [question, slot] = FieldTarget(field.Name);
        const TQuestion& asked = test.Questions.GetItem(question);
        const std::string selector = "[name=" + JsStringLiteral(field.Name) + "]";
        if (field.Type == "radio" || field.Type == "checkbox") {
            const int answer = std::stoi(field.Value);
            if (asked.Answers.GetItem(answer).Points > 0) {
                view.Click("input" + selector + "[value=\"" + field.Value + "\"]");
                Expected[{question, answer}] = u"1";
            }
        } else if (field.Type == "select-one") {
            const std::string right = Utf16ToUtf8(asked.Answers.GetItem(slot).Right);
            view.Eval("(() => { const list = document.querySelector(" + JsStringLiteral(selector) +
                      "); list.value = Array.from(list.options).find(o => o.text == " +
                      JsStringLiteral(right) +
                      ").value; list.dispatchEvent(new Event('change', {bubbles: true})); })()");
            Expected[{question, slot}] = Utf8ToUtf16(right);
        } else if (field.Type == "text") {
            // The right answer as typed: Cyrillic for the text kind, digits for the number.
            std::u16string typed = asked.Answers.GetItem(slot).Right;
            if (asked.GetKindCode() == 2 && !typed.empty()) {
                typed = UpperCase(typed.substr(0, 1)) + typed.substr(1);
            }
            view.Type(selector, Utf16ToUtf8(typed));
            Expected[{question, slot}] = typed;
        }
    }
    Player->ClickForPage("input[name=\"" + command + "\"]");
}

void DemoRunTest::CheckBuffered() const {
    const TTestDoc& test = Player->Frame().GetTestDoc();
    for (const auto& [target, value] : Expected) {
        EXPECT_EQ(test.Questions.GetItem(target.first).Answers.GetItem(target.second).Value, value)
            << "question " << target.first << " answer " << target.second;
    }
}

TEST_P(DemoRunTest, FromRegistrationToTheSavedReport) {
    const TModeCase& mode = GetParam();
    const std::string file = std::string(mode.Name) == "sepmsg"
                                 ? BuiltPlayer()
                                 : DemoPlayerWith(Folder, "<test-run-mode>sepmsg<",
                                                  std::string("<test-run-mode>") + mode.Name + "<");
    Player = std::make_unique<TPlayer>(file);
    Player->Start();
    ASSERT_TRUE(Shows("Регистрация"));
    Snap("01-register");

    Player->View().Type("input[name=lastname]", "Иванов");
    Player->View().Type("input[name=firstname]", "Пётр");
    Player->View().Type("input[name=patronymic]", "Сергеевич");
    Player->View().Type("textarea[name=addinfo]", "10 «Б» класс");
    Player->ClickForPage("input[type=submit]");
    const TUserSettings& user = *Player->App().GetServices().SettingsObj->GetUserSettings();
    EXPECT_EQ(user.LastName, "Иванов");
    EXPECT_EQ(user.Patronymic, "Сергеевич");
    EXPECT_EQ(user.AddInfo, "10 «Б» класс");
    Snap("02-title");

    Player->ClickForPage("a[href=\"stellik://cmd/runtest\"]");
    TTestDoc& test = Player->Frame().GetTestDoc();
    ASSERT_TRUE(test.IsRunning());

    int page = 0;
    int questionPages = 0;
    bool skipped = !mode.SkipButton;
    std::map<std::string, int> kindsAnswered;
    while (test.IsRunning()) {
        ASSERT_LT(++page, 40) << "the run does not end";
        Snap("03-run-" + std::to_string(page));
        const std::vector<TPageField> fields = Player->Fields();
        const bool asks = std::any_of(fields.begin(), fields.end(), [](const TPageField& f) {
            return f.Name.starts_with("ANSW/");
        });
        if (!asks) { // a message page: its "ОК"
            ASSERT_TRUE(std::any_of(fields.begin(), fields.end(), [](const TPageField& f) {
                return f.Name == "CMD/NEXT";
            })) << Text();
            Player->ClickForPage("input[name=\"CMD/NEXT\"]");
            continue;
        }
        ++questionPages;
        for (const TPageField& field : fields) {
            if (field.Name.starts_with("ANSW/")) {
                ++kindsAnswered[field.Type];
            }
        }
        if (!skipped && questionPages == 2) {
            const int question = FieldTarget(std::find_if(fields.begin(), fields.end(),
                                                          [](const TPageField& f) {
                                                              return f.Name.starts_with("ANSW/");
                                                          })
                                                 ->Name)
                                     .first;
            Player->ClickForPage("input[name=\"CMD/SKIP\"]");
            EXPECT_FALSE(test.Questions.GetItem(question).Answered) << "skipped";
            skipped = true;
            continue;
        }
        AnswerPage("CMD/NEXT");
        CheckBuffered();
    }
    EXPECT_TRUE(skipped);
    // Every kind of field was answered: choices, check boxes, typed texts and lists.
    for (const char* type : {"radio", "checkbox", "text", "select-one"}) {
        EXPECT_GT(kindsAnswered[type], 0) << type << " in " << page << " pages";
    }
    EXPECT_EQ(test.GetStopReason(), u"test-end");
    Snap("04-stop");
    EXPECT_TRUE(Shows("Протокол тестирования") ||
                Player->View().Eval("document.querySelector('input[value*=\"Протокол\"]') != "
                                    "null") == "true");

    Player->ClickForPage("input[value*=\"Протокол\"]");
    Snap("05-report");
    // Every question with the answer given to it.
    EXPECT_TRUE(Shows("3. Протокол тестирования")) << Text();
    const std::string given =
        Player->View().Eval("document.body.innerText.split('Дан ответ').length - 1");
    EXPECT_EQ(given, std::to_string(test.PlannedQuestions));

    // The results through the save dialog, under a name of the user's choice.
    TDialogAnswerer answerer([this](GtkWindow* dialog) {
        GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
        gtk_file_chooser_set_current_folder(chooser, Folder.c_str());
        gtk_file_chooser_set_current_name(chooser, "результаты");
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    });
    Player->View().Click("a[href=\"stellik://cmd/saveresults\"]");
    ASSERT_TRUE(RunUntil([this] { return Player->Frame().GetResultsSaved(); }));
    std::string saved;
    gchar* bytes = nullptr;
    gsize size = 0;
    ASSERT_TRUE(g_file_get_contents((Folder + "/результаты.lmr").c_str(), &bytes, &size, nullptr));
    saved.assign(bytes, size);
    g_free(bytes);
    EXPECT_TRUE(saved.starts_with("PK")) << "a ZIP archive";

    gtk_window_close(Player->App().GetWindow().GetWindow());
    ASSERT_TRUE(RunUntil([this] { return Player->App().GetWindow().IsClosed(); }));
    EXPECT_EQ(answerer.Answered(), 1) << "nothing more was asked at the close";
}

INSTANTIATE_TEST_SUITE_P(Modes, DemoRunTest,
                         ::testing::Values(TModeCase{"step", true}, TModeCase{"sepmsg", true},
                                           TModeCase{"list", false}));

} // namespace
} // namespace stellik::testing
