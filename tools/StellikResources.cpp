// stellik-resources: the build's step that appends resources to a linked program.
//
//   stellik-resources OUTPUT PROGRAM NAME=FILE...
//
// Writes OUTPUT (mode 0755): PROGRAM's bytes without any resources it carries, then the
// named files as its resources.
#include "platform/Resources.h"
#include "tools/pack/PackFiles.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

int main(int argc, char** argv) {
    try {
        if (argc < 3) {
            std::fputs("Usage: stellik-resources OUTPUT PROGRAM NAME=FILE...\n", stderr);
            return 2;
        }
        std::vector<std::pair<std::string, std::string>> resources;
        for (int i = 3; i < argc; ++i) {
            const std::string arg = argv[i];
            const size_t equals = arg.find('=');
            if (equals == std::string::npos) {
                throw std::runtime_error("Not NAME=FILE: " + arg);
            }
            resources.emplace_back(arg.substr(0, equals),
                                   stellik::ReadInputFile(arg.substr(equals + 1)));
        }
        stellik::WriteFileAtomically(
            argv[1], stellik::AppendResources(stellik::ReadInputFile(argv[2]), resources), 0755);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "stellik-resources: %s\n", e.what());
        return 1;
    }
}
