// model/TextMask.h -- the masks that text answers are matched against
//
// A mask is written with three escapes: "\*" any run of characters (also none; a row of them
// counts as one), "\?" exactly one character, "\\" a backslash. Every other character, plain
// "*" and "?" included, stands for itself. The mask is trimmed and upper-cased before it is
// read, and texts are trimmed and upper-cased before they are matched.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace stellik {

struct TMaskCell {
    bool AnyChar = false; // "\?"
    char16_t Char = 0;    // the character to match; 0 in an any-character cell
};

// The cells of one literal part, one per character.
class TMaskStr {
public:
    TMaskCell& AddCell(); // the reference holds until the next AddCell
    int GetCount() const { return static_cast<int>(Cells.size()); }
    const TMaskCell& GetItem(int index) const; // list index error outside the list
    const std::vector<TMaskCell>& Items() const { return Cells; }

private:
    std::vector<TMaskCell> Cells;
};

// Either a literal part (cells, Star false) or a star (no cells).
class TMaskElement {
public:
    TMaskStr Cells;
    bool Star = false;
};

// Literal parts and stars in mask order; no two stars are adjacent.
class TMask {
public:
    TMaskElement& AddElement();
    void Clear();
    int GetCount() const { return static_cast<int>(Elements.size()); }
    const TMaskElement& GetItem(int index) const; // list index error outside the list

private:
    std::vector<std::unique_ptr<TMaskElement>> Elements;
};

// Trimmed (characters below 33 at both ends) and upper-cased: the form masks and typed texts
// are compared in.
std::u16string PrepareMaskText(std::u16string_view text);

// Rebuilds mask from spec. A backslash before any other character, or at the end, raises the
// syntax message; the mask then keeps the elements read before the error.
void ParseMask(std::u16string_view spec, TMask& mask);

// Matching works on prepared text with 0-based positions.

// The cells match text from position on: equal characters, any character for "\?", and a
// text "Е" also for a mask "Ё" (not the other way round).
bool MatchAt(const TMaskStr& cells, std::u16string_view text, size_t position);

// The leftmost position >= start at which cells match; -1 when there is none. Runs in time
// linear in the text for every 64 cells.
long long FindCells(const TMaskStr& cells, std::u16string_view text, size_t start);

// Where element elementIndex is placed when the elements before it end at start; -1: nowhere.
// A star takes no characters; the first element must match at the beginning, the last one
// must end with the text, any other literal part is taken at its leftmost place.
long long FindElement(const TMask& mask, int elementIndex, std::u16string_view text, size_t start);

// Every element placed in turn, without going back. A mask without elements matches any
// text; an empty text is the caller's business.
bool MatchMask(const TMask& mask, std::u16string_view text);

} // namespace stellik
