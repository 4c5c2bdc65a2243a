// The "questions" element: questions of the five kinds, their text and their answers.
#include "documents/ReaderText.h"
#include "documents/TestParser.h"

#include "model/QuestionManager.h"
#include "model/TestDoc.h"
#include "platform/Convert.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

namespace stellik {

namespace {

int RatingOf(TXpNode attribute, TXpNode element) {
    const std::optional<int> value = TryStrToInt(attribute.NodeValueUtf8());
    if (!value) {
        throw Exception(WithElementXml("Значение параметра должно быть числом: ", element));
    }
    return *value;
}

// Bytes; see ReadAnswers.
constexpr size_t MarkupReserve = 2048;

bool IsBlank(char c) {
    return c == 0 || c == 9 || c == 10 || c == 13 || c == 32;
}

// NormalizeSpaces on the UTF-8 text from from on, in place: white space is ASCII in UTF-8.
void NormalizeTail(std::string& text, size_t from) {
    size_t to = from;
    bool inSpace = false;
    for (size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (IsBlank(c)) {
            if (!inSpace) {
                text[to++] = ' ';
                inSpace = true;
            }
        } else {
            text[to++] = c;
            inSpace = false;
        }
    }
    text.resize(to);
}

// EscapeMarkup on UTF-8 text: the characters it replaces are ASCII.
void AppendEscaped(std::string& out, std::string_view text, std::string_view quote) {
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            if (!quote.empty()) {
                out += quote;
                break;
            }
            [[fallthrough]];
        default:
            out += c;
        }
    }
}

// MakeContentPiece in UTF-8, appended to out.
void AppendContentPiece(std::string& out, TXpNode node) {
    const size_t start = out.size();
    switch (node.NodeType()) {
    case TXpNodeType::Text:
        node.AppendXmlTextUtf8(out);
        NormalizeTail(out, start);
        break;
    case TXpNodeType::CDataSection:
        // Its text, escaped as a text node's would be, so the content stays plain markup.
        AppendEscaped(out, node.NodeValueUtf8(), {});
        NormalizeTail(out, start);
        break;
    case TXpNodeType::Element:
        out += '<';
        out += node.NodeNameUtf8();
        for (TXpNode attribute = node.AttributeAt(0); attribute;
             attribute = attribute.NextSibling()) {
            out += ' ';
            out += attribute.NodeNameUtf8();
            out += "=\"";
            AppendEscaped(out, attribute.NodeValueUtf8(), "&#34;");
            out += '"';
        }
        out += node.HasChildNodes() ? ">" : "/>";
        break;
    default:
        // Comments and processing instructions are no part of the question's text.
        break;
    }
}

// The markup around the answers under node, in document order, into out; each answer
// element goes to onAnswer instead.
template <typename TOnAnswer>
void AppendContent(std::string& out, TXpNode node, const TOnAnswer& onAnswer) {
    for (TXpNode child = node.FirstChild(); child; child = child.NextSibling()) {
        const bool element = child.IsElement();
        if (element && child.NameIs("answer")) {
            onAnswer(child); // in free layout its link takes this place
            continue;
        }
        AppendContentPiece(out, child);
        AppendContent(out, child, onAnswer);
        if (element && child.HasChildNodes()) {
            out += "</";
            out += child.NodeNameUtf8();
            out += '>';
        }
    }
}

// NormalizeSpaces(ChildrenXmlText(element)), gathered and normalised in UTF-8 and converted
// once.
std::u16string NormalizedChildrenText(TXpNode element) {
    if (!element.HasChildNodes()) {
        return {};
    }
    std::string text;
    for (TXpNode child = element.FirstChild(); child; child = child.NextSibling()) {
        child.AppendXmlTextUtf8(text);
    }
    NormalizeTail(text, 0);
    return Utf8ToUtf16(text);
}

} // namespace

void TTestParserObj::ReadQuestions() {
    // The lists get their full size at once: growing them step by step while the questions'
    // parts of the tree are freed would make the allocator sort all those freed blocks again
    // at every step.
    int elements = 0;
    for (TXpNode child = QuestionsNode.FirstChild(); child; child = child.NextSibling()) {
        elements += child.IsElement() ? 1 : 0;
    }
    TestDoc->Questions.Reserve(TestDoc->Questions.GetCount() + elements);
    QuestionIds.clear();
    QuestionIds.reserve(static_cast<size_t>(TestDoc->Questions.GetCount() + elements));
    for (int i = 0; i < TestDoc->Questions.GetCount(); ++i) {
        if (const std::u16string& id = TestDoc->Questions.GetItem(i).Id; !id.empty()) {
            QuestionIds.insert(id);
        }
    }
    const TQuestionManager& kinds = QuestionManager();
    for (TXpNode child = QuestionsNode.FirstChild(); child;) {
        const TXpNode next = child.NextSibling();
        // A question element is named after its kind, as the kind registry knows it.
        const int kindCode = child.IsElement() ? kinds.KindCodeOf(child.NodeNameUtf8()) : -1;
        if (kindCode >= 0) {
            ReadQuestion(*TestDoc->AddQuestion(kindCode, -1), child, true);
            // The model holds all of the question now: its part of the tree goes at once, so
            // that a large test never holds its whole tree and its whole model together. Only
            // its picture names are kept, for PictureNames.
            AppendPictureNames(child, QuestionPictures);
            QuestionsNode.RemoveChild(child); // the returned owner frees it
        }
        child = next;
    }
    std::unordered_set<std::u16string>().swap(QuestionIds); // needed no more: its memory goes
}

void TTestParserObj::ReadQuestion(TQuestion& question, TXpNode element, bool checkIds) {
    // Attributes first: free layout must be known before the first answer is created.
    for (TXpNode attribute = element.AttributeAt(0); attribute;
         attribute = attribute.NextSibling()) {
        if (attribute.NameIs("id") && checkIds) {
            const std::u16string id =
                TakeIdentifier(attribute.NodeValueUtf8(), QuestionIds,
                               "Идентификаторы вопросов должны быть уникальны");
            if (!id.empty()) {
                question.Id = id;
            }
        }
        if (attribute.NameIs("random")) {
            question.Shuffle = attribute.NodeValueUtf8() == "y";
        }
        if (attribute.NameIs("format")) {
            question.FreeLayout = attribute.NodeValueUtf8() == "free";
        }
        if (attribute.NameIs("rating")) {
            question.QuestionPoints = RatingOf(attribute, element);
        }
    }
    ReadAnswers(question, element);
}

void TTestParserObj::ReadAnswers(TQuestion& question, TXpNode node) {
    // The markup is gathered in UTF-8. In free layout it goes to the content before each answer,
    // whose link follows it; otherwise consecutive texts would join in one item anyway, so the
    // whole text goes in one piece at the end (or when an answer fails), one string of its
    // exact size. The buffer holds most questions' markup at once; it is also a request large
    // enough for the allocator to merge the small blocks the previous question's tree gave
    // back while they are still in cache (merged later, all of them at once, they cost much
    // more).
    std::string markup;
    markup.reserve(MarkupReserve);
    auto flush = [&] {
        if (!markup.empty()) {
            question.Content.AddText(Utf8ToUtf16(markup));
            markup.clear();
        }
    };
    try {
        AppendContent(markup, node, [&](TXpNode answer) {
            if (question.FreeLayout) {
                flush();
            }
            ReadAnswer(question, answer);
        });
    } catch (...) {
        flush(); // what was read before the failing answer stays, as in free layout
        throw;
    }
    flush();
}

std::u16string TTestParserObj::MakeContentPiece(TXpNode node) {
    std::string piece;
    AppendContentPiece(piece, node);
    return Utf8ToUtf16(piece);
}

void TTestParserObj::ReadAnswer(TQuestion& question, TXpNode element) {
    TAnswer* answer = question.AddAnswer();
    for (TXpNode attribute = element.AttributeAt(0); attribute;
         attribute = attribute.NextSibling()) {
        if (attribute.NameIs("rating")) {
            answer->Points = RatingOf(attribute, element);
        }
        if (attribute.NameIs("right")) {
            answer->SetRight(attribute.NodeValue());
        }
    }
    if (HasAnswerChild(element)) {
        throw Exception(
            WithElementXml("Элемент answer не может содержать другие элементы answer: ", element));
    }
    answer->Text = NormalizedChildrenText(element);
}

} // namespace stellik
