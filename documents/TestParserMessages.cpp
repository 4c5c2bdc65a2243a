// The "messages" element: result messages for sections and questions.
#include "documents/ReaderText.h"
#include "documents/TestParser.h"

#include "model/TestDoc.h"
#include "model/TextUtils.h"
#include "platform/Exception.h"
#include "platform/Unicode.h"

namespace stellik {

void TTestParserObj::ReadMessages() {
    for (TXpNode child = MessagesNode.FirstChild(); child; child = child.NextSibling()) {
        if (!child.IsElement()) {
            continue;
        }
        TTargetClass target = TTargetClass::None;
        if (child.NameIs("sectmsg")) {
            target = TTargetClass::Section;
        } else if (child.NameIs("questmsg")) {
            target = TTargetClass::Question;
        } else {
            continue;
        }
        TTestMessage* message = TestDoc->AddMessage(-1);
        message->TargetClass = target;
        ReadMessage(*message, child);
    }
}

void TTestParserObj::ReadMessage(TTestMessage& message, TXpNode element) {
    for (TXpNode attribute = element.AttributeAt(0); attribute;
         attribute = attribute.NextSibling()) {
        if (attribute.NameIs("idref")) {
            ReadMessageRefs(message, element, attribute.NodeValueUtf8());
        } else if (attribute.NameIs("idrating")) {
            ReadMessageStates(message, element, attribute.NodeValueUtf8());
        }
    }
    if (HasAnswerChild(element)) {
        throw Exception(WithElementXml("Элемент " + Utf16ToUtf8(element.NodeName()) +
                                           " не может содержать элементы answer: ",
                                       element));
    }
    message.Text = NormalizeSpaces(ChildrenXmlText(element));
}

void TTestParserObj::ReadMessageRefs(TTestMessage& message, TXpNode element,
                                     std::string_view value) {
    IdsParser.Parse(value);
    if (IdsParser.IndexOf("all") >= 0) {
        return; // every target; the other references are not looked at
    }
    for (const std::string& ref : IdsParser.GetIds()) {
        if (message.TargetClass == TTargetClass::Section) {
            const int index = SectionRefs().IndexOfRef(ref);
            if (index < 0) {
                throw Exception(WithElementXml("Секция с id=" + ref + " не найдена", element));
            }
            message.Ids.Add(index);
        } else {
            const int index = QuestionRefs().IndexOfRef(ref);
            if (index < 0) {
                throw Exception(WithElementXml("Вопрос с id=" + ref + " не найден", element));
            }
            message.Ids.Add(index);
        }
    }
}

void TTestParserObj::ReadMessageStates(TTestMessage& message, TXpNode element,
                                       std::string_view value) {
    IdsParser.Parse(value);
    if (IdsParser.IndexOf("all") >= 0) {
        return; // every result
    }
    for (const std::string& token : IdsParser.GetIds()) {
        int kind = ResultAll;
        try {
            kind = ParseResultKind(token);
        } catch (const Exception&) {
            throw Exception(WithElementXml("Недопустимое значение параметра", element));
        }
        message.States.Add(kind);
    }
}

int TTestParserObj::ParseResultKind(std::string_view text) {
    if (text == "all") {
        return ResultAll;
    }
    if (text == "good") {
        return ResultGood;
    }
    if (text == "middle") {
        return ResultMiddle;
    }
    if (text == "bad") {
        return ResultBad;
    }
    throw Exception("Uncnown result string value");
}

} // namespace stellik
