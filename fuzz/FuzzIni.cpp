// The examinee's ini file as another program or a person may have left it: read as the player
// reads it, then rewritten with one key changed. A rewrite keeps what could be read before,
// and every line that is not one of the examinee's keys.
#include "documents/UserSettings.h"
#include "platform/Exception.h"
#include "platform/IniFile.h"
#include "tests/support/TemporaryHome.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

using namespace stellik;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The lines a write of the examinee's data must leave alone: all but blank ones and those
// that name the section or one of its keys (wherever they stand, so as not to judge where).
std::vector<std::string_view> OtherLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r')) {
            line.remove_suffix(1); // a last line without an end gets the file's "\r\n"
        }
        std::string_view trimmed = line;
        trimmed.remove_prefix(std::min(trimmed.find_first_not_of(" \t\r"), trimmed.size()));
        bool ours = trimmed.empty();
        for (const std::string_view name :
             {"[USER_INFO", "FirstName", "LastName", "Patronymic", "AddInfo"}) {
            ours = ours || trimmed.starts_with(name);
        }
        if (!ours) {
            lines.push_back(line);
        }
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = testing::TemporaryHome() + "/Stellik.ini";
    std::filesystem::remove(path + ".bak");
    {
        std::ofstream file(path, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::string_view text(reinterpret_cast<const char*>(data), size);
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
    const std::string written = ReadAll(path);
    if (after.Patronymic != "Петрович" || (!kept && !setAside) ||
        (!setAside && OtherLines(written) != OtherLines(text))) {
        std::abort();
    }
    return 0;
}
