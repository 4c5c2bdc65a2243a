// stellik-pack as a command: exit codes and one-line errors, and a player that runs.
#include "PackTestSupport.h"

#include "platform/Files.h"
#include "platform/ResourceArchive.h"
#include "tests/support/HangGuard.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

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

// What a name stands for: the entry itself and what it leads to, so that a replaced link, pipe
// or device shows even when a regular file of the same name took its place.
std::string Identity(const std::string& path) {
    struct stat own {};
    struct stat reached {};
    const bool hasOwn = lstat(path.c_str(), &own) == 0;
    const bool reaches = stat(path.c_str(), &reached) == 0;
    return std::to_string(hasOwn) + ":" + std::to_string(own.st_ino) + ":" +
           std::to_string(own.st_mode) + " -> " + std::to_string(reaches) + ":" +
           std::to_string(reached.st_ino) + ":" + std::to_string(reached.st_mode) + ":" +
           std::to_string(reached.st_rdev) + ":" + std::to_string(reached.st_size);
}

// A character device like the null device at path; false where nodes cannot be made.
bool MakeNullDevice(const std::string& path) {
    return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

// A listening socket bound to path, closed when it goes.
class TBoundSocket {
public:
    explicit TBoundSocket(const std::string& path) : Socket(socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof(address.sun_path) - 1);
        EXPECT_EQ(bind(Socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)),
                  0)
            << path;
    }

private:
    TFileDescriptor Socket;
};

// Something other than a file under the output's name, or at the end of a link there, is no
// player to replace: the tool refuses it, changes nothing and does not wait on a pipe.
TEST(PackCommand, AnOutputThatIsNoRegularFileIsRefusedAndLeftAsItWas) {
    const TPackFolder folder(ReadFile(STELLIK_PROBE_PROGRAM), ProgramDtds());
    TPackOptions options = folder.Options();
    const std::string& output = options.Output;
    const std::string device = folder.Path("device");
    std::unique_ptr<TBoundSocket> socket;
    struct TCase {
        const char* what;
        std::function<bool()> make; // false: this machine cannot make it
    };
    const std::vector<TCase> cases = {
        {"named pipe",
         [&] {
             MakeFifo(output);
             return true;
         }},
        {"socket",
         [&] {
             socket = std::make_unique<TBoundSocket>(output);
             return true;
         }},
        {"folder", [&] { return std::filesystem::create_directory(output); }},
        {"device", [&] { return MakeNullDevice(output); }},
        // The node is the test's own, so that a tool that follows the link anyway replaces
        // nothing of the machine's.
        {"link to a device",
         [&] { return MakeNullDevice(device) && symlink(device.c_str(), output.c_str()) == 0; }},
        {"link to a named pipe",
         [&] { return symlink(MakeFifo(folder.Path("pipe")).c_str(), output.c_str()) == 0; }},
        {"relative link to a folder", [&] { return symlink("../test", output.c_str()) == 0; }},
    };
    const auto removeMade = [&] {
        socket.reset();
        for (const std::string& path : {output, device, folder.Path("pipe")}) {
            std::filesystem::remove_all(path);
        }
    };
    for (const TCase& c : cases) {
        if (!c.make()) {
            removeMade();
            continue; // a device node needs a privilege the tests may lack
        }
        const std::vector<std::string> names = folder.Names();
        const std::string before = Identity(output);
        const THangGuard guard(60);
        const TCommandResult pack = RunCommand(folder, PackCommand(options));
        EXPECT_EQ(pack.ExitCode, 1) << c.what;
        EXPECT_EQ(pack.Errors, "stellik-pack: " + output + " is not a regular file\n") << c.what;
        EXPECT_EQ(Identity(output), before) << c.what;
        EXPECT_EQ(folder.Names(), names) << c.what;
        removeMade();
    }
}

// A link under the output's name is the user's way of saying where the player goes: the file
// at its end gets the player, made or replaced, and the link stays a link.
TEST(PackCommand, AnOutputThatIsALinkWritesTheFileItPointsTo) {
    const TPackFolder folder(ReadFile(STELLIK_PROBE_PROGRAM), ProgramDtds());
    TPackOptions options = folder.Options();
    WriteFile(folder.Path("out/earlier"), "an earlier player");
    std::filesystem::create_symlink("earlier", folder.Path("out/chained"));
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"earlier", folder.Path("out/earlier")},          // a relative link to a file
        {folder.Path("out/new"), folder.Path("out/new")}, // a dangling absolute link
        {"chained", folder.Path("out/earlier")},          // a link to a link to a file
    };
    for (const auto& [linkText, file] : cases) {
        std::filesystem::remove(options.Output);
        std::filesystem::create_symlink(linkText, options.Output);
        const TCommandResult pack = RunCommand(folder, PackCommand(options));
        EXPECT_EQ(pack.ExitCode, 0) << linkText << ": " << pack.Errors;
        EXPECT_TRUE(std::filesystem::is_symlink(options.Output)) << linkText;
        EXPECT_EQ(std::filesystem::read_symlink(options.Output), linkText);
        // The probe checks the resources of the file it runs from.
        const TCommandResult run = RunCommand(folder, "'" + file + "'");
        EXPECT_EQ(run.ExitCode, 0) << linkText << ": " << run.Errors;
        WriteFile(file, "an earlier player");
    }
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
