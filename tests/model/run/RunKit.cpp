#include "RunKit.h"

#include "model/QuestionManager.h"
#include "platform/Convert.h"
#include "platform/Unicode.h"

#include <algorithm>

namespace stellik::testing {

std::unique_ptr<TAnswer> TProbeQuest::CreateAnswer() const {
    return std::make_unique<TAnswer>();
}

int TProbeQuest::GetMaxRating() const {
    int sum = 0;
    for (int i = 0; i < Answers.GetCount(); ++i) {
        sum += std::max(0, Answers.GetItem(i).Points);
    }
    return sum;
}

TCheckResult TProbeQuest::Check() const {
    const TPointsResult points = CalcPoints();
    return {points.Points == GetMaxRating(), points.Answered};
}

namespace {
int probeRatings = 0;
} // namespace

int ProbeRatingCount() {
    return probeRatings;
}

void ResetProbeRatingCount() {
    probeRatings = 0;
}

TPointsResult TProbeQuest::CalcPoints() const {
    ++probeRatings; // Check goes through here too: one count per rating either way
    TPointsResult result;
    for (int i = 0; i < Answers.GetCount(); ++i) {
        const TAnswer& answer = Answers.GetItem(i);
        if (!answer.Value.empty()) {
            result.Answered = true;
            if (answer.Value == answer.Right) {
                result.Points += answer.Points;
            }
        }
    }
    return result;
}

void RegisterProbeKind() {
    static const bool registered = [] {
        QuestionManager().RegisterQuestion(
            []() -> std::unique_ptr<TQuestion> { return std::make_unique<TProbeQuest>(); },
            TProbeQuest::KindCode);
        return true;
    }();
    (void)registered;
}

TQuestion& AddProbe(TTestDoc& doc, int points) {
    RegisterProbeKind();
    TQuestion* question = doc.AddQuestion(TProbeQuest::KindCode, -1);
    TAnswer* answer = question->AddAnswer();
    answer->Points = points;
    answer->SetRight(u"a");
    question->Content.AddText(u"Q" + IntToStrW(question->Index));
    return *question;
}

TSection& AddOrderedSection(TTestDoc& doc, std::vector<int> allPool) {
    TSection* section = doc.AddSection(-1);
    for (int index : allPool) {
        section->AllPool.Add(index);
    }
    section->AllRandom = section->GoodRandom = section->MidRandom = section->BadRandom = false;
    return *section;
}

void Answer(TTestDoc& doc, int index, const std::u16string& value) {
    doc.BufferAnswer(IntToStrW(index), u"0", value);
    doc.SubmitAnswers();
}

std::vector<TShown> ShownQuestions(const TWideStrings& lines) {
    std::vector<TShown> shown;
    const std::string prefix = "<question-out number=\"";
    for (const std::u16string& line : lines) {
        const std::string text = Utf16ToUtf8(line);
        if (text.rfind(prefix, 0) != 0) {
            continue;
        }
        const size_t numberEnd = text.find('"', prefix.size());
        const size_t idStart = text.find("id=\"", numberEnd) + 4;
        const size_t idEnd = text.find('"', idStart);
        shown.push_back({StrToInt(text.substr(idStart, idEnd - idStart)),
                         StrToInt(text.substr(prefix.size(), numberEnd - prefix.size()))});
    }
    return shown;
}

bool HasLine(const TWideStrings& lines, const std::u16string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TWideStrings StopBlock(const TWideStrings& lines) {
    const auto begin = std::find(lines.begin(), lines.end(), u"<test-stop>");
    const auto end = std::find(begin, lines.end(), u"</test-stop>");
    if (begin == lines.end() || end == lines.end()) {
        return {};
    }
    return TWideStrings(begin + 1, end);
}

} // namespace stellik::testing
