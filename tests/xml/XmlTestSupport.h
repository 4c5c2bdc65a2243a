// tests/xml/XmlTestSupport.h -- shared helpers of the XML layer tests
#pragma once

#include "platform/Unicode.h"
#include "xml/XpObjModel.h"

#include <ostream>
#include <string>
#include <vector>

namespace stellik::testing {

// The DTD files of the test format, as the program ships them.
inline std::string DtdPath(const std::string& name) {
    return std::string(STELLIK_SOURCE_DIR) + "/resources/" + name;
}

// Every problem ValidateDocument reported: code and node name.
struct TProblem {
    int Code;
    std::u16string NodeName;
    bool operator==(const TProblem&) const = default;
    friend void PrintTo(const TProblem& p, std::ostream* os) {
        *os << "{" << p.Code << ", " << Utf16ToUtf8(p.NodeName) << "}";
    }
};

// A document object set up as the test reader sets its own: errors raised, text as
// written, the DTD served from the resources folder by file name.
inline void SetUpReader(TXpObjModel& model, std::vector<std::string>* requests = nullptr) {
    model.SetRaiseErrors(true);
    model.SetNormalizeData(false);
    model.OnDTDRequest = [requests](const std::string& systemId) {
        if (requests) {
            requests->push_back(systemId);
        }
        const size_t slash = systemId.find_last_of("\\:/");
        const std::string name =
            AsciiUpper(slash == std::string::npos ? systemId : systemId.substr(slash + 1));
        for (const char* known : {"XTF_v1p1.dtd", "XTF_v1p2.dtd"}) {
            if (name == AsciiUpper(known)) {
                return DtdPath(known);
            }
        }
        return DtdPath("XTF_v1p0.dtd");
    };
}

inline std::vector<TProblem> Validate(TXpObjModel& model, bool stopAtFirst = false) {
    std::vector<TProblem> problems;
    model.OnInvalidDocument = [&](int code, TXpNode node, bool& stop) {
        problems.push_back({code, node.NodeName()});
        stop = stopAtFirst;
    };
    const bool valid = model.ValidateDocument();
    if (valid != problems.empty()) {
        problems.push_back({-1, u"result disagrees with the reports"});
    }
    return problems;
}

} // namespace stellik::testing
