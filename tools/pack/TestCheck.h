// tools/pack/TestCheck.h -- reading a test and its settings the way the player will
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace stellik {

using TResourceList = std::vector<std::pair<std::string, std::string>>;

// Reads the test document with the program's own reader, validated against the DTDs that
// the player carries ("XTF_V1P0", "XTF_V1P1", "XTF_V1P2"), and returns the pictures it
// names (the "src" of every img) in document order, each once (letter case ignored, as the
// player finds package members). Raises the reader's exception for a test it refuses.
std::vector<std::string> CheckTest(const std::string& test, const TResourceList& playerResources);

// Reads the settings document as the player will; raises the settings reader's exception, or
// an Exception when the results encryption key is one the player could not encrypt for.
void CheckSettings(const std::string& settings);

} // namespace stellik
