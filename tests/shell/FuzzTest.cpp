// Forged and broken form submits: random field lists never crash the window and never lose
// what was already answered.
#include "ShellKit.h"

#include "documents/UserSettings.h"
#include "platform/Exception.h"

#include <gtest/gtest.h>

#include <random>

namespace stellik::testing {
namespace {

class TFieldMaker {
public:
    explicit TFieldMaker(uint32_t seed) : Random(seed) {}

    int Below(int n) { return static_cast<int>(Random() % static_cast<uint32_t>(n)); }

    // Bytes of every kind: ASCII, Cyrillic, broken UTF-8, NUL and control characters.
    std::string Bytes(int maxLength) {
        static const std::string pieces[] = {"a",
                                             "Z",
                                             "7",
                                             "/",
                                             "=",
                                             " ",
                                             "ж",
                                             "Ё",
                                             "\xff",
                                             "\xc0",
                                             std::string(1, '\0'),
                                             "\x01",
                                             "\r\n",
                                             "<",
                                             "&",
                                             "\xed\xa0\x80",
                                             "\xf0\x9f\x98\x80"};
        std::string text;
        for (int n = Below(maxLength + 1); n > 0; --n) {
            text += pieces[Below(static_cast<int>(std::size(pieces)))];
        }
        return text;
    }

    // A question part: never question 0, whose answer the test watches; one that is no
    // integer only when hostile.
    std::string Question(bool hostile) {
        switch (Below(hostile ? 8 : 6)) {
        case 0:
            return "1";
        case 1:
            return "2";
        case 2:
            return std::to_string(3 + Below(1000000));
        case 3:
            return "-" + std::to_string(1 + Below(10));
        case 4:
            return "$" + std::to_string(1 + Below(2));
        case 5:
            return " 2";
        case 6:
            return "99999999999999999999";
        default:
            return Bytes(4);
        }
    }

    std::pair<std::string, std::string> AnswerField(bool hostile) {
        switch (Below(hostile ? 9 : 8)) {
        case 0:
            return {"CMD/NEXT", Bytes(3)};
        case 1:
            return {"cmd/skip", ""};
        case 2:
            return {"CMD/" + Bytes(5), ""};
        case 3:
            return {Bytes(12), Bytes(12)};
        case 4:
            return {"ANSW/" + Question(hostile), Bytes(3)};
        case 5:
            return {"answ/" + Question(hostile) + "/" + Bytes(3), Bytes(30)};
        case 6:
            return {"ANSW/" + Question(hostile) + "/" + std::to_string(Below(4)), Bytes(8)};
        case 7:
            return {"ANSW/" + Question(hostile) + "//", ""};
        default:
            return {"ANSW/", Bytes(2)};
        }
    }

    std::pair<std::string, std::string> RegisterField() {
        static const std::string names[] = {"lastname", "FirstName", "patronymic",
                                            "ADDINFO",  "saveinfo",  "Submit"};
        if (Below(4) == 0) {
            return {Bytes(10), Bytes(10)};
        }
        const std::string& name = names[Below(static_cast<int>(std::size(names)))];
        return {name, Below(5) == 0 ? name : Bytes(20)};
    }

private:
    std::mt19937 Random;
};

TEST(Fuzz, RandomAnswerSubmitsNeverCrashNorLoseAnAnswer) {
    TShellKit kit(KitSettingsXml("<view-profile><base-params><allow-question-skip/>"
                                 "<test-run-mode>list</test-run-mode></base-params>"
                                 "</view-profile>"));
    ASSERT_EQ(kit.StartError(), "");
    TFieldMaker maker(20261207);
    auto startRun = [&] {
        kit.Click("runtest");
        kit.Submit("testinput", {{"ANSW/0", "0"}}); // buffered, applied by a later "next"
    };
    startRun();
    int carriedOut = 0; // submits whose command was carried out
    int refused = 0;    // submits refused for a question part that is no integer
    for (int round = 0; round < 400; ++round) {
        TFormFields fields;
        const bool hostile = maker.Below(5) == 0;
        for (int n = maker.Below(round % 50 == 0 ? 3000 : 12); n > 0; --n) {
            fields.push_back(maker.AnswerField(hostile));
        }
        if (round % 100 == 7) {
            fields.emplace_back("ANSW/1/0", std::string(2 << 20, 'x')); // megabytes
            fields.emplace_back("CMD/NEXT", "");
        }
        std::vector<TAnswerRec> before;
        for (int i = 0; i < kit.Doc().AnswerBuf.GetCount(); ++i) {
            before.push_back(kit.Doc().AnswerBuf.GetItem(i));
        }
        const std::u16string watched = kit.Doc().Questions.GetItem(0).Answers.GetItem(0).Value;
        const size_t pages = kit.View.Pages.size();
        try {
            kit.Submit("testinput", fields);
            carriedOut += kit.View.Pages.size() > pages ? 1 : 0;
        } catch (const EConvertError&) {
            ++refused;
            // A question part that is no integer: what came before stays buffered.
            ASSERT_GE(kit.Doc().AnswerBuf.GetCount(), static_cast<int>(before.size()));
            for (size_t i = 0; i < before.size(); ++i) {
                EXPECT_EQ(kit.Doc().AnswerBuf.GetItem(static_cast<int>(i)).Value, before[i].Value);
            }
            EXPECT_EQ(kit.View.Pages.size(), pages);
        }
        // Every record in the buffer names a question of the test.
        for (int i = 0; i < kit.Doc().AnswerBuf.GetCount(); ++i) {
            const int index = kit.Doc().AnswerBuf.GetItem(i).Index;
            ASSERT_TRUE(index >= 0 && index < kit.Doc().Questions.GetCount()) << index;
        }
        // Question 0 is never named by the fuzz: once applied, its answer stays.
        if (!watched.empty()) {
            EXPECT_EQ(kit.Doc().Questions.GetItem(0).Answers.GetItem(0).Value, watched);
        }
        if (!kit.Doc().IsRunning()) {
            startRun();
        }
    }
    EXPECT_GT(carriedOut, 100);
    EXPECT_GT(refused, 20);
    // The run still works after all of that, and so does its report.
    kit.Submit("testinput", {{"CMD/NEXT", ""}});
    EXPECT_EQ(MessageOf([&] { kit.Click("lastreport"); }), "");
    EXPECT_EQ(kit.PageRoot(), "test-results");
}

TEST(Fuzz, RandomRegistrationsKeepTheFirstFieldOfEachName) {
    TShellKit kit(KitSettingsXml("<save-results/>"));
    ASSERT_EQ(kit.StartError(), "");
    TFieldMaker maker(77);
    auto first = [](const TFormFields& fields, const std::string& name) {
        for (const auto& [fieldName, value] : fields) {
            if (fieldName.size() == name.size() &&
                std::equal(fieldName.begin(), fieldName.end(), name.begin(), [](char a, char b) {
                    return std::tolower(static_cast<unsigned char>(a)) == b;
                })) {
                return value;
            }
        }
        return std::string();
    };
    for (int round = 0; round < 300; ++round) {
        TFormFields fields;
        for (int n = maker.Below(round % 100 == 0 ? 5000 : 10); n > 0; --n) {
            fields.push_back(maker.RegisterField());
        }
        const std::string message = MessageOf([&] { kit.Submit("register", fields); });
        const std::string lastName = first(fields, "lastname");
        const std::string firstName = first(fields, "firstname");
        EXPECT_EQ(message, lastName.empty()    ? "Не введена фамилия"
                           : firstName.empty() ? "Не введено имя"
                                               : "");
        EXPECT_EQ(kit.User().LastName, lastName);
        EXPECT_EQ(kit.User().FirstName, firstName);
        EXPECT_EQ(kit.User().Patronymic, first(fields, "patronymic"));
        EXPECT_EQ(kit.User().AddInfo, first(fields, "addinfo"));
        EXPECT_EQ(kit.User().SaveInfo, first(fields, "saveinfo") == "saveinfo");
        // Whatever the bytes, the registration page shows them decoded.
        kit.Frame().ShowRegisterPage();
        EXPECT_EQ(kit.PageRoot(), "register");
    }
}

} // namespace
} // namespace stellik::testing
