#include "TestFolders.h"

#include "platform/UserFolders.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace stellik::testing {

namespace fs = std::filesystem;

std::string ScratchFolder() {
    return TemporaryHome() + "/scratch/";
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteWholeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

void TFreshFoldersTest::SetUp() {
    ASSERT_EQ(GetRoamingAppDataFolder(), DataHome()) << "GLib read the user folders too early";
    ASSERT_EQ(GetLocalAppDataFolder(), StateHome()) << "GLib read the user folders too early";
    fs::remove_all(TemporaryHome());
    fs::create_directories(ScratchFolder());
}

} // namespace stellik::testing
