// tests/shell/ResultsTestSupport.h -- a scratch folder and a full disk for the results file tests
#pragma once

#include <stdlib.h>
#include <sys/resource.h>

#include <csignal>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace stellik::testing {

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

// Files may grow to limit bytes while it lives: writing beyond fails (EFBIG), as on a full
// disk, instead of killing the process.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t limit) {
        getrlimit(RLIMIT_FSIZE, &Previous);
        PreviousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = Previous;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~TFileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &Previous);
        std::signal(SIGXFSZ, PreviousHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit Previous{};
    void (*PreviousHandler)(int) = nullptr;
};

} // namespace stellik::testing
