// model/Lines.h -- the engine's documents are lists of lines, one tag or one value each
#pragma once

#include <string>
#include <vector>

namespace stellik {

using TWideStrings = std::vector<std::u16string>;

} // namespace stellik
