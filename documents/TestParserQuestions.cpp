// The "questions" element: questions of the five kinds, their text and their answers.
#include "documents/ReaderText.h"
#include "documents/TestParser.h"

#include "model/TestDoc.h"
#include "model/TextUtils.h"
#include "platform/Convert.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"

#include <optional>

namespace stellik {

namespace {

// Kind codes by question element name; -1 for any other node.
int KindCodeOf(std::u16string_view name) {
    static constexpr std::u16string_view Kinds[] = {u"single", u"check", u"text", u"number",
                                                    u"box"};
    for (int code = 0; code < 5; ++code) {
        if (name == Kinds[code]) {
            return code;
        }
    }
    return -1;
}

int RatingOf(TXpNode attribute, TXpNode element) {
    const std::optional<int> value = TryStrToInt(attribute.NodeValue());
    if (!value) {
        throw Exception(WithElementXml("Значение параметра должно быть числом: ", element));
    }
    return *value;
}

} // namespace

void TTestParserObj::ReadQuestions() {
    QuestionIds.clear();
    for (int i = 0; i < TestDoc->Questions.GetCount(); ++i) {
        if (const std::u16string& id = TestDoc->Questions.GetItem(i).Id; !id.empty()) {
            QuestionIds.insert(id);
        }
    }
    for (TXpNode child = QuestionsNode.FirstChild(); child; child = child.NextSibling()) {
        if (!child.IsElement()) {
            continue;
        }
        const int kindCode = KindCodeOf(child.NodeName());
        if (kindCode < 0) {
            continue;
        }
        TQuestion* question = TestDoc->AddQuestion(kindCode, -1);
        if (question == nullptr) {
            throw Exception("Question kind " + std::to_string(kindCode) + " is not registered");
        }
        ReadQuestion(*question, child, true);
    }
}

void TTestParserObj::ReadQuestion(TQuestion& question, TXpNode element, bool checkIds) {
    // Attributes first: free layout must be known before the first answer is created.
    for (const TXpNode attribute : element.Attributes()) {
        const std::u16string name = attribute.NodeName();
        if (name == u"id" && checkIds) {
            const std::u16string id =
                TakeIdentifier(attribute.NodeValue(), QuestionIds,
                               "Идентификаторы вопросов должны быть уникальны");
            if (!id.empty()) {
                question.Id = id;
            }
        }
        if (name == u"random") {
            question.Shuffle = attribute.NodeValue() == u"y";
        }
        if (name == u"format") {
            question.FreeLayout = attribute.NodeValue() == u"free";
        }
        if (name == u"rating") {
            question.QuestionPoints = RatingOf(attribute, element);
        }
    }
    ReadAnswers(question, element);
}

void TTestParserObj::ReadAnswers(TQuestion& question, TXpNode node) {
    for (TXpNode child = node.FirstChild(); child; child = child.NextSibling()) {
        if (child.IsElement() && child.NodeName() == u"answer") {
            ReadAnswer(question, child); // in free layout its link takes this place
            continue;
        }
        if (const std::u16string piece = MakeContentPiece(child); !piece.empty()) {
            question.Content.AddText(piece);
        }
        ReadAnswers(question, child);
        if (child.IsElement() && child.HasChildNodes()) {
            question.Content.AddText(u"</" + child.NodeName() + u">");
        }
    }
}

std::u16string TTestParserObj::MakeContentPiece(TXpNode node) {
    switch (node.NodeType()) {
    case TXpNodeType::Text:
        return NormalizeSpaces(node.GetXmlText());
    case TXpNodeType::CDataSection:
        // Its text, escaped as a text node's would be, so the content stays plain markup.
        return NormalizeSpaces(EscapeMarkup(node.NodeValue()));
    case TXpNodeType::Element: {
        std::u16string piece = u"<" + node.NodeName();
        for (const TXpNode attribute : node.Attributes()) {
            piece += u" " + attribute.NodeName() + u"=\"" +
                     EscapeMarkup(attribute.NodeValue(), u"&#34;") + u"\"";
        }
        piece += node.HasChildNodes() ? u">" : u"/>";
        return piece;
    }
    default:
        // Comments and processing instructions are no part of the question's text.
        return {};
    }
}

void TTestParserObj::ReadAnswer(TQuestion& question, TXpNode element) {
    TAnswer* answer = question.AddAnswer();
    for (const TXpNode attribute : element.Attributes()) {
        const std::u16string name = attribute.NodeName();
        if (name == u"rating") {
            answer->Points = RatingOf(attribute, element);
        }
        if (name == u"right") {
            answer->SetRight(attribute.NodeValue());
        }
    }
    if (HasAnswerChild(element)) {
        throw Exception(
            WithElementXml("Элемент answer не может содержать другие элементы answer: ", element));
    }
    answer->Text = NormalizeSpaces(ChildrenXmlText(element));
}

} // namespace stellik
