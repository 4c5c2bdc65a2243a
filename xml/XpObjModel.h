// xml/XpObjModel.h -- the XML document object
//
// Holds one libxml2 document and offers what the readers and writers of the program need:
// loading from a stream by the layer's own encoding rules, the external DTD through a hook,
// DTD default attribute values, validation reported as numbered problems, XPath (through
// TXpNode), DOM editing and the layer's serialiser.
//
// Loading never touches the network and resolves no external entity: the only external
// resource read is the DTD file that OnDTDRequest names. Any other external entity makes
// the load fail.
//
// Texts and CDATA sections may be of any size. A document whose entity references would
// expand to far more text than it holds, or whose elements nest deeper than 256, is refused,
// and so is input holding a character XML does not allow (EXpFilterError, in every
// encoding, unless the document fails earlier: the first problem in the document is reported).
//
// The XML declaration of a loaded document is kept as the document's first top-level node,
// a processing instruction with the target "xml" (as one made with
// CreateProcessingInstruction(u"xml", ...)); saving writes it like any other node.
#pragma once

#include "xml/XmlHandles.h"
#include "xml/XpCharEncoding.h"
#include "xml/XpDocState.h"
#include "xml/XpNode.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace stellik {

class TMemoryStream;

// Validation problems, by number.
enum TXpValidationCode : int {
    vcNoDtd = 1,                // no document type declaration (no node)
    vcBadDtd = 2,               // the DTD cannot be used (content model not deterministic, ...)
    vcNoDocument = 3,           // no root element (no node)
    vcRootNameMismatch = 4,     // document type name differs from the root's name (no node)
    vcElementNotDefined = 5,    // node: the element
    vcNotEmpty = 6,             // node: the element declared EMPTY
    vcChildNotAllowed = 7,      // node: the child that the parent's mixed content does not allow
    vcMissingChild = 8,         // node: the element whose children do not fit its content model
    vcUndefinedChild = 9,       // node: the element holding a child the DTD does not declare
    vcNoAttributes = 10,        // node: an element with required attributes but none at all
    vcFixedValue = 11,          // node: the attribute whose value differs from its #FIXED one
    vcNotEnumerated = 12,       // node: the attribute whose value is not in its enumeration
    vcRequiredMissing = 13,     // node: the element that lacks a #REQUIRED attribute
    vcStandalone = 14,          // standalone="yes" yet external declarations are used (no node)
    vcUnexpectedAttribute = 15, // node: the undeclared attribute
};

class TXpObjModel {
public:
    // systemId as written in the document type declaration in; the path of a file holding
    // the DTD out. Exceptions thrown by the hook pass out of the load.
    using TDTDRequest = std::function<std::string(const std::string& systemId)>;
    // Called once per problem (node may be null); setting stop ends the validation.
    using TInvalidDocument = std::function<void(int code, TXpNode node, bool& stop)>;

    TXpObjModel();
    ~TXpObjModel();
    TXpObjModel(const TXpObjModel&) = delete;
    TXpObjModel& operator=(const TXpObjModel&) = delete;

    // Settings. RaiseErrors (off): a load failure raises EXpParserError (or the hook's
    // exception) instead of returning false. NormalizeData (on): text nodes are trimmed and
    // their inner runs of white space collapsed to one space, and blank ones dropped, as
    // they are loaded; off keeps text as written. KeepCharacters (off): the serialiser
    // writes characters outside 32..126 as they are instead of as decimal references.
    // OutCharSet (UTF-8) and WriteUTF8Signature (on) shape SaveToStream.
    void SetRaiseErrors(bool value) { RaiseErrors = value; }
    void SetNormalizeData(bool value) { NormalizeData = value; }
    void SetKeepCharacters(bool value) { State->KeepCharacters = value; }
    void SetOutCharSet(TXpCharEncoding value) { OutCharSet = value; }
    void SetWriteUTF8Signature(bool value) { WriteUTF8Signature = value; }

    TDTDRequest OnDTDRequest;
    TInvalidDocument OnInvalidDocument;

    // Parses the stream from its position to its end into a fresh document (the position
    // ends at the end). False on failure, when RaiseErrors is off: the document is then
    // empty and GetErrors says why.
    bool LoadStream(TMemoryStream& stream);
    // The same for bytes held elsewhere (detected and decoded like a stream's).
    bool LoadBytes(std::string_view bytes);
    // A document already held as wide text; its encoding declaration is not looked at.
    bool LoadText(std::u16string_view text);
    const std::vector<std::string>& GetErrors() const { return Errors; }

    // The encoding the last load read its input in (ceUnknown before any load).
    TXpCharEncoding InCharSet() const { return InputEncoding; }

    // Releases every node; the document is then empty (no declaration, no root).
    void ClearDocument();
    TXpNode Document() const;        // the document node: parent of the top-level nodes
    TXpNode DocumentElement() const; // null when there is none
    xmlDoc* Handle() const { return Doc.get(); }

    // Validates the document against its DTD (internal and external subsets); true when
    // valid. Each problem goes to OnInvalidDocument with its code and node.
    bool ValidateDocument();
    // The same, with prepare called for every element, in document order, just before it is
    // checked: it may change the element's attributes and take out its children (which are
    // then not checked). Every element is prepared, also after a problem that stops the
    // checks. One walk where preparing first would take two over a large document.
    bool ValidateDocument(const std::function<void(TXpNode element)>& prepare);

    // New nodes of this document, in no tree yet.
    TXpOwnedNode CreateElement(std::u16string_view name) const;
    TXpOwnedNode CreateProcessingInstruction(std::u16string_view target,
                                             std::u16string_view data) const;

    // Writes the document at the stream's position in OutCharSet: the signature (UTF-8 when
    // WriteUTF8Signature; UTF-16 always), then the top-level nodes joined by CR LF, with no
    // white space added. A character the format cannot hold raises EXpStreamError.
    void SaveToStream(TMemoryStream& stream) const;
    // The whole document as text, top-level nodes joined by CR LF.
    std::u16string GetXmlText() const;

private:
    bool Load(std::string_view bytes);
    void ResetDocument();

    XmlDocPtr Doc;
    std::unique_ptr<TXpDocState> State;
    std::vector<std::string> Errors;
    TXpCharEncoding InputEncoding = ceUnknown;
    TXpCharEncoding OutCharSet = ceUTF8;
    bool RaiseErrors = false;
    bool NormalizeData = true;
    bool WriteUTF8Signature = true;
    bool DefaultsFromExternal = false; // for the standalone check of ValidateDocument
};

} // namespace stellik
