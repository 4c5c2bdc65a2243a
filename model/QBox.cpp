#include "model/QBox.h"

#include "model/AnswerPoints.h"
#include "model/TextUtils.h"
#include "platform/Unicode.h"

#include <algorithm>

namespace stellik {

namespace {

bool IsBlank(const TAnswer& answer) {
    return TrimW(answer.Value).empty();
}

} // namespace

bool TBoxQuest::GetInputContent(TWideStrings& list) const {
    for (int i = 0; i < Answers.GetCount(); ++i) {
        const std::u16string value = XmlEscape(Answers.GetItem(i).Right);
        const bool known = std::any_of(list.begin(), list.end(), [&](const std::u16string& line) {
            return SameTextW(line, value);
        });
        if (!known) {
            list.push_back(u"<value>");
            list.push_back(value);
            list.push_back(u"</value>");
        }
    }
    return true;
}

int TBoxQuest::GetMaxRating() const {
    return SumOfPoints(Answers);
}

bool TBoxQuest::Matches(const TAnswer& answer) {
    return SameTextW(TrimW(answer.Value), TrimW(answer.Right));
}

TCheckResult TBoxQuest::Check() const {
    TCheckResult result{true, true};
    for (int i = 0; i < Answers.GetCount(); ++i) {
        const TAnswer& answer = Answers.GetItem(i);
        if (IsBlank(answer)) {
            return {false, false};
        }
        if (!Matches(answer)) {
            result.Right = false;
        }
    }
    return result;
}

TPointsResult TBoxQuest::CalcPoints() const {
    TPointsResult result{0, true};
    for (int i = 0; i < Answers.GetCount(); ++i) {
        const TAnswer& answer = Answers.GetItem(i);
        if (IsBlank(answer)) {
            return {0, false};
        }
        if (Matches(answer)) {
            result.Points = AddPoints(result.Points, answer.Points);
        }
    }
    return result;
}

} // namespace stellik
