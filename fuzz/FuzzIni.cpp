// The examinee's ini file as another program or a person may have left it: read as the player
// reads it, then rewritten with one key changed. A rewrite keeps what could be read before.
#include "documents/UserSettings.h"
#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "tests/support/TemporaryHome.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace stellik;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = testing::TemporaryHome() + "/Stellik.ini";
    std::filesystem::remove(path + ".bak");
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    TIniFile ini(path);
    TUserSettings before;
    before.Load(ini);

    TUserSettings changed;
    changed.Load(ini);
    changed.Patronymic = "Петрович";
    changed.SaveInfo = true;
    try {
        changed.Save(ini);
    } catch (const EIniFileException&) {
        return 0; // a file we may not replace: the player shows the message
    }
    TUserSettings after;
    after.Load(ini);
    // A damaged file is set aside as ".bak" and started afresh; any other keeps its entries.
    const bool setAside = std::filesystem::exists(path + ".bak");
    // A lone carriage return read inside a value ends it when written back.
    const auto line = [](const std::string& value) { return value.substr(0, value.find('\r')); };
    const bool kept = after.FirstName == line(before.FirstName) &&
                      after.LastName == line(before.LastName) && after.AddInfo == before.AddInfo;
    if (after.Patronymic != "Петрович" || (!kept && !setAside)) {
        std::abort();
    }
    return 0;
}
