// stellik-pack as a command: exit codes and one-line errors, and a player that runs.
#include "PackTestSupport.h"

#include "platform/ResourceArchive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>

namespace stellik::testing {
namespace {

struct TCommandResult {
    int ExitCode = -1;
    std::string Errors;
};

TCommandResult RunCommand(const TPackFolder& folder, const std::string& command) {
    const std::string errors = folder.Path("errors.txt");
    const int status = std::system((command + " >/dev/null 2>" + errors).c_str());
    TCommandResult result{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(errors)};
    std::remove(errors.c_str());
    return result;
}

std::string PackCommand(const TPackOptions& o) {
    return std::string(STELLIK_PACK_PROGRAM) + " --test '" + o.Test + "' --settings '" +
           o.Settings + "' --pictures '" + o.Pictures + "' --player '" + o.Player + "' --output '" +
           o.Output + "'";
}

TEST(PackCommand, MakesAPlayerThatRunsAndReadsItsTest) {
    // The player is the probe, which checks the resources of its own file when it runs.
    const TPackFolder folder(ReadFile(STELLIK_PROBE_PROGRAM), ProgramDtds());
    const TPackOptions options = folder.Options();
    const TCommandResult pack = RunCommand(folder, PackCommand(options));
    EXPECT_EQ(pack.ExitCode, 0);
    EXPECT_EQ(pack.Errors, "");
    const TCommandResult run = RunCommand(folder, "'" + options.Output + "'");
    EXPECT_EQ(run.ExitCode, 0) << run.Errors;
}

// One bit flipped in a resource's bytes: the player that reads it says its archive is damaged
// instead of going on with other bytes, and so does the packing tool that copies it.
TEST(PackCommand, AFlippedBitInAResourceIsFoundWhenItIsRead) {
    const TPackFolder folder(ReadFile(STELLIK_PROBE_PROGRAM), ProgramDtds());
    TPackOptions options = folder.Options();
    ASSERT_EQ(RunCommand(folder, PackCommand(options)).ExitCode, 0);
    std::string player = ReadFile(options.Output);
    const std::string_view playerView = player;
    for (const TResourceEntry& entry : ParseResourceArchive(playerView).Entries) {
        if (entry.Name == "DVCF") {
            const size_t at = static_cast<size_t>(entry.Bytes.data() - playerView.data());
            player[at + entry.Bytes.size() / 2] ^= 0x10;
        }
    }
    WriteFile(options.Output, player);
    chmod(options.Output.c_str(), 0755);
    const TCommandResult run = RunCommand(folder, "'" + options.Output + "'");
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Errors, "resource probe: Damaged resource archive\n");

    options.Player = options.Output;
    options.Output = folder.Path("out/again");
    const TCommandResult repack = RunCommand(folder, PackCommand(options));
    EXPECT_EQ(repack.ExitCode, 1);
    EXPECT_EQ(repack.Errors, "stellik-pack: " + options.Player + ": Damaged resource archive\n");
}

TEST(PackCommand, ReportsABadInputOnOneLineAndFails) {
    const TPackFolder folder("program", ProgramDtds());
    TPackOptions options = folder.Options();
    options.Pictures = folder.Path("settings.xml");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {std::string(STELLIK_PACK_PROGRAM) + " --test x.xml",
         "stellik-pack: Missing option --settings\n"},
        {PackCommand(options), "stellik-pack: Picture pic.png not found: no file " +
                                   folder.Path("settings.xml") + "/pic.png\n"},
    };
    for (const auto& [command, message] : cases) {
        const TCommandResult result = RunCommand(folder, command);
        EXPECT_EQ(result.ExitCode, 1) << command;
        EXPECT_EQ(result.Errors, message);
    }
}

} // namespace
} // namespace stellik::testing
