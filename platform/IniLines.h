// platform/IniLines.h -- an ini file's text line by line, as the profile reader sees it
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stellik {

// Whether name can stand in a section line ([name]) or before the "=" of an entry and be read
// back as itself: UTF-8 without control characters or brackets, a key also without "=", not
// starting with ";" or "#" (its line would be a comment) and without blanks at its ends.
bool IsIniName(std::string_view name, bool isKey);

// One line of the text and what it is to a reader. Files edited by hand or written by other
// programs are read leniently: a UTF-8 byte-order mark, ";" and "#" comments, lines without
// "=" and keys outside a section that can be named are not entries, a section line ends at its
// "]", and a section named twice is one section.
struct TIniLine {
    enum class TKind { Other, Section, Entry };
    TKind Kind = TKind::Other;
    std::string_view Text;    // the line as it stands, without its end
    std::string_view End;     // "\n" or "\r\n"; for the last line also "\r" or empty
    std::string_view Section; // a section's name, or the section an entry is in
    std::string_view Key;     // an entry's key
    std::string_view Value;   // what a read gives: the text after "=", raw but for the blanks
                              // before it and one "\r" at its end
    int Block = 0;            // how many section lines came before, this one included
    bool Counts = false;      // an entry a read finds: the first of its key in its section

    // Whether this is the entry a read of key in section finds.
    bool Holds(std::string_view section, std::string_view key) const {
        return Kind == TKind::Entry && Counts && Section == section && Key == key;
    }
};

std::vector<TIniLine> SplitIniLines(std::string_view text);

// The text with key=value in section: the line of the entry a read finds is replaced (keeping
// its line end); else the key is added after the last entry of the section's first block; else
// the section is added at the end, a blank line after the text before it. Every other byte
// stays as it was, and new lines end as the text's first line does ("\n" in an empty text).
std::string WithIniValue(std::string_view text, std::string_view section, std::string_view key,
                         std::string_view value);

} // namespace stellik
