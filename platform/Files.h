// platform/Files.h -- file system queries the program needs
#pragma once

#include <string>

namespace stellik {

// The user's temporary folder with a trailing "/" (TMPDIR, else /tmp/); empty if none.
std::string GetTempFolder();

// True for an existing file; a directory does not count.
bool FileExists(const std::string& path);

// The folder of the running executable, with a trailing "/".
std::string GetProgramFolder();

// Creates path exclusively (fails when anything exists under that name), mode 0600.
bool CreateFileExclusive(const std::string& path);

// RAII: removes the named file when it goes out of scope.
class TTempFileGuard {
public:
    explicit TTempFileGuard(std::string path) : Path(std::move(path)) {}
    ~TTempFileGuard();
    TTempFileGuard(const TTempFileGuard&) = delete;
    TTempFileGuard& operator=(const TTempFileGuard&) = delete;
    const std::string& GetPath() const { return Path; }

private:
    std::string Path;
};

} // namespace stellik
