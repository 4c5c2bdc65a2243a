// tests/support/ScratchFolder.h -- a folder of one test's own for the files it makes
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace stellik::testing {

// A fresh, uniquely named folder under the temporary folder, removed with everything in it at
// the end. Throws when none can be made: a test never goes on with an empty path, whose names
// would land in the file system's root.
class TScratchFolder {
public:
    TScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "stellik-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch folder " + pattern);
        }
        Folder = pattern;
    }
    ~TScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::string& Path() const { return Folder; }
    std::string operator/(const std::string& name) const { return Folder + "/" + name; }

    // The names in the folder, sorted (hidden ones included).
    std::vector<std::string> Names() const { return List(Folder); }
    static std::vector<std::string> List(const std::string& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string Read(const std::string& name) const { return ReadPath(*this / name); }
    static std::string ReadPath(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(*this / name, std::ios::binary) << bytes;
    }

private:
    std::string Folder;
};

} // namespace stellik::testing
