// bench/shell/BenchWindow.h -- what the window benchmarks share: a view and dialogs that do
// nothing, and a test of plain questions
#pragma once

#include "model/Question.h"
#include "model/Section.h"
#include "model/TestDoc.h"
#include "shell/ViewInterfaces.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

namespace stellik::bench {

class TNullView : public IPageView {
public:
    void LoadHtml(std::string_view html) override { benchmark::DoNotOptimize(html.data()); }
    void ReplaceImage(const std::string&) override {}
    void OpenExternal(const std::string&) override {}
};

class TNullDialogs : public IDialogs {
public:
    TMsgResult MessageBox(const std::string&, TMsgButtons, TMsgIcon) override {
        return TMsgResult::Ok;
    }
    void ShowException(const std::exception&) override {}
    bool ExecuteFileDialog(const TFileDialogOptions&, std::string&) override { return false; }
};

// One section of count questions asked in order; question i has the text questionText(i) and
// three answers of answerText, the first one right.
inline void AddPlainSection(TTestDoc& doc, int count,
                            const std::function<std::u16string(int)>& questionText,
                            const std::u16string& answerText) {
    TSection* section = doc.AddSection(-1);
    section->AllRandom = false;
    for (int i = 0; i < count; ++i) {
        TQuestion* question = doc.AddQuestion(0, -1);
        question->Content.AddText(questionText(i));
        for (int a = 0; a < 3; ++a) {
            TAnswer* answer = question->AddAnswer();
            answer->Points = a == 0 ? 1 : 0;
            answer->Text = answerText;
        }
        section->AllPool.Add(i);
    }
}

} // namespace stellik::bench
