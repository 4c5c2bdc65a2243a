// tests/model/kinds/KindTestSupport.h -- small questions of one kind for the tests
#pragma once

#include "model/Question.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"
#include "tests/support/MessageOf.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

namespace stellik::testing {

// A question of kind TKind with answers of {points, right}; questionPoints -1 rates per answer.
template <typename TKind>
std::unique_ptr<TKind> MakeQuestion(std::initializer_list<std::pair<int, const char*>> answers,
                                    int questionPoints = -1) {
    auto question = std::make_unique<TKind>();
    question->QuestionPoints = questionPoints;
    for (const auto& [points, right] : answers) {
        TAnswer* answer = question->AddAnswer();
        answer->Points = points;
        answer->SetRight(W(right));
    }
    return question;
}

// The answers' values in Answers order.
inline void SetValues(TQuestion& question, std::initializer_list<const char*> values) {
    int i = 0;
    for (const char* value : values) {
        question.Answers.GetItem(i++).Value = W(value);
    }
}

inline void Expect(const TCheckResult& result, bool right, bool answered) {
    EXPECT_EQ(result.Right, right);
    EXPECT_EQ(result.Answered, answered);
}

inline void Expect(const TPointsResult& result, int points, bool answered) {
    EXPECT_EQ(result.Points, points);
    EXPECT_EQ(result.Answered, answered);
}

} // namespace stellik::testing
