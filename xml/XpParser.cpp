#include "xml/XpParser.h"

#include "xml/XpDtdIndex.h"
#include "xml/XpEntityBudget.h"
#include "xml/XpNames.h"
#include "xml/XpTextSource.h"

#include <libxml/SAX2.h>
#include <libxml/globals.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <vector>

namespace stellik {

namespace {

thread_local int GuardDepth = 0;

xmlParserInputPtr GuardedLoader(const char* url, const char* id, xmlParserCtxtPtr ctxt);

void InstallLoader() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        xmlSetExternalEntityLoader(GuardedLoader);
    });
}

// Deeper elements are refused: libxml2's own bound, which its size options turn off.
constexpr int MaxDepth = 256;

struct TParseState {
    explicit TParseState(size_t inputSize) : Budget(inputSize) {}

    const std::function<std::string(const std::string&)>* DtdRequest = nullptr;
    xmlParserCtxt* Outer = nullptr; // entity texts are parsed by contexts of their own
    TXpTextSource* Source = nullptr;
    bool Normalize = false;
    bool InExternalSubset = false;
    bool DtdServed = false;
    bool Failed = false;
    bool HaveFatal = false;
    std::string Error, Reason;
    int Line = 0, Column = 0;
    bool OtherEntity = false; // the place is in another entity's text (the external DTD)
    std::exception_ptr HookError;
    std::unique_ptr<TXpDtdIndex> Dtd; // built when the first element starts
    bool DefaultsFromExternal = false;
    TXpEntityBudget Budget;
};

TParseState* StateOf(void* ctx) {
    auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
    return ctxt ? static_cast<TParseState*>(ctxt->_private) : nullptr;
}

std::string TrimMessage(const char* message) {
    std::string text = message ? message : "XML parse error";
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

// withPlace: the message itself names the line and position (the libxml2 messages); the
// layer's own declaration messages keep their exact text and carry the place alongside only.
// file: the entity where the place is, null for the document's own text.
void Record(TParseState& state, std::string reason, int line, int column, bool fatal,
            const char* file, bool withPlace = true) {
    if (!state.Reason.empty() && (state.HaveFatal || !fatal)) {
        return; // the first error counts; a fatal one beats earlier recoverable ones
    }
    state.HaveFatal = fatal;
    state.Reason = std::move(reason);
    state.Line = line;
    state.Column = column;
    state.OtherEntity = file != nullptr;
    state.Error = state.Reason;
    if (line > 0 && withPlace) {
        state.Error +=
            " (line " + std::to_string(line) + ", position " + std::to_string(column) + ")";
    }
}

void Fail(xmlParserCtxt* ctxt, TParseState& state, std::string reason) {
    const int line = ctxt->input ? ctxt->input->line : 0;
    const int column = ctxt->input ? ctxt->input->col : 0;
    Record(state, std::move(reason), line, column, true,
           ctxt->input ? ctxt->input->filename : nullptr);
    state.Failed = true;
    xmlStopParser(ctxt);
    if (state.Outer && state.Outer != ctxt) {
        xmlStopParser(state.Outer);
    }
}

void OnError(void* ctx, xmlError* error) {
    TParseState* state = StateOf(ctx);
    if (!state || !error || error->level < XML_ERR_ERROR) {
        return;
    }
    std::string reason = TrimMessage(error->message);
    const bool misplacedDeclaration =
        error->code == XML_ERR_RESERVED_XML_NAME && reason.rfind("XML declaration allowed", 0) == 0;
    if (misplacedDeclaration) {
        reason = "The XML declaration must appear before the first element";
    }
    Record(*state, std::move(reason), error->line, error->int2, error->level == XML_ERR_FATAL,
           error->file, !misplacedDeclaration);
}

xmlParserInputPtr GuardedLoader(const char* url, const char* id, xmlParserCtxtPtr ctxt) {
    if (GuardDepth > 0) {
        if (TParseState* state = StateOf(ctxt)) {
            Fail(ctxt, *state, std::string("External entity refused: ") + (url ? url : ""));
        }
        return nullptr;
    }
    return xmlNoNetExternalEntityLoader(url, id, ctxt);
}

bool ReadFile(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

// Only the external subset of the document type declaration is served, from the file the
// hook names; every other external entity is refused.
xmlParserInputPtr OnResolveEntity(void* ctx, const xmlChar*, const xmlChar* systemId) {
    auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
    TParseState* state = StateOf(ctx);
    const std::string id = FromXmlChar(systemId);
    if (!state->InExternalSubset || state->DtdServed) {
        Fail(ctxt, *state, "External entity refused: " + id);
        return nullptr;
    }
    state->DtdServed = true;
    if (!state->DtdRequest || !*state->DtdRequest) {
        return nullptr; // no hook: the document is read without its external DTD
    }
    std::string path;
    try {
        path = (*state->DtdRequest)(id);
    } catch (...) {
        state->HookError = std::current_exception();
        Fail(ctxt, *state, "DTD request failed");
        return nullptr;
    }
    std::string bytes;
    if (!ReadFile(path, bytes)) {
        Fail(ctxt, *state, "Cannot read DTD file '" + path + "'");
        return nullptr;
    }
    xmlParserInputBufferPtr buffer = xmlParserInputBufferCreateMem(
        bytes.data(), static_cast<int>(bytes.size()), XML_CHAR_ENCODING_NONE);
    if (!buffer) {
        Fail(ctxt, *state, "Cannot read DTD file '" + path + "'");
        return nullptr;
    }
    xmlParserInputPtr input = xmlNewIOInputStream(ctxt, buffer, XML_CHAR_ENCODING_NONE);
    if (!input) {
        xmlFreeParserInputBuffer(buffer);
        return nullptr;
    }
    input->filename = reinterpret_cast<const char*>(xmlStrdup(ToXmlChar(path)));
    return input;
}

void OnExternalSubset(void* ctx, const xmlChar* name, const xmlChar* externalId,
                      const xmlChar* systemId) {
    TParseState* state = StateOf(ctx);
    state->InExternalSubset = true;
    xmlSAX2ExternalSubset(ctx, name, externalId, systemId);
    state->InExternalSubset = false;
}

// Every resolved reference is charged to the entity budget.
xmlEntity* Charged(void* ctx, xmlEntity* entity) {
    auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
    TParseState* state = StateOf(ctx);
    if (entity && state && !state->Budget.Charge(ctxt->myDoc, entity)) {
        Fail(ctxt, *state, "Entity references expand to too much text");
        return nullptr;
    }
    return entity;
}

xmlEntity* OnGetEntity(void* ctx, const xmlChar* name) {
    return Charged(ctx, xmlSAX2GetEntity(ctx, name));
}

xmlEntity* OnGetParameterEntity(void* ctx, const xmlChar* name) {
    return Charged(ctx, xmlSAX2GetParameterEntity(ctx, name));
}

// A CDATA section the text source lifted out arrives empty, where it was lifted.
void OnCDataBlock(void* ctx, const xmlChar* value, int length) {
    auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
    TParseState* state = StateOf(ctx);
    if (length == 0 && state && state->Source && ctxt == state->Outer && ctxt->input) {
        const size_t delivered =
            ctxt->input->consumed + static_cast<size_t>(ctxt->input->cur - ctxt->input->base);
        int lines = 0;
        if (const auto text = state->Source->TakeSection(delivered, lines)) {
            ctxt->input->line += lines;
            xmlSAX2CDataBlock(ctx, ToXmlChar(text->data()), static_cast<int>(text->size()));
            return;
        }
    }
    xmlSAX2CDataBlock(ctx, value, length);
}

std::string CollapseSpaces(std::string_view value) {
    std::string out;
    bool pendingSpace = false;
    for (char c : value) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            pendingSpace = !out.empty();
        } else {
            if (pendingSpace) {
                out += ' ';
                pendingSpace = false;
            }
            out += c;
        }
    }
    return out;
}

xmlAttr* DeclaredAttribute(xmlNode* element, const TXpAttributeDecl& attribute) {
    for (xmlAttr* a = element->properties; a; a = a->next) {
        if (XpAttributeNamed(a, attribute.Decl->prefix, attribute.Decl->name)) {
            return a;
        }
    }
    return nullptr;
}

// Adds the DTD's default values of the attributes the element omits, and normalises the
// values of attributes declared with a type other than CDATA, as a validating parser would.
// Attributes declared as identifiers name their elements for the document.
void ApplyDeclarations(TParseState& state, xmlDoc* doc, xmlNode* element) {
    if (!state.Dtd) {
        state.Dtd = std::make_unique<TXpDtdIndex>(doc);
    }
    const TXpElementDecl* decl = state.Dtd->Find(element);
    if (!decl || !decl->AttributesMatter) {
        return;
    }
    for (const TXpAttributeDecl& attribute : decl->Attributes) {
        if (!attribute.Defaulted && !attribute.Normalized) {
            continue;
        }
        xmlAttr* present = DeclaredAttribute(element, attribute);
        if (present) {
            if (attribute.Normalized) {
                const std::string value = XpAttributeValue(present);
                const std::string normal = CollapseSpaces(value);
                if (normal != value) {
                    XpSetAttribute(element, attribute.Name, normal);
                }
            }
        } else if (attribute.Defaulted) {
            present = XpAppendParsedAttribute(element, ToXmlChar(attribute.Name),
                                              attribute.Decl->defaultValue);
            state.DefaultsFromExternal = state.DefaultsFromExternal || attribute.External;
        }
        if (present && attribute.Decl->atype == XML_ATTRIBUTE_ID) {
            const std::string value = XpAttributeValue(present);
            xmlAddID(nullptr, doc, ToXmlChar(value), present);
        }
    }
}

// Builds elements with literal names: no namespace processing at all.
void OnStartElement(void* ctx, const xmlChar* fullName, const xmlChar** attributes) {
    auto* ctxt = static_cast<xmlParserCtxt*>(ctx);
    TParseState* state = StateOf(ctx);
    xmlDoc* doc = ctxt->myDoc;
    if (!doc || state->Failed) {
        return;
    }
    if (ctxt->nameNr > MaxDepth) {
        Fail(ctxt, *state, "Excessive depth in document: " + std::to_string(MaxDepth));
        return;
    }
    // The parser's names are strings of the document's dictionary: taken as they are.
    xmlNode* element =
        doc->dict && xmlStrchr(fullName, ':') == nullptr && xmlDictOwns(doc->dict, fullName)
            ? xmlNewDocNodeEatName(doc, nullptr, const_cast<xmlChar*>(fullName), nullptr)
            : XpNewElement(doc, FromXmlChar(fullName));
    if (!element) {
        Fail(ctxt, *state, "Out of memory");
        return;
    }
    if (ctxt->linenumbers && ctxt->input) {
        element->line =
            static_cast<unsigned short>(ctxt->input->line < 65535 ? ctxt->input->line : 65535);
    }
    xmlNode* parent = ctxt->node;
    xmlAddChild(parent ? parent : reinterpret_cast<xmlNode*>(doc), element);
    nodePush(ctxt, element);
    ctxt->nodemem = -1;
    for (size_t i = 0; attributes && attributes[i]; i += 2) {
        XpAppendParsedAttribute(element, attributes[i], attributes[i + 1]);
    }
    ApplyDeclarations(*state, doc, element);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Trims text nodes, collapses their inner white space and drops the blank ones.
void NormalizeText(xmlNode* node) {
    xmlNode* child = node->children;
    while (child) {
        xmlNode* next = child->next;
        if (child->type == XML_TEXT_NODE) {
            const std::string_view text = FromXmlChar(child->content);
            bool plain = !text.empty() && !IsBlank(text.front()) && !IsBlank(text.back());
            for (size_t i = 0; plain && i < text.size(); ++i) {
                plain = !(IsBlank(text[i]) && (text[i] != ' ' || IsBlank(text[i + 1])));
            }
            if (!plain) {
                const std::string normal = CollapseSpaces(text);
                if (normal.empty()) {
                    xmlUnlinkNode(child);
                    xmlFreeNode(child);
                } else {
                    xmlNodeSetContentLen(child, nullptr, 0);
                    xmlNodeAddContentLen(child, ToXmlChar(normal), static_cast<int>(normal.size()));
                }
            }
        } else if (child->type == XML_ELEMENT_NODE) {
            NormalizeText(child);
        }
        child = next;
    }
}

class TErrorHandlerScope {
public:
    explicit TErrorHandlerScope(xmlParserCtxt* ctxt)
        : Previous(xmlStructuredError), PreviousContext(xmlStructuredErrorContext) {
        xmlSetStructuredErrorFunc(ctxt, OnError);
    }
    ~TErrorHandlerScope() { xmlSetStructuredErrorFunc(PreviousContext, Previous); }
    TErrorHandlerScope(const TErrorHandlerScope&) = delete;
    TErrorHandlerScope& operator=(const TErrorHandlerScope&) = delete;

private:
    xmlStructuredErrorFunc Previous;
    void* PreviousContext;
};

} // namespace

TXpEntityGuard::TXpEntityGuard() {
    InstallLoader();
    ++GuardDepth;
}

TXpEntityGuard::~TXpEntityGuard() {
    --GuardDepth;
}

namespace {

// One parse; again tells that a lifted CDATA section was misread and the text must be parsed
// again without lifting.
TXpParseOutcome ParseOnce(std::string_view utf8,
                          const std::function<std::string(const std::string&)>& dtdRequest,
                          bool normalize, bool lift, bool& again) {
    TXpParseOutcome outcome;
    if (utf8.size() > static_cast<size_t>(INT_MAX)) {
        outcome.Error = outcome.Reason = "Document too large";
        return outcome;
    }
    TParseState state(utf8.size());
    state.DtdRequest = &dtdRequest;
    state.Normalize = normalize;

    TXpTextSource source(utf8, lift);
    state.Source = &source;
    XmlParserCtxtPtr ctxt(xmlCreateIOParserCtxt(nullptr, nullptr, TXpTextSource::Read, nullptr,
                                                &source, XML_CHAR_ENCODING_NONE));
    if (!ctxt) {
        outcome.Error = outcome.Reason = "Cannot create the XML parser";
        return outcome;
    }
    state.Outer = ctxt.get();
    // NOENT substitutes internal entities only: external ones reach the loader, which
    // refuses them. SAX1 hands element names over unsplit, so no namespace processing.
    // HUGE lifts the 10 MB bound on one text or CDATA section (a package member's cipher
    // text is one); the depth and entity bounds it also lifts are kept by the handlers.
    // COMPACT keeps short texts inside their nodes (libxml2's own calls, which every change
    // to a node goes through, know this).
    xmlCtxtUseOptions(ctxt.get(), XML_PARSE_NONET | XML_PARSE_NOENT | XML_PARSE_DTDLOAD |
                                      XML_PARSE_IGNORE_ENC | XML_PARSE_HUGE | XML_PARSE_SAX1 |
                                      XML_PARSE_COMPACT | XML_PARSE_NOWARNING);
    // The text is UTF-8 by construction: an encoding already named keeps libxml2 from guessing
    // another one (UCS-4, EBCDIC) from the first bytes, which the layer's detection never does.
    ctxt->encoding = xmlStrdup(ToXmlChar("UTF-8"));
    ctxt->_private = &state;
    // With SAX1 libxml2 skips the context's own structured error callback, so the errors are
    // caught by the thread's handler while this parse runs.
    TErrorHandlerScope errors(ctxt.get());
    ctxt->sax->startElement = OnStartElement;
    ctxt->sax->endElement = xmlSAX2EndElement;
    ctxt->sax->resolveEntity = OnResolveEntity;
    ctxt->sax->externalSubset = OnExternalSubset;
    ctxt->sax->getEntity = OnGetEntity;
    ctxt->sax->cdataBlock = OnCDataBlock;
    ctxt->sax->getParameterEntity = OnGetParameterEntity;
    ctxt->vctxt.error = nullptr;
    ctxt->vctxt.warning = nullptr;

    xmlParseDocument(ctxt.get());
    XmlDocPtr doc(ctxt->myDoc);
    ctxt->myDoc = nullptr;

    outcome.HookError = state.HookError;
    const bool failed = state.Failed || !ctxt->wellFormed || !doc;
    if (source.LiftedAny() && !state.HookError && (failed || source.Misread())) {
        again = true; // the same text without lifting gives the parser's own result
        return outcome;
    }
    if (failed) {
        if (state.Reason.empty()) {
            Record(state, "XML document is not well-formed", 0, 0, true, nullptr);
        }
        outcome.Error = state.Error;
        outcome.Reason = state.Reason;
        outcome.Line = state.Line;
        outcome.Column = state.Column;
        outcome.OtherEntity = state.OtherEntity;
        return outcome;
    }
    if (normalize) {
        NormalizeText(reinterpret_cast<xmlNode*>(doc.get()));
    }
    outcome.DefaultsFromExternal = state.DefaultsFromExternal;
    outcome.Doc = std::move(doc);
    return outcome;
}

} // namespace

TXpParseOutcome XpParseUtf8(std::string_view utf8,
                            const std::function<std::string(const std::string&)>& dtdRequest,
                            bool normalize) {
    TXpEntityGuard guard;
    bool again = false;
    TXpParseOutcome outcome = ParseOnce(utf8, dtdRequest, normalize, true, again);
    if (again) {
        outcome = ParseOnce(utf8, dtdRequest, normalize, false, again);
    }
    return outcome;
}

} // namespace stellik
