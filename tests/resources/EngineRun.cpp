#include "EngineRun.h"

#include "model/QuestionManager.h"
#include "platform/Convert.h"
#include "platform/DateTime.h"
#include "platform/Unicode.h"

#include <memory>

namespace stellik::testing {

namespace {

constexpr int KindSingle = 0, KindCheck = 1, KindText = 2, KindNumber = 3, KindBox = 4;

TQuestion& AddQuestion(TTestDoc& doc, int kind, const std::string& text) {
    TQuestion* question = doc.AddQuestion(kind, -1);
    question->Content.AddText(W(text));
    return *question;
}

void AddAnswer(TQuestion& question, const std::string& text, const std::string& right, int points) {
    TAnswer* answer = question.AddAnswer();
    answer->Points = points;
    answer->SetRight(W(right));
    answer->Text = W(text);
}

TSection& AddSection(TTestDoc& doc, const std::string& name, std::initializer_list<int> pool) {
    TSection* section = doc.AddSection(-1);
    section->Name = W(name);
    section->AllRandom = section->GoodRandom = section->MidRandom = section->BadRandom = false;
    for (int index : pool) {
        section->AllPool.Add(index);
    }
    return *section;
}

std::string Join(const TWideStrings& lines) {
    std::string text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
    for (size_t i = 1; i < lines.size(); ++i) { // the first line declares UTF-16
        text += "\r\n" + Utf16ToUtf8(lines[i]);
    }
    return text;
}

} // namespace

TEngineRun::TEngineRun(uint8_t mode, int minutes) {
    RegisterQuestionKinds();
    Doc.Name = W("Физика, 9 класс");
    auto marks = std::make_unique<TMarkProfile>();
    marks->DefaultMark = W("неудовлетворительно");
    marks->Elements.Add(50, W("удовлетворительно"));
    marks->Elements.Add(90, W("отлично"));
    Doc.MarkProfiles.Add(std::move(marks)); // the run gives it to the test and its sections

    TQuestion& single = AddQuestion(Doc, KindSingle, "Единица силы в СИ:");
    AddAnswer(single, "ньютон", "", 1);
    AddAnswer(single, "джоуль", "", 0);
    AddAnswer(single, "ватт", "", 0);

    TQuestion& check = AddQuestion(Doc, KindCheck, "Какие величины <b>векторные</b>?");
    AddAnswer(check, "скорость", "y", 1);
    AddAnswer(check, "масса", "n", 0);
    AddAnswer(check, "сила", "y", 1);
    AddAnswer(check, "время", "n", 0);

    TQuestion* text = Doc.AddQuestion(KindText, -1);
    text->FreeLayout = true;
    text->Content.AddText(W("Закон всемирного тяготения открыл "));
    AddAnswer(*text, "", "Ньютон", 1);
    text->Content.AddText(W("."));

    TQuestion& number = AddQuestion(Doc, KindNumber, "Фокусное расстояние линзы, см:");
    AddAnswer(number, "", "1..5", 1);

    TQuestion& box = AddQuestion(Doc, KindBox, "Подберите цвета:");
    AddAnswer(box, "небо", "синий", 1);
    AddAnswer(box, "кровь", "красный", 1);

    AddSection(Doc, "Механика", {0, 1, 2});
    AddSection(Doc, "Оптика", {3, 4});

    Doc.TestTime = minutes / (24.0 * 60.0);
    Doc.StartRun(mode, 0);
}

std::string TEngineRun::Page() const {
    std::string text = Join(Doc.GetOutput());
    const size_t root = text.find("<test-out ");
    text.insert(root + 10, "test-name=\"" + Utf16ToUtf8(Doc.Name) + "\" ");
    return text;
}

std::string TEngineRun::Report() {
    Doc.ShowRight = true;
    Doc.WriteReport();
    std::string text = Join(Doc.GetOutput());
    text.replace(text.find("<test-out mode=\"report\">"), 24, "<test-results>");
    text.replace(text.rfind("</test-out>"), 11, "</test-results>");
    return text;
}

void TEngineRun::Answer(int question, int answer, const std::string& value) {
    Doc.BufferAnswer(IntToStrW(question), IntToStrW(answer), W(value));
}

} // namespace stellik::testing
