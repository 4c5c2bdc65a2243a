// model/PageLines.h -- a producer's current page, written once, where the run document shows it
#pragma once

#include "model/Lines.h"

#include <cstddef>
#include <span>
#include <string>

namespace stellik {

// The lines of the current page. They stand in a list of their own until a run document is
// built around them; from then on each page is written into a spare list behind stand-ins for
// the head, and that list then changes places with the document, so that a page of many
// questions is never copied. A producer that raises while writing leaves the document and the
// page in it as they were.
class TPageLines {
public:
    TPageLines() = default;
    TPageLines(const TPageLines&) = delete;
    TPageLines& operator=(const TPageLines&) = delete;

    // The lines of the next page are appended to the list returned; End puts them in place of
    // the current page. Without End (the writer raised) the current page stays.
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
    TWideStrings Spare;         // places for a head, then the next page while it is written
    std::size_t First = 0;      // the page is [First, Last) of *Where
    std::size_t Last = 0;
};

} // namespace stellik
