// documents/IdsParser.h -- splits space-separated reference lists of a test document
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace stellik {

// One splitter serves every reference list of a document in turn; each Parse replaces the
// tokens of the previous one.
class TIdsParser {
public:
    // Only the space character separates: tabs and line ends stay inside a token. Empty
    // tokens are dropped, order and duplicates are kept.
    void Parse(std::string_view text);
    const std::vector<std::string>& GetIds() const { return Ids; }
    // Position of the first token equal to text without regard to letter case; -1 when none.
    int IndexOf(std::string_view text) const;

private:
    std::vector<std::string> Ids;
};

} // namespace stellik
