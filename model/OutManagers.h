// model/OutManagers.h -- the page producers of the three run modes
#pragma once

#include "model/Lines.h"
#include "model/PageLines.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace stellik {

class TMessagesList;
class TQuestion;
class TSectionList;

enum : uint8_t { RunModeStep = 0, RunModeList = 1, RunModeStepMsg = 2 };

class TOutManager {
public:
    // Checks the lists ("Not Assigned SectionsRef", then "Not Assigned Messages"); the derived
    // constructors then call Start to write the first page.
    TOutManager(const TMessagesList* messages, TSectionList* sections, int level);
    virtual ~TOutManager() = default;
    TOutManager(const TOutManager&) = delete;
    TOutManager& operator=(const TOutManager&) = delete;

    void Start();         // empties the page; Finished := not FirstPage
    void Next(bool skip); // nothing once Finished; else Finished := not NextPage
    std::span<const std::u16string> GetPage() const { return Page.Get(); }
    // The run document: document := head and the page, which is then written there in place.
    void ShowPageIn(TWideStrings& document, TWideStrings& head) { Page.ShowIn(document, head); }
    // Before the document is written over without the page: the page keeps its own lines.
    void TakePageBack() { Page.TakeBack(); }
    bool IsFinished() const { return Finished; }
    int GetLevel() const { return Level; }     // -1: adaptive
    int GetCounter() const { return Counter; } // the last display number handed out

    // Never reads past the section list: a finished step run reports its last section's level.
    virtual int GetCurrentLevel() const = 0;
    virtual const char16_t* GetModeName() const = 0; // "step", "list", "stepmsg"

protected:
    virtual bool FirstPage(TWideStrings& page) = 0;
    virtual bool NextPage(TWideStrings& page, bool skip) = 0;

    // A question shown for the first time gets the next display number; later it keeps it.
    void GiveNumber(TQuestion& question);

    bool Finished = true;
    TPageLines Page;
    const TMessagesList* Messages; // not owned
    TSectionList* Sections;        // not owned
    int Level;
    int Counter = 0;
};

// The producer for a run mode (0 step, 1 list, 2 step with messages); nullptr for any other.
std::unique_ptr<TOutManager> CreateOutManager(uint8_t mode, const TMessagesList* messages,
                                              TSectionList* sections, int level);

} // namespace stellik
