#include "tests/support/TemporaryHome.h"

#include <cstdlib>
#include <filesystem>

namespace stellik::testing {

namespace {

// A fresh folder under the temporary folder; no test may fall back to a shared one.
std::string MakeFolder(const char* pattern) {
    std::string path = (std::filesystem::temp_directory_path() / pattern).string();
    if (mkdtemp(path.data()) == nullptr) {
        std::abort();
    }
    return path;
}

class TTemporaryHome {
public:
    TTemporaryHome()
        : Root(MakeFolder("stellik-home-XXXXXX")), Temp(MakeFolder("stellik-tmp-XXXXXX")) {
        setenv("HOME", Root.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (Root + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (Root + "/data").c_str(), 1);
        setenv("XDG_STATE_HOME", (Root + "/state").c_str(), 1);
        setenv("XDG_CACHE_HOME", (Root + "/cache").c_str(), 1);
        // Others may pass through, as through the shared one: a test that drops to another
        // user still reaches the files it made in there.
        std::filesystem::permissions(Temp, std::filesystem::perms(0755));
        setenv("TMPDIR", Temp.c_str(), 1);
    }
    ~TTemporaryHome() {
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
        std::filesystem::remove_all(Temp, ignored);
    }
    TTemporaryHome(const TTemporaryHome&) = delete;
    TTemporaryHome& operator=(const TTemporaryHome&) = delete;

    std::string Root;
    std::string Temp; // beside the home, so that emptying the home leaves it
};

// Made during static initialisation, before any test can ask GLib for a folder.
const TTemporaryHome Home;

} // namespace

const std::string& TemporaryHome() {
    return Home.Root;
}

std::string DataHome() {
    return Home.Root + "/data";
}

std::string StateHome() {
    return Home.Root + "/state";
}

void EmptyTemporaryHome() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(Home.Root, ignored)) {
        std::filesystem::remove_all(entry.path(), ignored);
    }
}

} // namespace stellik::testing
