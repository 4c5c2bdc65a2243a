// model/PageLines.h -- a producer's current page, written once, where the run document shows it
#pragma once

#include "model/Lines.h"

#include <cstddef>
#include <span>
#include <string>

namespace stellik {

// The lines of the current page. They stand in a list of their own until a run document is
// built around them; from then on each page is written straight into that document, after its
// head, so that a page of many questions is never copied.
class TPageLines {
public:
    TPageLines() = default;
    TPageLines(const TPageLines&) = delete;
    TPageLines& operator=(const TPageLines&) = delete;

    // Empties the page; its lines are then appended to the list returned, and End marks where
    // they stop.
    TWideStrings& Begin();
    void End();
    std::span<const std::u16string> Get() const;

    // document := head, then the page; the lines of head are moved, not copied. Anything that
    // followed the page in document is dropped. The page is then written in document.
    void ShowIn(TWideStrings& document, TWideStrings& head);
    // Moves the page back into a list of its own, so the document may be written over.
    void TakeBack();

private:
    bool Intact() const { return Last <= Where->size(); }

    TWideStrings Own;
    TWideStrings* Where = &Own; // Own, or the document that shows the page
    std::size_t First = 0;      // the page is [First, Last) of *Where
    std::size_t Last = 0;
};

} // namespace stellik
