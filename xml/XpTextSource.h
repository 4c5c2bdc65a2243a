// xml/XpTextSource.h -- the document text as libxml2 reads it (internal)
//
// The text is handed to the parser piece by piece, so that libxml2 keeps only the part it is
// working on instead of a copy of the whole document. libxml2 reads a CDATA section one
// character at a time, several times slower than other text; the cipher text of an
// encrypted package member is one section of many megabytes. So a large section of plain
// ASCII is lifted out: the parser is handed "<![CDATA[]]>" in its place, and when it
// reports that empty section where it was lifted, TakeSection gives back the text.
// Should the parser meet the lifted section anywhere else (inside a comment, say), the
// document is parsed again with nothing lifted.
#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string_view>

namespace stellik {

class TXpTextSource {
public:
    TXpTextSource(std::string_view text, bool liftSections);

    // libxml2's read callback (context: the source).
    static int Read(void* context, char* buffer, int length);

    // The text of the section the parser reports as ending at delivered (bytes handed over
    // before its position after "]]>"), when that section was lifted there. Lines: the line
    // ends in that text, which the parser did not count.
    std::optional<std::string_view> TakeSection(size_t delivered, int& lines);
    // Some section was lifted that the parser did not report where it was lifted.
    bool Misread() const { return Missed || !Lifted.empty(); }
    bool LiftedAny() const { return Count > 0; }

private:
    struct TLifted {
        size_t DeliveredEnd; // bytes handed over up to the end of its "]]>"
        std::string_view Text;
    };

    // Finds the next section to lift at or after Position; sets NextOpen to the offset
    // just past its "<![CDATA[" (npos when there is none).
    void FindNext();

    std::string_view Text;
    size_t Position = 0;  // the next byte to hand over
    size_t Delivered = 0; // bytes handed over, lifted ones not counted
    bool Lift;
    size_t NextOpen = 0;
    size_t NextClose = 0; // where the lifted text ends: its "]]>"
    std::deque<TLifted> Lifted;
    size_t Count = 0;
    bool Missed = false;
};

} // namespace stellik
