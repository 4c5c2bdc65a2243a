#include "tests/support/TemporaryHome.h"

#include <cstdlib>
#include <filesystem>

namespace stellik::testing {

namespace {

class TTemporaryHome {
public:
    TTemporaryHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "stellik-home-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::abort(); // no test may fall back to the real home
        }
        Root = pattern;
        setenv("HOME", Root.c_str(), 1);
        setenv("XDG_CONFIG_HOME", (Root + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (Root + "/data").c_str(), 1);
        setenv("XDG_STATE_HOME", (Root + "/state").c_str(), 1);
    }
    ~TTemporaryHome() {
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
    }
    TTemporaryHome(const TTemporaryHome&) = delete;
    TTemporaryHome& operator=(const TTemporaryHome&) = delete;

    std::string Root;
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
