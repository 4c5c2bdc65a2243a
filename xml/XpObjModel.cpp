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

bool TXpObjModel::Load(std::string_view bytes) {
    ResetDocument();
    Errors.clear();
    InputEncoding = ceUnknown;
    try {
        TXpDecodedInput input = XpDecodeInput(bytes);
        InputEncoding = input.Encoding;
        TXpParseOutcome outcome = XpParseUtf8(input.Utf8(), OnDTDRequest, NormalizeData);
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
