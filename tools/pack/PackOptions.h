// tools/pack/PackOptions.h -- the command line of stellik-pack
#pragma once

#include <string>
#include <vector>

namespace stellik {

// Every path is absolute: the test reader changes the current directory while it reads.
struct TPackOptions {
    std::string Test;     // the test document
    std::string Settings; // the test's settings document
    std::string Pictures; // the folder the pictures' names are relative to
    std::string Player;   // the player to copy
    std::string Output;   // the player to write
    bool Help = false;    // only the usage was asked for
};

extern const char* const PackUsage;

// args without the program's name. The pictures default to the test document's folder and
// the player to "stellik" in programFolder. Raises Exception for an unknown, repeated or
// incomplete option, a stray argument and a missing required option.
TPackOptions ParsePackArguments(const std::vector<std::string>& args,
                                const std::string& programFolder);

} // namespace stellik
