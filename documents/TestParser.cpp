#include "documents/TestParser.h"

#include "documents/MarkProfileReader.h"

#include "model/QuestionManager.h"
#include "model/TestDoc.h"
#include "model/TextUtils.h"
#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/MemoryStream.h"
#include "platform/Unicode.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <utility>
#include <vector>

namespace stellik {

namespace {

// Where the DTD files lie when no one answers the request: beside the program's folder.
constexpr const char* FallbackDtdFolder = "../Shared/XTFShemes/";

// Makes the program's folder the current directory; it stays so after the request.
void EnterProgramFolder() {
    const std::string folder = GetProgramFolder();
    if (chdir(folder.c_str()) != 0) {
        throw Exception("Cannot change the current directory to " + folder + ": " +
                        std::strerror(errno));
    }
}

std::string NodeNameOf(TXpNode node) {
    return node ? Utf16ToUtf8(node.NodeName()) : std::string();
}

std::string FormatMessage(const char* format, const std::string& first, const std::string& second) {
    const int size = std::snprintf(nullptr, 0, format, first.c_str(), second.c_str());
    std::string text(static_cast<size_t>(size), '\0');
    std::snprintf(text.data(), text.size() + 1, format, first.c_str(), second.c_str());
    return text;
}

const char* ValidationFormat(int code) {
    switch (code) {
    case 1:
        return "Document does not contain or reference a DTD.";
    case 2:
        return "Bad DTD structure.";
    case 3:
        return "No document to check.";
    case 4:
        return "Document name does not match DTD name.";
    case 5:
        return "Element '%s' not defined in the DTD.";
    case 6:
        return "Element '%s' is declared as empty but is not empty.";
    case 7:
        return "Element '%s' not allowed as a child element of '%s'.";
    case 8:
        return "Element '%s' is missing a required child element.";
    case 9:
        return "Element '%s' contains a child element that is not defined in the DTD.";
    case 10:
        return "Element '%s' is defined as having attributes in the DTD but does not contain any "
               "attributes in the document.";
    case 11:
        return "Attribute '%s' of element '%s' is assigned a fixed value in the DTD but is "
               "assigned a different value in the document.";
    case 12:
        return "Attribute '%s' is not an enumerated value.";
    case 13:
        return "Required attribute '%s' but not present.";
    case 15:
        return "Attribute '%s' was not expected.";
    default:
        return nullptr;
    }
}

void RemoveCharAlignment(TXpNode cell) {
    const std::u16string align = cell.GetAttribute(u"align");
    if (align == u"justify" || align == u"char") {
        cell.RemoveAttribute(u"align");
    }
    cell.RemoveAttribute(u"char");
    cell.RemoveAttribute(u"charoff");
}

// The table rules for one element below root: a table loses its captions with whatever they
// hold, rows and cells lose the alignments the DTD lacks.
void NormalizeTableElement(TXpNode element, TXpNode root) {
    if (element == root) {
        return;
    }
    if (element.NameIs("table")) {
        for (TXpNode child = element.FirstChild(); child;) {
            const TXpNode next = child.NextSibling();
            if (child.IsElement() && child.NameIs("caption")) {
                element.RemoveChild(child); // the returned owner releases it
            }
            child = next;
        }
    } else if (element.NameIs("tr")) {
        RemoveCharAlignment(element);
        if (element.GetAttribute(u"valign") == u"baseline") {
            element.RemoveAttribute(u"valign");
        }
    } else if (element.NameIs("td")) {
        RemoveCharAlignment(element);
        if (element.GetAttribute(u"valign") == u"baseline") {
            element.SetAttribute(u"valign", u"top");
        }
    }
}

// Every element under parent, each before its own children, which it may have taken out.
void NormalizeTablesUnder(TXpNode parent, TXpNode root) {
    for (TXpNode node = parent.FirstChild(); node; node = node.NextSibling()) {
        if (node.IsElement()) {
            NormalizeTableElement(node, root);
            NormalizeTablesUnder(node, root);
        }
    }
}

} // namespace

TTestParserObj::TTestParserObj() {
    RegisterQuestionKinds();
    XpObjModel1.SetRaiseErrors(true);
    // Text reaches the readers as written; they normalise where they need to.
    XpObjModel1.SetNormalizeData(false);
    XpObjModel1.SetOutCharSet(ceUTF8);
    XpObjModel1.SetWriteUTF8Signature(true);
    XpObjModel1.OnDTDRequest = [this](const std::string& systemId) {
        std::u16string location = Utf8ToUtf16(systemId);
        XpObjModel1DTDExternal(location);
        return Utf16ToUtf8(location);
    };
    XpObjModel1.OnInvalidDocument = [this](int code, TXpNode node, bool& stop) {
        XpObjModel1InvalidDocument(code, node, stop);
    };
}

void TTestParserObj::ParseTest(TMemoryStream& stream, TTestDoc& testDoc, std::string& encoding) {
    BeginRead(testDoc);
    XpObjModel1.LoadStream(stream); // raises on failure
    ReadLoadedTest(encoding);
}

void TTestParserObj::ParseTest(TMemoryStream&& stream, TTestDoc& testDoc, std::string& encoding) {
    BeginRead(testDoc);
    {
        TMemoryStream taken(std::move(stream));
        XpObjModel1.LoadStream(taken); // raises on failure
    }
    ReadLoadedTest(encoding);
}

void TTestParserObj::BeginRead(TTestDoc& testDoc) {
    TestDoc = &testDoc;
    QuestionsNode = SelectorNode = MessagesNode = TXpNode();
    QuestionPictures.clear();
}

void TTestParserObj::ReadLoadedTest(std::string& encoding) {
    // Question, answer and message texts are taken as XML text; Cyrillic must stay readable.
    XpObjModel1.SetKeepCharacters(true);
    encoding = Utf16ToUtf8(XpCharEncodingName(XpObjModel1.InCharSet()));
    const TXpNode root = XpObjModel1.DocumentElement();
    ErrorText.clear();
    // The tables are put right as the validation comes to them (NormalizeTables in the same
    // walk): a large test is one walk over its tree instead of two.
    if (!XpObjModel1.ValidateDocument(
            [root](TXpNode element) { NormalizeTableElement(element, root); })) {
        throw Exception(ErrorText);
    }
    ReadTestElement(root);
}

void TTestParserObj::XpObjModel1DTDExternal(std::u16string& location) {
    const std::string systemId = Utf16ToUtf8(location);
    // Windows paths use backslashes and drive colons, paths here forward slashes.
    const size_t delimiter = systemId.find_last_of("\\:/");
    const std::u16string name =
        Utf8ToUtf16(delimiter == std::string::npos ? systemId : systemId.substr(delimiter + 1));
    std::u16string chosen = u"XTF_v1p0.dtd";
    if (SameTextW(name, u"XTF_v1p1.dtd")) {
        chosen = u"XTF_v1p1.dtd";
    }
    if (SameTextW(name, u"XTF_v1p2.dtd")) {
        chosen = u"XTF_v1p2.dtd";
    }
    EnterProgramFolder();
    if (OnDTDRequest) {
        OnDTDRequest(*this, chosen);
        location = chosen;
        return;
    }
    const std::filesystem::path path =
        std::filesystem::current_path() / FallbackDtdFolder / Utf16ToUtf8(chosen);
    location = Utf8ToUtf16(path.lexically_normal().string());
}

void TTestParserObj::XpObjModel1InvalidDocument(int code, TXpNode node, bool& stop) {
    ErrorText = ValidationMessage(code, node);
    stop = true;
}

std::string TTestParserObj::ValidationMessage(int code, TXpNode node) {
    const char* format = ValidationFormat(code);
    if (format == nullptr) {
        // Problems without a node (the standalone check) name an empty node.
        return "Unknown validation error " + std::to_string(code) + ", node '" + NodeNameOf(node) +
               "'";
    }
    return FormatMessage(format, NodeNameOf(node), node ? NodeNameOf(node.ParentNode()) : "");
}

void TTestParserObj::NormalizeTables(TXpNode root) {
    // One walk over the elements instead of a search per element name: the tree of a large
    // test is big, and each pass over it costs as much as the rest of the reading.
    NormalizeTablesUnder(root, root);
}

void TTestParserObj::ReadTestElement(TXpNode element) {
    QuestionsNode = SelectorNode = MessagesNode = TXpNode();
    QuestionPictures.clear();
    QuestionRefIndex.reset();
    SectionRefIndex.reset();
    for (TXpNode child = element.FirstChild(); child; child = child.NextSibling()) {
        if (!child.IsElement()) {
            continue;
        }
        const std::u16string name = child.NodeName();
        if (name == u"name") {
            TestDoc->Name = child.GetSpacedText();
        } else if (name == u"author") {
            TestDoc->Author = child.GetSpacedText();
        } else if (name == u"abstract") {
            child.Normalize(false);
            const std::u16string text = NormalizeSpaces(child.GetSpacedText());
            TWideStrings& abstract = TestDoc->GetAbstract();
            abstract.clear();
            if (!text.empty()) {
                abstract.push_back(text);
            }
        } else if (name == u"selector") {
            SelectorNode = child;
        } else if (name == u"messages") {
            MessagesNode = child;
        } else if (name == u"questions") {
            QuestionsNode = child;
        }
    }
    // Fixed order: pools and messages refer to questions, section messages to sections.
    if (QuestionsNode) {
        ReadQuestions();
    }
    if (SelectorNode) {
        ReadSelector();
    }
    if (MessagesNode) {
        ReadMessages();
    }
}

void TTestParserObj::AppendPictureNames(TXpNode node, std::deque<std::u16string>& names) const {
    if (node == QuestionsNode) {
        // The questions read have left the tree: their pictures come where they stood, before
        // those of the children left (questions that were not read).
        names.insert(names.end(), QuestionPictures.begin(), QuestionPictures.end());
    }
    for (TXpNode child = node.FirstChild(); child; child = child.NextSibling()) {
        if (!child.IsElement()) {
            continue;
        }
        if (child.NameIs("img")) {
            if (const TXpNode src = child.GetAttributeNode(u"src")) {
                names.push_back(src.NodeValue());
            }
        }
        AppendPictureNames(child, names);
    }
}

std::vector<std::u16string> TTestParserObj::PictureNames() const {
    std::deque<std::u16string> names;
    AppendPictureNames(XpObjModel1.Document(), names);
    return {std::make_move_iterator(names.begin()), std::make_move_iterator(names.end())};
}

std::unique_ptr<TMarkProfile> TTestParserObj::ParseMarkProfile(TXpNode element) const {
    return stellik::ParseMarkProfile(element);
}

const TRefIndex& TTestParserObj::QuestionRefs() {
    if (!QuestionRefIndex) {
        QuestionRefIndex.emplace(TestDoc->Questions);
    }
    return *QuestionRefIndex;
}

const TRefIndex& TTestParserObj::SectionRefs() {
    if (!SectionRefIndex) {
        SectionRefIndex.emplace(TestDoc->Sections);
    }
    return *SectionRefIndex;
}

} // namespace stellik
