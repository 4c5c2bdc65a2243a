#include "documents/ReaderText.h"

#include "platform/Exception.h"
#include "platform/Unicode.h"

namespace stellik {

std::u16string ChildrenXmlText(TXpNode element) {
    std::string text; // converted once, not child by child
    for (TXpNode child = element.FirstChild(); child; child = child.NextSibling()) {
        child.AppendXmlTextUtf8(text);
    }
    return Utf8ToUtf16(text);
}

bool HasAnswerChild(TXpNode element) {
    for (TXpNode child = element.FirstChild(); child; child = child.NextSibling()) {
        if (child.IsElement() && child.NameIs("answer")) {
            return true;
        }
    }
    return false;
}

std::string WithElementXml(std::string_view message, TXpNode element) {
    std::string text(message);
    text += "\r\n";
    text += Utf16ToUtf8(element.GetXmlText());
    return text;
}

std::u16string TakeIdentifier(std::string_view value, std::unordered_set<std::u16string>& taken,
                              const char* duplicateMessage) {
    if (value.empty()) {
        return {};
    }
    if (value[0] >= '0' && value[0] <= '9') {
        throw Exception("Значение параметра id не должно начинаться с цифры");
    }
    std::u16string id = Utf8ToUtf16(value);
    if (!taken.insert(id).second) {
        throw Exception(duplicateMessage);
    }
    return id;
}

} // namespace stellik
