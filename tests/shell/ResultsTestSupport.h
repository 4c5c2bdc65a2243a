// tests/shell/ResultsTestSupport.h -- a scratch folder for the results file tests
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace stellik::test {

// A fresh folder under the temporary folder, removed with everything in it at the end.
class TScratchFolder {
public:
    TScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "stellik-results-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            Folder = pattern;
        }
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
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string Read(const std::string& name) const {
        std::ifstream file(*this / name, std::ios::binary);
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

} // namespace stellik::test
