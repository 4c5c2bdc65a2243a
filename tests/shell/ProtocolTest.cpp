// The page protocol: links, commands, answer submits and registration.
#include "ShellKit.h"

#include "documents/SettingsObj.h"
#include "documents/UserSettings.h"
#include "platform/Unicode.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace stellik::testing {
namespace {

// A started window on the title page, in list mode so that every question is on the page.
TShellKit& ListRun(TShellKit& kit) {
    EXPECT_EQ(kit.StartError(), "");
    kit.Click("runtest");
    return kit;
}

const std::string ListMode =
    "<view-profile><base-params><test-run-mode>list</test-run-mode><show-report/>"
    "</base-params></view-profile>";

std::u16string AnswerValue(TShellKit& kit, int question, int answer) {
    return kit.Doc().Questions.GetItem(question).Answers.GetItem(answer).Value;
}

TEST(Protocol, OnlyWebAndMailLinksGoToTheDesktopAndThePageStays) {
    struct TCase {
        std::string Url;
        bool Opened;
    };
    const TCase cases[] = {
        {"http://example.org/help?a=1", true},
        {"https://example.org/", true},
        {"HTTPS://EXAMPLE.ORG/", true},
        {"mailto:teacher@example.org", true},
        {"file:///etc/passwd", false},
        {"/usr/bin/xterm", false},
        {"javascript:alert(1)", false},
        {"ftp://example.org/", false},
        {"http", false},
        {"stellik://content/pic.gif", false},
        {"stellik://system/timer.gif", false},
        {"stellik://CMD/runtest", false}, // the command prefix only as written
        {"Stellik://cmd/runtest", false},
        {"", false},
    };
    TShellKit kit;
    ASSERT_EQ(kit.StartError(), "");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Url);
        kit.View.Opened.clear();
        const TFormFields fields{{"ANSW/0", "0"}, {"CMD/NEXT", "x"}};
        kit.Frame().ExecuteLink(c.Url, nullptr);
        kit.Frame().ExecuteLink(c.Url, &fields); // a form action: its fields are dropped
        const std::vector<std::string> opened =
            c.Opened ? std::vector<std::string>{c.Url, c.Url} : std::vector<std::string>{};
        EXPECT_EQ(kit.View.Opened, opened);
        EXPECT_EQ(kit.View.Pages.size(), 1U);
        EXPECT_TRUE(kit.Dialogs.Messages.empty());
        EXPECT_EQ(kit.Doc().AnswerBuf.GetCount(), 0);
        EXPECT_FALSE(kit.Doc().Started);
    }
}

TEST(Protocol, AnythingButAnExactCommandNameIsAnUnknownCommand) {
    struct TCase {
        std::string Url;
        std::string Message;
    };
    const TCase cases[] = {
        {"stellik://cmd/runtest/", "UncnownCommand: runtest/"},
        {"stellik://cmd/runtest?x=1", "UncnownCommand: runtest?x=1"},
        {"stellik://cmd/RunTest", "UncnownCommand: RunTest"},
        {"stellik://cmd/", "UncnownCommand: "},
        {"stellik://cmd", "UncnownCommand: "},
        {"stellik://cmd/\xff\xfe", "UncnownCommand: \xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Url);
        TShellKit kit;
        ASSERT_EQ(kit.StartError(), "");
        kit.Frame().ExecuteLink(c.Url, nullptr);
        ASSERT_EQ(kit.Dialogs.Messages.size(), 1U);
        EXPECT_EQ(kit.Dialogs.Messages[0].Text, c.Message);
        EXPECT_EQ(kit.Dialogs.Messages[0].Buttons, TMsgButtons::Ok);
        EXPECT_EQ(kit.View.Pages.size(), 1U);
        EXPECT_FALSE(kit.Doc().IsRunning());
    }
}

TEST(Protocol, RunTestStartsARunWithTheSettingsAndShowsItsPage) {
    struct TCase {
        std::string Settings;
        double Minutes;
        std::u16string Mode;
        int Level;
    };
    const TCase cases[] = {
        {"", 0, u"step", -1},
        {"<test-time>2</test-time>" + ListMode, 2, u"list", -1},
        {"<test-time>90</test-time><rating-level>2</rating-level>", 90, u"step", 2},
        {"<rating-level>1</rating-level>" + ListMode, 0, u"list", 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Settings);
        TShellKit kit(KitSettingsXml(c.Settings));
        ASSERT_EQ(kit.StartError(), "");
        kit.Click("runtest");
        EXPECT_TRUE(kit.Doc().IsRunning());
        EXPECT_FALSE(kit.Frame().GetResultsSaved());
        EXPECT_DOUBLE_EQ(kit.Doc().TestTime * 24 * 60, c.Minutes);
        ASSERT_NE(kit.Doc().GetOutManager(), nullptr);
        EXPECT_EQ(kit.Doc().GetOutManager()->GetLevel(), c.Level);
        ASSERT_EQ(kit.View.Pages.size(), 2U);
        EXPECT_EQ(kit.PageRoot(), "test-out");
        EXPECT_EQ(kit.PageText(u"/test-out/@mode"), Utf16ToUtf8(c.Mode));
        EXPECT_EQ(kit.PageText(u"/test-out/@test-name"), "Проверка");
        // The page document carries a UTF-8 declaration in place of the engine's own.
        const TXpNode first = kit.Page().Document().FirstChild();
        EXPECT_EQ(first.NodeName(), u"xml");
        EXPECT_EQ(first.NodeValue(), u"version=\"1.0\" encoding=\"utf-8\"");
        EXPECT_EQ(first.NextSibling(), kit.Page().DocumentElement());
    }
}

TEST(Protocol, FormCommandsDoNothingAsPlainLinks) {
    TShellKit kit(KitSettingsXml("<save-results/>"));
    ASSERT_EQ(kit.StartError(), "");
    kit.Click("register");
    kit.Click("testinput");
    EXPECT_EQ(kit.View.Pages.size(), 1U);
    EXPECT_EQ(kit.PageRoot(), "register");
    EXPECT_TRUE(kit.Dialogs.Messages.empty());
}

TEST(Protocol, AnswerFieldsAreBufferedDecodedWithNamesUpperCased) {
    struct TRecord {
        int Index;
        std::u16string Answer;
        std::u16string Value;
    };
    struct TCase {
        std::string Name;
        TFormFields Fields;
        std::vector<TRecord> Buffered;
    };
    const TCase cases[] = {
        {"radio or check box: the value is the answer", {{"ANSW/2", "1"}}, {{2, u"1", u"1"}}},
        {"text field: the value is decoded",
         {{"ANSW/1/0", "Пушкин А. С."}},
         {{1, u"0", W("Пушкин А. С.")}}},
        {"names are upper-cased, values are not",
         {{"answ/1/ab", "кот"}, {"Answ/0", "xy"}},
         {{1, u"AB", W("кот")}, {0, u"xy", u"1"}}},
        {"Cyrillic in a name is upper-cased too", {{"ANSW/1/ж", "ж"}}, {{1, W("Ж"), W("ж")}}},
        {"other lines and unknown commands are ignored",
         {{"Submit", "Ответить"}, {"CMD/OTHER", ""}, {"ANSWER/1", "0"}, {"ANSW/2", "0"}},
         {{2, u"0", u"1"}}},
        {"an empty answer part", {{"ANSW/2/", ""}}, {{2, u"", u""}}},
        {"split at the first slash", {{"ANSW/1/0/2", "x"}}, {{1, u"0/2", u"x"}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TShellKit kit(KitSettingsXml(ListMode));
        ListRun(kit);
        kit.Submit("testinput", c.Fields);
        EXPECT_EQ(kit.View.Pages.size(), 2U); // without a command the page stays
        ASSERT_EQ(kit.Doc().AnswerBuf.GetCount(), static_cast<int>(c.Buffered.size()));
        for (size_t i = 0; i < c.Buffered.size(); ++i) {
            const TAnswerRec& rec = kit.Doc().AnswerBuf.GetItem(static_cast<int>(i));
            EXPECT_EQ(rec.Index, c.Buffered[i].Index);
            EXPECT_EQ(rec.AnswerId, c.Buffered[i].Answer);
            EXPECT_EQ(rec.Value, c.Buffered[i].Value);
        }
    }
}

TEST(Protocol, TheLaterCommandOfASubmitWins) {
    struct TCase {
        TFormFields Fields;
        bool Applied; // "CMD/NEXT" applies the answers, "CMD/SKIP" drops them
    };
    const TCase cases[] = {
        {{{"ANSW/0", "0"}, {"CMD/NEXT", "Ответить"}}, true},
        {{{"ANSW/0", "0"}, {"CMD/SKIP", "Пропустить"}}, false},
        {{{"ANSW/0", "0"}, {"CMD/NEXT", ""}, {"CMD/SKIP", ""}}, false},
        {{{"CMD/SKIP", ""}, {"ANSW/0", "0"}, {"cmd/next", ""}}, true},
        {{{"ANSW/0", "0"}, {"CMD/NEXT", ""}, {"CMD/NEXTX", ""}}, true},
    };
    for (const TCase& c : cases) {
        TShellKit kit;
        ListRun(kit);
        kit.Submit("testinput", c.Fields);
        EXPECT_EQ(kit.View.Pages.size(), 3U); // the run page is built again
        EXPECT_EQ(kit.Doc().AnswerBuf.GetCount(), 0);
        EXPECT_EQ(AnswerValue(kit, 0, 0), c.Applied ? u"1" : u"");
    }
}

TEST(Protocol, NonIntegerQuestionRaisesAndKeepsTheEarlierLinesBuffered) {
    TShellKit kit(KitSettingsXml(ListMode));
    ListRun(kit);
    const std::string message = MessageOf([&] {
        kit.Submit("testinput",
                   {{"ANSW/0", "0"}, {"ANSW/q1/0", "a"}, {"ANSW/2", "1"}, {"CMD/NEXT", ""}});
    });
    EXPECT_EQ(message, "'Q1' is not a valid integer value");
    EXPECT_EQ(kit.Doc().AnswerBuf.GetCount(), 1); // the line before it
    EXPECT_EQ(kit.View.Pages.size(), 2U);         // the command was not carried out
    EXPECT_EQ(AnswerValue(kit, 0, 0), u"");

    // Nothing is lost: the next submit applies what was buffered.
    kit.Submit("testinput", {{"ANSW/1/0", "Пушкин"}, {"CMD/NEXT", ""}});
    EXPECT_EQ(AnswerValue(kit, 0, 0), u"1");
    EXPECT_EQ(AnswerValue(kit, 1, 0), u"Пушкин");
}

TEST(Protocol, AQuestionOutsideTheTestAnswersNothingAndBreaksNothing) {
    TShellKit kit(KitSettingsXml(ListMode));
    ListRun(kit);
    kit.Submit("testinput", {{"ANSW/0", "0"},
                             {"ANSW/3", "0"},
                             {"ANSW/-1/0", "x"},
                             {"ANSW/$7FFFFFFF", "0"},
                             {"ANSW/0/99", "x"},
                             {"CMD/NEXT", ""}});
    EXPECT_EQ(AnswerValue(kit, 0, 0), u"1");
    EXPECT_EQ(kit.View.Pages.size(), 3U);
    kit.Submit("testinput", {{"ANSW/2", "1"}, {"CMD/NEXT", ""}});
    EXPECT_EQ(AnswerValue(kit, 2, 1), u"1");
}

TEST(Protocol, RegistrationKeepsTheFieldsAndChecksLastThenFirstName) {
    struct TCase {
        TFormFields Fields;
        std::string Message;
        std::string LastName, FirstName, Patronymic, AddInfo;
        bool SaveInfo;
    };
    const TCase cases[] = {
        {{{"lastname", "Иванов"},
          {"firstname", "Иван"},
          {"patronymic", "Иванович"},
          {"addinfo", "группа 1\r\nпоток 2"},
          {"saveinfo", "saveinfo"},
          {"Submit", "  Продолжить  "}},
         "",
         "Иванов",
         "Иван",
         "Иванович",
         "группа 1\r\nпоток 2",
         true},
        {{{"lastname", "Иванов"}, {"firstname", ""}, {"saveinfo", "saveinfo"}},
         "Не введено имя",
         "Иванов",
         "",
         "",
         "",
         true},
        {{{"firstname", "Иван"}, {"patronymic", "Ильич"}},
         "Не введена фамилия",
         "",
         "Иван",
         "Ильич",
         "",
         false},
        {{}, "Не введена фамилия", "", "", "", "", false},
        // A text area's line breaks come as LF (or CR) and are kept as CR LF.
        {{{"lastname", "Иванов"},
          {"firstname", "Иван"},
          {"addinfo", "\nгруппа 1\nпоток 2\r\n\rx\n"}},
         "",
         "Иванов",
         "Иван",
         "",
         "\r\nгруппа 1\r\nпоток 2\r\n\r\nx\r\n",
         false},
        // Names ignore letter case; the first line of a name counts; the box's value must
        // be its own name; bytes are kept as they came, whatever they are.
        {{{"LastName", "Петров"},
          {"lastname", "Сидоров"},
          {"FIRSTNAME", "\xff\xfe"},
          {"saveinfo", "on"}},
         "",
         "Петров",
         "\xff\xfe",
         "",
         "",
         false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Message + c.LastName);
        TShellKit kit(KitSettingsXml("<save-results/>"));
        ASSERT_EQ(kit.StartError(), "");
        kit.User().SaveInfo = true; // an unchecked box clears it
        kit.User().AddInfo = "старое";
        EXPECT_EQ(MessageOf([&] { kit.Submit("register", c.Fields); }), c.Message);
        EXPECT_EQ(kit.User().LastName, c.LastName);
        EXPECT_EQ(kit.User().FirstName, c.FirstName);
        EXPECT_EQ(kit.User().Patronymic, c.Patronymic);
        EXPECT_EQ(kit.User().AddInfo, c.AddInfo);
        EXPECT_EQ(kit.User().SaveInfo, c.SaveInfo);
        EXPECT_EQ(kit.View.Pages.size(), c.Message.empty() ? 2U : 1U);
        EXPECT_EQ(kit.PageRoot(), c.Message.empty() ? "test-head" : "register");
    }
}

TEST(Protocol, AdditionalInformationKeepsItsLineBreaksInTheIniAndOnThePage) {
    TShellKit kit(KitSettingsXml("<save-results/>"));
    ASSERT_EQ(kit.StartError(), "");
    kit.Submit("register", {{"lastname", "Ли"},
                            {"firstname", "Ян"},
                            {"addinfo", "\nгр.\n2"},
                            {"saveinfo", "saveinfo"}});
    kit.Services.SettingsObj->SaveUserSettings();
    std::ifstream file(kit.Services.SettingsObj->GetDataDir() + "Stellik.ini");
    std::ostringstream ini;
    ini << file.rdbuf();
    EXPECT_NE(ini.str().find("AddInfo=0D0AD0B3D1802E0D0A32\n"), std::string::npos) << ini.str();

    // The page's parser drops one line break after the start tag: the text's own stays.
    kit.Frame().ShowRegisterPage();
    const std::string& page = kit.View.Pages.back();
    const size_t start = page.find("<textarea");
    ASSERT_NE(start, std::string::npos);
    const size_t text = page.find('>', start) + 1;
    EXPECT_EQ(page.substr(text, page.find("</textarea>", text) - text), "\n\r\nгр.\r\n2");
}

} // namespace
} // namespace stellik::testing
