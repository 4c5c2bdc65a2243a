#include "platform/Files.h"

#include "platform/GLibHandles.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace stellik {

TFileDescriptor::~TFileDescriptor() {
    if (Fd >= 0) {
        close(Fd);
    }
}

bool TFileDescriptor::Close() {
    const int fd = Fd;
    Fd = -1;
    return close(fd) == 0;
}

TRegularFileContent ReadRegularFile(const std::string& path, bool followLinks) {
    using TStatus = TRegularFileContent::TStatus;
    TRegularFileContent result;
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLinks ? 0 : O_NOFOLLOW);
    const TFileDescriptor file(open(path.c_str(), flags));
    struct stat st {};
    if (!file.IsOpen() || fstat(file.Get(), &st) != 0) {
        result.Error = errno;
        result.Status = result.Error == ENOENT                  ? TStatus::Missing
                        : !followLinks && result.Error == ELOOP ? TStatus::NotRegular
                                                                : TStatus::Failed;
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.Status = TStatus::NotRegular;
        return result;
    }
    // The size is a hint: a file that grows meanwhile is read to its end all the same.
    result.Bytes.resize(static_cast<size_t>(st.st_size) + 1);
    size_t size = 0;
    for (;;) {
        if (size == result.Bytes.size()) {
            result.Bytes.resize(size * 2);
        }
        const ssize_t n = read(file.Get(), result.Bytes.data() + size, result.Bytes.size() - size);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            result.Error = errno;
            result.Bytes.clear();
            return result;
        }
        if (n == 0) {
            break;
        }
        size += static_cast<size_t>(n);
    }
    result.Bytes.resize(size);
    result.Status = TStatus::Read;
    return result;
}

std::optional<std::string> LinkChainEnd(const std::string& path) {
    constexpr int maxLinkHops = 40; // as many links as the kernel follows in one path
    std::string current = path;
    for (int hop = 0; hop < maxLinkHops; ++hop) {
        const GCharPtr target(g_file_read_link(current.c_str(), nullptr));
        if (!target) {
            return current;
        }
        if (g_path_is_absolute(target.get())) {
            current = target.get();
        } else {
            const GCharPtr folder(g_path_get_dirname(current.c_str()));
            current = std::string(folder.get()) + "/" + target.get();
        }
    }
    return std::nullopt;
}

std::string NotRegularFileMessage(const std::string& path) {
    return path + " is not a regular file";
}

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
