// stellik-pack: makes a player for a given test.
#include "platform/Exception.h"
#include "platform/Files.h"
#include "tools/pack/PackOptions.h"
#include "tools/pack/PlayerPack.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// Packing needs no key container of the user's: the crypto layer's container goes into a
// temporary data folder, removed at exit. Set before anything asks GLib for the folder.
class TTemporaryDataHome {
public:
    TTemporaryDataHome() {
        std::string pattern = stellik::GetTempFolder() + "stellik-pack-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) {
            Folder = pattern;
            setenv("XDG_DATA_HOME", Folder.c_str(), 1);
        }
    }
    ~TTemporaryDataHome() {
        std::error_code ignored;
        if (!Folder.empty()) {
            std::filesystem::remove_all(Folder, ignored);
        }
    }
    TTemporaryDataHome(const TTemporaryDataHome&) = delete;
    TTemporaryDataHome& operator=(const TTemporaryDataHome&) = delete;

private:
    std::string Folder;
};

// Messages of the test reader end lines with CR LF.
std::string ForTerminal(std::string text) {
    std::erase(text, '\r');
    return text;
}

} // namespace

int main(int argc, char** argv) {
    // Number answers are read with the locale's decimal separator, as the player reads them.
    std::setlocale(LC_ALL, "");
    const TTemporaryDataHome dataHome;
    try {
        const stellik::TPackOptions options = stellik::ParsePackArguments(
            std::vector<std::string>(argv + 1, argv + argc), stellik::GetProgramFolder());
        if (options.Help) {
            std::fputs(stellik::PackUsage, stdout);
            return 0;
        }
        stellik::MakePlayer(options);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "stellik-pack: %s\n", ForTerminal(e.what()).c_str());
        return 1;
    }
}
