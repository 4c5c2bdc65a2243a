#include "xml/XpObjModel.h"

#include "platform/MemoryStream.h"
#include "platform/Unicode.h"
#include "xml/XpCharFilter.h"
#include "xml/XpErrors.h"
#include "xml/XpInputFilter.h"
#include "xml/XpNames.h"
#include "xml/XpParser.h"
#include "xml/XpValidator.h"
#include "xml/XpWriter.h"

#include <utility>

namespace stellik {

TXpObjModel::TXpObjModel() : State(std::make_unique<TXpDocState>()) {
    ResetDocument();
}

TXpObjModel::~TXpObjModel() {
    XpUnregisterDocState(Doc.get());
}

void TXpObjModel::ResetDocument() {
    XmlDocPtr fresh(xmlNewDoc(ToXmlChar("1.0")));
    if (!fresh) {
        throw Exception("Out of memory");
    }
    if (Doc) {
        XpUnregisterDocState(Doc.get());
    }
    Doc = std::move(fresh);
    XpRegisterDocState(Doc.get(), State.get());
    DefaultsFromExternal = false;
}

void TXpObjModel::ClearDocument() {
    ResetDocument();
}

TXpNode TXpObjModel::Document() const {
    return TXpNode(reinterpret_cast<xmlNode*>(Doc.get()));
}

TXpNode TXpObjModel::DocumentElement() const {
    return TXpNode(xmlDocGetRootElement(Doc.get()));
}

bool TXpObjModel::LoadStream(TMemoryStream& stream) {
    const std::string_view bytes = stream.Remaining();
    stream.SetPosition(stream.GetSize());
    return Load(bytes);
}

bool TXpObjModel::LoadBytes(std::string_view bytes) {
    return Load(bytes);
}

bool TXpObjModel::LoadText(std::u16string_view text) {
    // As UTF-16 little-endian with its mark, so that the usual detection applies.
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + text.size() * 2);
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return Load(bytes);
}

namespace {

// Where a parse of text stops at its end, counted as the parser counts: lines by LF alone,
// positions in a line by characters.
std::pair<int, int> EndOf(std::string_view text) {
    int line = 1;
    int column = 1;
    for (const char c : text) {
        if (c == '\n') {
            ++line, column = 1;
        } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return {line, column};
}

// outcome: the parse of text, the document's text before a forbidden character. True when it
// failed ahead of that character: in the external DTD, which is read where the document names
// it, or at a place before the end of text. A failure right at the end is either the text
// running out or a fault of its last piece of markup; only the latter stays where it is when
// the text goes on with a line break (read again without the external DTD, which the first
// parse read without fault).
bool FailsAhead(const TXpParseOutcome& outcome, std::string_view text, bool normalize) {
    if (outcome.Doc || outcome.Line <= 0) {
        return false;
    }
    if (outcome.OtherEntity) {
        return true;
    }
    const std::pair<int, int> place{outcome.Line, outcome.Column};
    const std::pair<int, int> end = EndOf(text);
    if (place != end) {
        return place < end;
    }
    std::string longer(text);
    longer += '\n';
    const TXpParseOutcome again = XpParseUtf8(longer, {}, normalize);
    return !again.Doc && again.Line == outcome.Line && again.Column == outcome.Column &&
           again.Reason == outcome.Reason;
}

} // namespace

bool TXpObjModel::Load(std::string_view bytes) {
    ResetDocument();
    Errors.clear();
    InputEncoding = ceUnknown;
    try {
        TXpDecodedInput input = XpDecodeInput(bytes);
        TXpParseOutcome outcome = XpParseUtf8(input.Utf8(), OnDTDRequest, NormalizeData);
        if (input.Invalid && !outcome.HookError &&
            !FailsAhead(outcome, input.Utf8(), NormalizeData)) {
            throw *input.Invalid; // the text before it holds no problem of its own
        }
        InputEncoding = input.Encoding;
        if (outcome.HookError) {
            std::rethrow_exception(outcome.HookError);
        }
        if (!outcome.Doc) {
            throw EXpParserError(outcome.Error, outcome.Line, outcome.Column);
        }
        XpUnregisterDocState(Doc.get());
        Doc = std::move(outcome.Doc);
        XpRegisterDocState(Doc.get(), State.get());
        DefaultsFromExternal = outcome.DefaultsFromExternal;
        if (input.HasDeclaration) {
            TXpOwnedNode declaration(
                xmlNewDocPI(Doc.get(), ToXmlChar("xml"), ToXmlChar(input.DeclarationData)));
            Document().InsertBefore(std::move(declaration), Document().FirstChild());
        }
        return true;
    } catch (const Exception& error) {
        ResetDocument();
        Errors.push_back(error.GetMessage());
        if (RaiseErrors) {
            throw;
        }
        return false;
    } catch (...) {
        ResetDocument();
        Errors.emplace_back("XML load failed");
        if (RaiseErrors) {
            throw;
        }
        return false;
    }
}

bool TXpObjModel::ValidateDocument() {
    return XpValidate(Doc.get(), DefaultsFromExternal, OnInvalidDocument);
}

bool TXpObjModel::ValidateDocument(const std::function<void(TXpNode element)>& prepare) {
    return XpValidate(Doc.get(), DefaultsFromExternal, OnInvalidDocument, prepare);
}

TXpOwnedNode TXpObjModel::CreateElement(std::u16string_view name) const {
    return TXpOwnedNode(XpNewElement(Doc.get(), Utf16ToUtf8(name)));
}

TXpOwnedNode TXpObjModel::CreateProcessingInstruction(std::u16string_view target,
                                                      std::u16string_view data) const {
    return TXpOwnedNode(
        xmlNewDocPI(Doc.get(), ToXmlChar(Utf16ToUtf8(target)), ToXmlChar(Utf16ToUtf8(data))));
}

void TXpObjModel::SaveToStream(TMemoryStream& stream) const {
    const uint8_t format = XpCharEncodingToFormat(OutCharSet);
    if (format == cfUTF8) {
        // The serialiser's text is UTF-8 already: it goes to the stream as it is written.
        if (WriteUTF8Signature) {
            stream.Write("\xEF\xBB\xBF");
        }
        TXpWriterOutput out(stream);
        XpWriteDocument(out, Doc.get(), State->KeepCharacters);
        out.Flush();
        return;
    }
    std::string text;
    TXpWriterOutput out(text);
    XpWriteDocument(out, Doc.get(), State->KeepCharacters);
    TXpOutCharFilter filter(stream, format);
    if (format == cfUTF16LE || format == cfUTF16BE) {
        filter.WriteSignature();
    }
    filter.WriteUtf8(text);
    filter.Flush();
}

std::u16string TXpObjModel::GetXmlText() const {
    std::string text;
    TXpWriterOutput out(text);
    XpWriteDocument(out, Doc.get(), State->KeepCharacters);
    return Utf8ToUtf16(text);
}

} // namespace stellik
