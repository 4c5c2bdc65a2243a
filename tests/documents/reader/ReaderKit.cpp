#include "ReaderKit.h"

#include "platform/Convert.h"
#include "platform/Exception.h"
#include "platform/MemoryStream.h"
#include "platform/Unicode.h"

namespace stellik::testing {

std::string DataPath(const std::string& name) {
    return std::string(STELLIK_SOURCE_DIR) + "/tests/documents/reader/data/" + name;
}

TReaderKit::TReaderKit() {
    Parser.OnDTDRequest = [this](TTestParserObj&, std::u16string& name) {
        Requests.push_back(name);
        name = W(STELLIK_SOURCE_DIR "/resources/") + name;
    };
}

std::string TReaderKit::Read(const std::string& bytes) {
    TMemoryStream stream(bytes);
    std::string encoding;
    Parser.ParseTest(stream, Doc, encoding);
    return encoding;
}

std::string TReaderKit::ReadFile(const std::string& name) {
    TMemoryStream stream;
    stream.LoadFromFile(DataPath(name));
    stream.SetPosition(0);
    std::string encoding;
    Parser.ParseTest(stream, Doc, encoding);
    return encoding;
}

std::string TReaderKit::Error(const std::string& bytes) {
    try {
        Read(bytes);
    } catch (const Exception& e) {
        return e.GetMessage();
    }
    return {};
}

std::string TestXml(const std::string& content, const std::string& dtd) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE test SYSTEM \"" + dtd +
           "\">\n<test>" + content + "</test>";
}

std::string QuestionsXml(const std::string& questions, const std::string& rest,
                         const std::string& dtd) {
    return TestXml("<questions>" + questions + "</questions>" + rest, dtd);
}

TOutputDoc::TOutputDoc(const TWideStrings& lines) {
    std::u16string text;
    for (const std::u16string& line : lines) {
        text += line;
        text += u'\n';
    }
    Model.SetRaiseErrors(true);
    Model.LoadText(text);
}

std::string TOutputDoc::Text(const std::string& path) const {
    return Trim(Utf16ToUtf8(Model.Document().SelectString(W(path))));
}

int TOutputDoc::Count(const std::string& path) const {
    return static_cast<int>(Model.Document().SelectNodes(W(path)).Length());
}

std::vector<std::string> TOutputDoc::Values(const std::string& path) const {
    std::vector<std::string> values;
    for (const TXpNode node : Model.Document().SelectNodes(W(path))) {
        values.push_back(Trim(Utf16ToUtf8(node.GetText())));
    }
    return values;
}

TRunTrace RunToReport(TTestDoc& doc, uint8_t mode, const TAnswerKey& key) {
    TRunTrace trace;
    doc.StartRun(mode, 0);
    for (int page = 0; doc.IsRunning() && page < 100; ++page) {
        const TWideStrings& lines = doc.GetOutput();
        for (size_t i = 0; i + 1 < lines.size(); ++i) {
            if (lines[i] == u"<message-out>") {
                trace.Messages.push_back(Utf16ToUtf8(lines[i + 1]));
            }
        }
        const TOutputDoc output(lines);
        for (const std::string& id : output.Values("//question-out/@id")) {
            const int index = StrToInt(id);
            trace.Questions.push_back(index);
            const auto answers = key.find(index);
            if (answers == key.end()) {
                continue;
            }
            for (const auto& [answer, value] : answers->second) {
                doc.BufferAnswer(IntToStrW(index), IntToStrW(answer), value);
            }
        }
        doc.SubmitAnswers();
    }
    doc.WriteReport();
    return trace;
}

} // namespace stellik::testing
