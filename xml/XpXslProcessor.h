// xml/XpXslProcessor.h -- XSLT 1.0 over the document object, with HTML output
//
// The stylesheet is compiled once when it is set and kept until it is replaced, so every page
// is one transformation of an already prepared stylesheet. A stylesheet can neither read nor
// write files nor reach the network: every such access is refused.
#pragma once

#include "platform/MemoryStream.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace stellik {

class TXpObjModel;

// The HTML output of the last transformation: HTML, UTF-8, no added formatting, no
// signature, plain HTML empty elements ("<br>", not "<br/>").
class TXpFilterHTML {
public:
    void SaveToStream(TMemoryStream& stream) const; // at the stream's position
    const std::string& GetHtml() const { return Html; }
    void SetHtml(std::string html) { Html = std::move(html); }

private:
    std::string Html;
};

class TXpXSLProcessor {
public:
    TXpXSLProcessor();
    ~TXpXSLProcessor();
    TXpXSLProcessor(const TXpXSLProcessor&) = delete;
    TXpXSLProcessor& operator=(const TXpXSLProcessor&) = delete;

    // Compiles the stylesheet from its text (UTF-8, a signature allowed); raises Exception
    // "Cannot Apply XSL stylesheet" when it is no stylesheet. Parameters set so far stay.
    void StyleData(std::string_view text);
    bool HasStyle() const;

    // A top-level string parameter, kept for every later transformation until a parameter
    // of the same name replaces it.
    void SetParameter(const std::u16string& name, const std::u16string& value);

    // Transforms model's document into Filter; false when there is no stylesheet, no
    // document, or the transformation fails.
    bool ApplyStyle(const TXpObjModel& model);

    // What libxml2 and libxslt said during the last StyleData or ApplyStyle (for people
    // reading a failure; never shown to the user).
    const std::string& GetErrors() const { return Errors; }

    TXpFilterHTML Filter;

private:
    struct TImpl;
    std::unique_ptr<TImpl> Impl;
    std::map<std::string, std::string> Parameters; // UTF-8 name -> UTF-8 value
    std::string Errors;
};

} // namespace stellik
