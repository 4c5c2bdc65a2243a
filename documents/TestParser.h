// documents/TestParser.h -- reads a test document into the test model
//
// The reader owns one XML document object. ParseTest loads the document, takes out the table
// markup the DTD does not allow, validates it against the DTD the document names and reads
// the test element: questions first, then sections, then messages, since pools and messages
// refer to what was read before them. The first problem ends the reading with an exception;
// what was read up to then stays in the test document. Each question read leaves the
// document object's tree (PictureNames still tells its pictures).
#pragma once

#include "documents/IdsParser.h"
#include "documents/RefIndex.h"
#include "xml/XpNode.h"
#include "xml/XpObjModel.h"

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace stellik {

class TAnswer;
class TMarkProfile;
class TMemoryStream;
class TQuestion;
class TSection;
class TTestDoc;
class TTestMessage;

class TTestParserObj {
public:
    // name in: the DTD file chosen for the document ("XTF_v1p0.dtd", "XTF_v1p1.dtd" or
    // "XTF_v1p2.dtd"); out: the path of a file holding that DTD.
    using TDTDRequestEvent = std::function<void(TTestParserObj& sender, std::u16string& name)>;

    TTestParserObj();
    TTestParserObj(const TTestParserObj&) = delete;
    TTestParserObj& operator=(const TTestParserObj&) = delete;

    // Reads the document from the stream's position into testDoc, which the caller has
    // emptied. encoding receives the name of the encoding the document was read in.
    void ParseTest(TMemoryStream& stream, TTestDoc& testDoc, std::string& encoding);
    // The same for a stream the caller needs no more: its bytes are freed as soon as the
    // document is loaded, so a large test never holds its text, its tree and its model at once.
    void ParseTest(TMemoryStream&& stream, TTestDoc& testDoc, std::string& encoding);
    // The src of every img element of the document read last, in document order, as a search
    // of its tree for them would have found before the questions were taken out of it.
    std::vector<std::u16string> PictureNames() const;
    // A mark profile element of another document; nullptr when it has no child nodes.
    std::unique_ptr<TMarkProfile> ParseMarkProfile(TXpNode element) const;

    // The document object's DTD request: location holds the system identifier on entry and
    // the path of the DTD file on return. Makes the program's folder the current directory.
    void XpObjModel1DTDExternal(std::u16string& location);
    void XpObjModel1InvalidDocument(int code, TXpNode node, bool& stop);
    static std::string ValidationMessage(int code, TXpNode node);
    // Removes table captions and the align, valign, char and charoff values the DTD lacks.
    static void NormalizeTables(TXpNode root);
    // Each question read is taken out of the element's tree.
    void ReadTestElement(TXpNode element);

    // A text node's escaped text with its blanks collapsed, or an element's start tag (an
    // empty-element tag when it has no children).
    static std::u16string MakeContentPiece(TXpNode node);
    // -1 "all", 0 "good", 1 "middle", 2 "bad" (exact); anything else raises.
    static int ParseResultKind(std::string_view text);

    const std::string& GetErrorText() const { return ErrorText; }
    // The document read last, without the questions that were read.
    const TXpObjModel& GetXpObjModel() const { return XpObjModel1; }

    TDTDRequestEvent OnDTDRequest;

private:
    // ParseTest before the document is loaded: forgets what the last reading left.
    void BeginRead(TTestDoc& testDoc);
    // ParseTest after the document is loaded.
    void ReadLoadedTest(std::string& encoding);
    // Questions and answers.
    void ReadQuestions();
    void ReadQuestion(TQuestion& question, TXpNode element, bool checkIds);
    void ReadAnswers(TQuestion& question, TXpNode node);
    void ReadAnswer(TQuestion& question, TXpNode element);
    // Sections and pools.
    void ReadSelector();
    void ReadSection(TSection& section, TXpNode element);
    void ReadSectionQuestions(int kind, TXpNode element, TSection& section);
    // The src of every img element below node, in document order, onto names; below the
    // questions element those of the questions already taken out come first.
    void AppendPictureNames(TXpNode node, std::deque<std::u16string>& names) const;
    // Result messages.
    void ReadMessages();
    void ReadMessage(TTestMessage& message, TXpNode element);
    // value: the attribute's value in UTF-8.
    void ReadMessageRefs(TTestMessage& message, TXpNode element, std::string_view value);
    void ReadMessageStates(TTestMessage& message, TXpNode element, std::string_view value);

    // Built at first use, once the questions (or the sections) are all read.
    const TRefIndex& QuestionRefs();
    const TRefIndex& SectionRefs();

    TXpObjModel XpObjModel1;
    TTestDoc* TestDoc = nullptr; // not owned; the test being read
    TIdsParser IdsParser;
    TXpNode QuestionsNode;
    // The picture names of the questions read, which have left the tree.
    std::deque<std::u16string> QuestionPictures; // grows in small blocks, as the tree shrinks
    TXpNode SelectorNode;
    TXpNode MessagesNode;
    std::string ErrorText;
    // Identifiers taken so far, so that each uniqueness check is one look-up.
    std::unordered_set<std::u16string> QuestionIds;
    std::unordered_set<std::u16string> SectionIds;
    std::optional<TRefIndex> QuestionRefIndex;
    std::optional<TRefIndex> SectionRefIndex;
};

} // namespace stellik
