#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace stellik {

std::string GetTempFolder() {
    const char* env = std::getenv("TMPDIR");
    std::string folder = (env != nullptr && env[0] != '\0') ? env : "/tmp";
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return {};
    }
    if (folder.back() != '/') {
        folder.push_back('/');
    }
    return folder;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

std::string GetProgramFolder() {
    std::vector<char> buffer(4096);
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (n <= 0) {
        return "./";
    }
    std::string path(buffer.data(), static_cast<size_t>(n));
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? "./" : path.substr(0, slash + 1);
}

bool CreateFileExclusive(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    close(fd);
    return true;
}

TTempFileGuard::~TTempFileGuard() {
    if (!Path.empty()) {
        std::remove(Path.c_str());
    }
}

} // namespace stellik
