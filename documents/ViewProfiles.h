// documents/ViewProfiles.h -- how a test is presented: run mode and the page flags
//
// The flag names are at the same time element names of the settings document and parameter
// names of the page stylesheet, so both sides must spell them alike.
#pragma once

#include "model/OutManagers.h"
#include "model/OwnedList.h"
#include "xml/XpNode.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace stellik {

// One flag.
class TSOSetElement {
public:
    std::u16string Caption; // Russian description
    std::u16string Name;    // settings element name and stylesheet parameter name
    bool Enabled = false;
};

// An ordered list that owns its flags.
class TSOElementList : public TOwnedList<TSOSetElement> {};

// One flag set; its order is the order of the parameter lines.
class TSOViewSettings {
public:
    // The caller sets Enabled of the new element.
    TSOSetElement& AddElement(const std::u16string& name, const std::u16string& caption);
    // Every flag becomes true when element has a child element of its name, whatever its
    // content, and false when it has none.
    void LoadFlags(TXpNode element);
    // Appends "name=1" or "name=0" per flag, without clearing params.
    void WriteParams(std::vector<std::string>& params) const;

    const TSOElementList& GetElements() const { return Elements; }

private:
    TSOElementList Elements;
};

class TViewProfile {
public:
    // The defaults: step mode, no skipping, results and report shown, the standard flags.
    TViewProfile();

    // Reads a "view-profile" element; any other name raises and changes nothing.
    void LoadFromNode(TXpNode node);
    // Reads a "base-params" element: the three presence flags and the run mode.
    void LoadBaseParams(TXpNode element);
    // Clears params and writes the twenty lines: "skipbtn", then the run, end and rep flags.
    void WriteParams(std::vector<std::string>& params) const;

    uint8_t Mode = RunModeStep; // RunModeList, or RunModeStepMsg: step with result messages
    bool AllowQuestionSkip = false;
    bool ShowResults = true; // kept with the profile; no page depends on it
    bool ShowReport = true;
    TSOViewSettings RunSettings; // pages shown during the run
    TSOViewSettings EndSettings; // the results page
    TSOViewSettings RepSettings; // the report
};

} // namespace stellik
