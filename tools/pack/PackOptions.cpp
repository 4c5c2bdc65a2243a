#include "tools/pack/PackOptions.h"

#include "platform/Exception.h"

#include <filesystem>
#include <map>

namespace stellik {

const char* const PackUsage =
    "Usage: stellik-pack --test FILE --settings FILE --output FILE [--pictures FOLDER]\n"
    "                    [--player FILE]\n"
    "Writes a copy of a player that carries the given test, its settings and its pictures,\n"
    "encrypted for a key pair of its own.\n"
    "  --test FILE        the test document\n"
    "  --settings FILE    the test's settings document\n"
    "  --output FILE      the player to write (made executable)\n"
    "  --pictures FOLDER  the folder the pictures' names are relative to\n"
    "                     (default: the test document's folder)\n"
    "  --player FILE      the player to copy (default: stellik beside this program)\n";

namespace {

std::string Absolute(const std::string& path) {
    return std::filesystem::absolute(path).lexically_normal().string();
}

} // namespace

TPackOptions ParsePackArguments(const std::vector<std::string>& args,
                                const std::string& programFolder) {
    TPackOptions options;
    std::map<std::string, std::string*> fields = {
        {"--test", &options.Test},         {"--settings", &options.Settings},
        {"--pictures", &options.Pictures}, {"--player", &options.Player},
        {"--output", &options.Output},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            options.Help = true;
            return options;
        }
        const auto field = fields.find(arg);
        if (field == fields.end()) {
            throw Exception(arg.starts_with("-") ? "Unknown option " + arg
                                                 : "Unexpected argument " + arg);
        }
        if (i + 1 == args.size() || args[i + 1].empty()) {
            throw Exception("Option " + arg + " needs a value");
        }
        if (!field->second->empty()) {
            throw Exception("Option " + arg + " is given twice");
        }
        *field->second = Absolute(args[++i]);
    }
    for (const char* required : {"--test", "--settings", "--output"}) {
        if (fields[required]->empty()) {
            throw Exception(std::string("Missing option ") + required);
        }
    }
    if (options.Pictures.empty()) {
        options.Pictures = std::filesystem::path(options.Test).parent_path().string();
    }
    if (options.Player.empty()) {
        options.Player = Absolute(programFolder + "stellik");
    }
    return options;
}

} // namespace stellik
