#include "shell/ResultsFile.h"

#include "platform/Exception.h"
#include "platform/GLibHandles.h"

#include <fcntl.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

namespace stellik {

namespace {

[[noreturn]] void ThrowCreateError(const std::string& path, int error) {
    throw Exception("Cannot create file \"" + path + "\". " + g_strerror(error));
}

// The temporary file being written: closed, and removed unless it was renamed into place.
class TTemporaryFile {
public:
    TTemporaryFile(std::string path, int fd) : Path(std::move(path)), Fd(fd) {}
    ~TTemporaryFile() {
        if (Fd >= 0) {
            close(Fd);
        }
        if (!Path.empty()) {
            unlink(Path.c_str());
        }
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    int GetFd() const { return Fd; }
    const std::string& GetPath() const { return Path; }
    // Closes the file; false (errno set) when the data may not have reached the disk.
    bool Close() {
        const int fd = Fd;
        Fd = -1;
        return close(fd) == 0;
    }
    void Release() { Path.clear(); } // renamed: nothing to remove

private:
    std::string Path;
    int Fd;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            errno = n == 0 ? EIO : errno; // a regular file takes at least one byte or fails
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    const GCharPtr folder(g_path_get_dirname(path.c_str()));
    // A short name of its own: the final name may already be as long as names can be.
    std::string pattern = std::string(folder.get()) + "/.stellik-XXXXXX";
    const int fd = g_mkstemp_full(pattern.data(), O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) {
        ThrowCreateError(path, errno);
    }
    TTemporaryFile temporary(pattern, fd);
    struct stat earlier {};
    if (stat(path.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode)) {
        fchmod(fd, earlier.st_mode & 07777); // replacing keeps who may read the file
    }
    if (!WriteAll(fd, bytes) || fsync(fd) != 0 || !temporary.Close() ||
        rename(temporary.GetPath().c_str(), path.c_str()) != 0) {
        ThrowCreateError(path, errno);
    }
    temporary.Release();
}

TReservedFile::TReservedFile(const std::function<std::string(int n)>& candidate) {
    for (int n = 0;; ++n) {
        std::string path = candidate(n);
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            close(fd);
            Path = std::move(path);
            return;
        }
        if (errno != EEXIST) {
            ThrowCreateError(path, errno);
        }
    }
}

TReservedFile::~TReservedFile() {
    if (!Kept) {
        unlink(Path.c_str());
    }
}

} // namespace stellik
