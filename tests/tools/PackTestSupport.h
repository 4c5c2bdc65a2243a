// tests/tools/PackTestSupport.h -- a folder with a player, a test, its settings and pictures
#pragma once

#include "tests/support/MessageOf.h"
#include "tests/support/ScratchFolder.h"
#include "tools/pack/PackOptions.h"

#include <string>
#include <utility>
#include <vector>

namespace stellik::testing {

using TResourceList = std::vector<std::pair<std::string, std::string>>;

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
std::string MakeFifo(const std::string& path); // returns path

// A test document of the format, with the given questions.
std::string TestDocument(const std::string& questions);
extern const char* const TwoPictureQuestions; // names "pic.png" and "sub/Other.GIF"
extern const char* const Settings;

// A fresh temporary folder, removed with everything in it when the object goes.
class TPackFolder {
public:
    // program: the bytes of the player without resources; resources: what it carries.
    TPackFolder(const std::string& program, const TResourceList& resources);

    std::string Path(const std::string& name) const { return Root / name; }
    std::vector<std::string> Names() const; // every entry of the folder, sorted
    TPackOptions Options() const;           // the files below, output "out/player"

    TScratchFolder Root;
    std::string Program;
    TResourceList PlayerResources;
};

// The DTDs as the program carries them, from the source tree's resources folder.
TResourceList ProgramDtds();

} // namespace stellik::testing
