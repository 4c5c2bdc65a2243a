#include "model/Question.h"

#include "model/TextUtils.h"
#include "platform/Convert.h"
#include "platform/Random.h"
#include "platform/Unicode.h"

namespace stellik {

namespace {

// One attribute as the pages carry it: a space, the name, '=' and the quoted value.
std::u16string Attr(std::u16string_view name, std::u16string_view value) {
    std::u16string text = u" ";
    text += name;
    text += u"=\"";
    text += value;
    text += u"\"";
    return text;
}

} // namespace

bool IsChosen(const TAnswer& answer) {
    return answer.Value == u"1";
}

bool IsMarkedRight(const TAnswer& answer) {
    const std::u16string flag = TrimW(answer.Right);
    return flag == u"y" || flag == u"Y";
}

TAnswer* TQuestion::AddAnswer() {
    std::unique_ptr<TAnswer> answer = CreateAnswer();
    TAnswer* added = answer.get();
    const int index = Answers.Add(std::move(answer));
    if (FreeLayout) {
        Content.AddLink(index);
    }
    return added;
}

void TQuestion::SetAnswerValue(std::string_view indexText, const std::u16string& value) {
    const std::optional<int> index = TryStrToInt(indexText);
    if (!index || *index < 0 || *index >= Answers.GetCount()) {
        return;
    }
    Answers.GetItem(*index).Value = value;
}

int TQuestion::Reset() {
    const int count = Answers.GetCount();
    for (int i = 0; i < count; ++i) {
        TAnswer& answer = Answers.GetItem(i);
        answer.Value.clear();
        answer.Placed = false;
    }
    Order.Clear();
    TRandom::Randomize();
    if (Shuffle && !FreeLayout) {
        for (int i = 0; i < count; ++i) {
            int r = 0;
            do {
                r = TRandom::Random(count);
            } while (Answers.GetItem(r).Placed);
            Order.Add(r);
            Answers.GetItem(r).Placed = true;
        }
    } else {
        for (int i = 0; i < count; ++i) {
            Order.Add(i);
        }
    }
    return QuestionPoints != -1 ? QuestionPoints : GetMaxRating();
}

TPointsResult TQuestion::CalcRating() {
    if (QuestionPoints == -1) {
        return CalcPoints();
    }
    const TCheckResult check = Check();
    return TPointsResult{check.Right ? QuestionPoints : 0, check.Answered};
}

void TQuestion::WriteOwnSummary(TWideStrings& /*lines*/) const {}

void TQuestion::WriteQuestionIn(TWideStrings& list) const {
    WriteQuestion(list, false);
}

void TQuestion::WriteQuestionOut(TWideStrings& list) const {
    WriteQuestion(list, true);
}

void TQuestion::WriteQuestion(TWideStrings& list, bool asOutput) const {
    const auto answerTag = [&](int answerIndex, int number) {
        return asOutput ? GetAnswerOutput(answerIndex, number)
                        : GetAnswerInput(answerIndex, number);
    };

    list.push_back(u"<question-out" + Attr(u"number", IntToStrW(Number)) +
                   Attr(u"id", IntToStrW(Index)) + u">");
    WriteSummary(list);
    if (FreeLayout) {
        list.emplace_back(u"<free-out>");
        std::u16string line;
        int linkNumber = 0;
        for (int i = 0; i < Content.GetCount(); ++i) {
            const TQuestContentItem& item = Content.GetItem(i);
            if (const auto* run = std::get_if<TStrItm>(&item)) {
                line += run->Text;
            } else {
                line += answerTag(std::get<TAnswLinkItm>(item).AnswerIndex, ++linkNumber);
            }
        }
        list.push_back(line);
        list.emplace_back(u"</free-out>");
    } else {
        list.emplace_back(u"<custom-out>");
        if (TextPos == 2) {
            WriteQText(list);
        }
        list.emplace_back(Layout >= 2 ? u"<answ-box layout=\"vertical\">"
                                      : u"<answ-box layout=\"horizontal\">");
        const bool fieldFirst = Layout == 0 || Layout == 2;
        for (int i = 0; i < Order.GetCount(); ++i) {
            const int answerIndex = Order.GetItem(i);
            const TAnswer& answer = Answers.GetItem(answerIndex);
            list.emplace_back(u"<item>");
            if (fieldFirst) {
                list.push_back(answerTag(answerIndex, i + 1));
            }
            if (answer.HasText()) {
                list.insert(list.end(), {u"<answ-text>", answer.Text, u"</answ-text>"});
            }
            if (!fieldFirst) {
                list.push_back(answerTag(answerIndex, i + 1));
            }
            list.emplace_back(u"</item>");
        }
        list.emplace_back(u"</answ-box>");
        if (TextPos == 3) {
            WriteQText(list);
        }
        list.emplace_back(u"</custom-out>");
    }
    list.emplace_back(u"</question-out>");
}

void TQuestion::WriteQText(TWideStrings& list) const {
    list.insert(list.end(), {u"<q-text>", Content.GetText(), u"</q-text>"});
}

std::u16string TQuestion::GetAnswerTagHead(std::u16string_view tagName, int answerIndex,
                                           int number) const {
    std::u16string tag = u"<" + std::u16string(tagName) + Attr(u"type", GetKindName()) +
                         Attr(u"owner-id", IntToStrW(Index)) + Attr(u"id", IntToStrW(answerIndex)) +
                         Attr(u"number", IntToStrW(number));
    if (ShowRight) {
        tag += u" " + GetRightAttrs(answerIndex);
    }
    return tag;
}

std::u16string TQuestion::GetAnswerInput(int answerIndex, int number) const {
    std::u16string tag = GetAnswerTagHead(u"answ-input", answerIndex, number);
    TWideStrings attrs;
    if (GetInputAttrs(attrs)) {
        for (const std::u16string& line : attrs) {
            const size_t eq = line.find(u'=');
            const std::u16string_view lineView(line);
            tag += eq == std::u16string::npos
                       ? Attr(lineView, u"")
                       : Attr(lineView.substr(0, eq), lineView.substr(eq + 1));
        }
    }
    TWideStrings content;
    if (GetInputContent(content)) {
        tag += u">";
        for (const std::u16string& line : content) {
            tag += line;
            tag += u"\r\n";
        }
        tag += u"</answ-input>";
    } else {
        tag += u"/>";
    }
    return tag;
}

std::u16string TQuestion::GetAnswerOutput(int answerIndex, int number) const {
    std::u16string tag = GetAnswerTagHead(u"answ-output", answerIndex, number);
    tag += u">" + XmlEscape(Answers.GetItem(answerIndex).Value) + u"</answ-output>";
    return tag;
}

std::u16string TQuestion::GetRightAttrs(int answerIndex) const {
    const TAnswer& answer = Answers.GetItem(answerIndex);
    std::u16string right = XmlEscape(answer.Right);
    const int kindCode = GetKindCode();
    if (kindCode == 0 || kindCode == 1) {
        // A choice answer is right by its "y" flag, or, without any flag, by positive points.
        const bool isRight = right.empty() ? answer.Points >= 1 : IsMarkedRight(answer);
        right = isRight ? u"1" : u"0";
    }
    std::u16string attrs = Attr(u"right", right).substr(1);
    if (QuestionPoints == -1) {
        attrs += Attr(u"maxrating", IntToStrW(answer.Points));
    }
    return attrs;
}

} // namespace stellik
