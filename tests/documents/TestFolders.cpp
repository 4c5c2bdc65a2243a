#include "TestFolders.h"

#include "platform/Files.h"
#include "platform/UserFolders.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace stellik::tests {

namespace fs = std::filesystem;

namespace {

struct TTemporaryHome {
    std::string Root;

    TTemporaryHome() {
        std::string pattern = GetTempFolder() + "stellik-settings-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            Root = pattern;
            setenv("XDG_DATA_HOME", (Root + "/data").c_str(), 1);
            setenv("XDG_STATE_HOME", (Root + "/state").c_str(), 1);
        }
    }
    ~TTemporaryHome() {
        if (!Root.empty()) {
            std::error_code ignored;
            fs::remove_all(Root, ignored);
        }
    }
    TTemporaryHome(const TTemporaryHome&) = delete;
    TTemporaryHome& operator=(const TTemporaryHome&) = delete;
};

// Made during static initialisation, before any test can ask GLib for a folder.
const TTemporaryHome Home;

} // namespace

std::string DataHome() {
    return Home.Root + "/data";
}
std::string StateHome() {
    return Home.Root + "/state";
}
std::string ScratchFolder() {
    return Home.Root + "/scratch/";
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
    ASSERT_FALSE(Home.Root.empty()) << "no temporary folder";
    ASSERT_EQ(GetRoamingAppDataFolder(), DataHome()) << "GLib read the user folders too early";
    ASSERT_EQ(GetLocalAppDataFolder(), StateHome()) << "GLib read the user folders too early";
    fs::remove_all(Home.Root);
    fs::create_directories(ScratchFolder());
}

} // namespace stellik::tests
