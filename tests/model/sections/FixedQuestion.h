// A question kind whose result the test sets directly, and a small test with sections.
#pragma once

#include "model/Section.h"
#include "platform/Convert.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace stellik::testing {

class TFixedQuestion : public TQuestion {
public:
    bool GetInputAttrs(TWideStrings&) const override { return false; }
    bool GetInputContent(TWideStrings&) const override { return false; }
    std::u16string GetKindName() const override { return u"fixed"; }
    int GetKindCode() const override { return 99; }
    std::unique_ptr<TAnswer> CreateAnswer() const override { return std::make_unique<TAnswer>(); }
    int GetMaxRating() const override { return 2; }
    TCheckResult Check() const override { return {Reached.Points == 2, Reached.Answered}; }
    TPointsResult CalcPoints() const override { return Reached; }

    TPointsResult Reached; // what the examinee has reached so far
};

inline void SetList(TIntegerList& list, const std::vector<int>& values) {
    list.Clear();
    for (const int value : values) {
        list.Add(value);
    }
}

// Questions worth 2 points each with identifiers "q<position>"; sections without shuffling.
class SectionsTest : public ::testing::Test {
protected:
    explicit SectionsTest(int questionCount = 12) {
        for (int i = 0; i < questionCount; ++i) {
            auto question = std::make_unique<TFixedQuestion>();
            question->Index = i;
            question->Id = u"q" + IntToStrW(i);
            Questions.Add(std::move(question));
        }
    }

    TSection& AddSection(const std::vector<int>& allPool = {}) {
        auto section = std::make_unique<TSection>(&Questions);
        section->AllRandom = section->GoodRandom = section->MidRandom = section->BadRandom = false;
        section->Index = Sections.GetCount();
        SetList(section->AllPool, allPool);
        return Sections.GetItem(Sections.Add(std::move(section)));
    }

    TFixedQuestion& Question(int index) {
        return dynamic_cast<TFixedQuestion&>(Questions.GetItem(index));
    }

    // What the test document does when a run starts: questions first, then sections in order.
    void StartRun() {
        for (int i = 0; i < Questions.GetCount(); ++i) {
            Questions.GetItem(i).ResetRating();
            Questions.GetItem(i).Selected = false;
        }
        for (int i = 0; i < Sections.GetCount(); ++i) {
            Sections.GetItem(i).ResetRating();
        }
    }

    // The positions of a section's selection, in the order offered.
    static std::vector<int> Positions(const TSection& section) {
        std::vector<int> result;
        for (const TQuestion* question : section.Questions) {
            result.push_back(question->Index);
        }
        return result;
    }

    std::vector<int> SelectedPositions() const {
        std::vector<int> result;
        for (int i = 0; i < Questions.GetCount(); ++i) {
            if (Questions.GetItem(i).Selected) {
                result.push_back(i);
            }
        }
        return result;
    }

    TQuestionList Questions;
    TSectionList Sections;
};

} // namespace stellik::testing
