// The page protocol: links and form submits naming commands, answers and registration data.
#include "shell/MainFrm.h"

#include "documents/UserSettings.h"
#include "platform/Convert.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"
#include "shell/ExternalLinks.h"
#include "shell/PseudoHosts.h"

#include <array>

namespace stellik {

namespace {

// A submitted field's value by name, whatever its letter case: the first match, else empty.
const std::string& FieldValue(const TFormFields& fields, std::string_view name) {
    static const std::string none;
    for (const auto& [fieldName, value] : fields) {
        if (SameAsciiText(fieldName, name)) {
            return value;
        }
    }
    return none;
}

// A text area hands its line breaks over as LF; the examinee's data keep them as CR LF.
std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') {
            out += text[i];
            continue;
        }
        out += "\r\n";
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        }
    }
    return out;
}

struct TCommand {
    std::string_view Name;
    void (*Run)(TMainFrm& frame, const TFormFields* fields);
};

// In the order they are compared.
constexpr std::array<TCommand, 5> Commands{{
    {"lastreport", [](TMainFrm& frame, const TFormFields*) { frame.ShowLastReport(); }},
    {"runtest", [](TMainFrm& frame, const TFormFields*) { frame.RunTest(); }},
    {"saveresults", [](TMainFrm& frame, const TFormFields*) { frame.SaveResultsDialog(); }},
    {"register",
     [](TMainFrm& frame, const TFormFields* fields) {
         if (fields != nullptr) {
             frame.RegisterUser(*fields);
         }
     }},
    {"testinput",
     [](TMainFrm& frame, const TFormFields* fields) {
         if (fields != nullptr) {
             frame.ProcessTestInput(*fields);
         }
     }},
}};

enum class TInputCommand { None, Next, Skip };

} // namespace

void TMainFrm::ExecuteLink(const std::string& url, const TFormFields* fields) {
    if (!url.starts_with(CommandHost)) {
        if (IsExternalUrl(url)) {
            View.OpenExternal(url);
        }
        return;
    }
    // The prefix and one separator, cut by position.
    const std::string command =
        url.size() > CommandHost.size() + 1 ? url.substr(CommandHost.size() + 1) : "";
    for (const TCommand& entry : Commands) {
        if (command == entry.Name) {
            entry.Run(*this, fields);
            return;
        }
    }
    // Shown as valid text whatever bytes the URL carried.
    Dialogs.MessageBox("UncnownCommand: " + Utf16ToUtf8(Utf8ToUtf16(command)), TMsgButtons::Ok,
                       TMsgIcon::None);
}

void TMainFrm::RunTest() {
    constexpr double MinutesPerDay = 24.0 * 60.0;
    ResultsSaved = false;
    TestDoc->TestTime = Options->GetTestTime() / MinutesPerDay;
    TestDoc->StartRun(Options->GetViewProfile().Mode, Options->GetRatingLevel());
    ShowRunPage();
}

void TMainFrm::ProcessTestInput(const TFormFields& values) {
    TInputCommand command = TInputCommand::None;
    for (const auto& [fieldName, fieldValue] : values) {
        const std::u16string name = UpperCase(Utf8ToUtf16(fieldName));
        const std::u16string_view nameView(name);
        if (nameView.starts_with(u"ANSW/")) {
            const std::u16string_view rest = nameView.substr(5);
            const size_t slash = rest.find(u'/');
            const std::u16string question(rest.substr(0, slash));
            std::u16string answer;
            std::u16string value;
            if (slash != std::u16string_view::npos) {
                answer = rest.substr(slash + 1);
                value = Utf8ToUtf16(fieldValue);
            } else {
                answer = Utf8ToUtf16(fieldValue);
                value = u"1";
            }
            // A forged position outside the test answers nothing; buffered, it would make
            // every later submit of the run fail.
            const std::optional<int> index = TryStrToInt(question);
            if (index && (*index < 0 || *index >= TestDoc->Questions.GetCount())) {
                continue;
            }
            TestDoc->BufferAnswer(question, answer, value); // raises for a non-integer
        } else if (nameView.starts_with(u"CMD/")) {
            const std::u16string_view rest = nameView.substr(4);
            if (rest == u"NEXT") {
                command = TInputCommand::Next;
            } else if (rest == u"SKIP") {
                command = TInputCommand::Skip;
            }
        }
    }
    if (command == TInputCommand::None) {
        return; // the answers wait in the buffer; the page stays
    }
    if (command == TInputCommand::Next) {
        TestDoc->SubmitAnswers();
    } else {
        TestDoc->SkipQuestion();
    }
    ShowRunPage();
}

void TMainFrm::RegisterUser(const TFormFields& values) {
    TUserSettings& user = UserSettings();
    // Kept as submitted (UTF-8), also when a check below fails.
    user.LastName = FieldValue(values, "lastname");
    user.FirstName = FieldValue(values, "firstname");
    user.Patronymic = FieldValue(values, "patronymic");
    user.AddInfo = WithCrLf(FieldValue(values, "addinfo"));
    user.SaveInfo = FieldValue(values, "saveinfo") == "saveinfo";
    if (user.LastName.empty()) {
        throw Exception("Не введена фамилия");
    }
    if (user.FirstName.empty()) {
        throw Exception("Не введено имя");
    }
    ShowTestHeadPage();
}

} // namespace stellik
