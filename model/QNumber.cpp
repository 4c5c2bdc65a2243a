#include "model/QNumber.h"

#include "model/AnswerPoints.h"
#include "model/DecimalSeparator.h"
#include "platform/Convert.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"

#include <optional>

namespace stellik {

namespace {

std::optional<double> ReadNumber(std::u16string_view text) {
    return TryStrToFloat(Utf16ToUtf8(text), NumberDecimalSeparator());
}

double ReadBound(std::u16string_view text) {
    if (const auto value = ReadNumber(text)) {
        return *value;
    }
    // The message is shown to the test's author exactly as it stands.
    throw Exception("Ошибка в сиснтаксисе. Правильный ответ должен быть задан в виде:\r\n"
                    "число1..число2");
}

} // namespace

void TNumberAnswer::SetRight(const std::u16string& spec) {
    TAnswer::SetRight(spec);
    const std::u16string_view text(spec);
    const size_t dots = text.find(u"..");
    if (dots == std::u16string_view::npos) {
        Min = ReadBound(text);
        Max = Min;
        return;
    }
    Min = ReadBound(text.substr(0, dots));
    Max = ReadBound(text.substr(dots + 2));
}

int TNumberQuest::GetMaxRating() const {
    return SumOfPoints(Answers);
}

TNumberQuest::TRangeResult TNumberQuest::InRange(const TAnswer& answer) {
    TRangeResult result;
    const auto value = ReadNumber(answer.Value);
    if (!value) {
        result.Failed = true;
        return result;
    }
    // A plain answer (not made by this kind) has the range of a fresh number answer: 0..0.
    const auto* number = dynamic_cast<const TNumberAnswer*>(&answer);
    const double min = number != nullptr ? number->Min : 0;
    const double max = number != nullptr ? number->Max : 0;
    result.InRange = min <= *value && *value <= max;
    return result;
}

namespace {

TFieldJudgement JudgeRange(const TAnswer& answer) {
    const auto range = TNumberQuest::InRange(answer);
    return {range.InRange, range.Failed};
}

} // namespace

TCheckResult TNumberQuest::Check() const {
    return CheckEveryField(Answers, JudgeRange);
}

TPointsResult TNumberQuest::CalcPoints() const {
    return ScoreEveryField(Answers, JudgeRange);
}

} // namespace stellik
