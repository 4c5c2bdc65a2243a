#include "shell/ResultsFile.h"

#include "platform/Exception.h"
#include "platform/Files.h"
#include "platform/GLibHandles.h"

#include <fcntl.h>
#include <glib.h>
#include <glib/gstdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>

namespace stellik {

namespace {

[[noreturn]] void ThrowCreateError(const std::string& path, int error) {
    throw Exception("Cannot create file \"" + path + "\". " + g_strerror(error));
}

std::string FolderOf(const std::string& path) {
    const GCharPtr folder(g_path_get_dirname(path.c_str()));
    return folder.get();
}

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

// A new file in a folder, removed when it goes unless it was renamed into place.
class TTemporaryFile {
public:
    // IsOpen tells whether one could be made (errno set when not).
    explicit TTemporaryFile(const std::string& folder)
        // A short name of its own: the final name may already be as long as names can be.
        : Path(folder + "/.stellik-XXXXXX"),
          File(g_mkstemp_full(Path.data(), O_WRONLY | O_CLOEXEC, 0666)) {
        if (!File.IsOpen()) {
            Path.clear();
        }
    }
    ~TTemporaryFile() {
        if (!Path.empty()) {
            unlink(Path.c_str());
        }
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    bool IsOpen() const { return File.IsOpen(); }
    int GetFd() const { return File.Get(); }
    const std::string& GetPath() const { return Path; }

    // Writes bytes as the whole content, on disk, and closes; false (errno set) on failure.
    bool Finish(std::string_view bytes) {
        return WriteAll(File.Get(), bytes) && fsync(File.Get()) == 0 && File.Close();
    }

    // Gives the file the name target where nothing has it yet: false (errno EEXIST) when
    // something has. A hard link is tried first; on a file system without hard links a
    // rename that refuses to replace anything does the same.
    bool TakeFreeName(const std::string& target) {
        if (!NoHardLinks) {
            if (link(Path.c_str(), target.c_str()) == 0) {
                return true; // the temporary name goes with this object
            }
            if (errno != EPERM && errno != EOPNOTSUPP && errno != ENOSYS) {
                return false;
            }
            NoHardLinks = true;
        }
        if (renameat2(AT_FDCWD, Path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) != 0) {
            return false;
        }
        Path.clear();
        return true;
    }

    // Gives the file the name target, replacing whatever file had it.
    bool Replace(const std::string& target) {
        if (rename(Path.c_str(), target.c_str()) != 0) {
            return false;
        }
        Path.clear();
        return true;
    }

private:
    std::string Path;
    TFileDescriptor File;
    bool NoHardLinks = false;
};

// Overwrites the existing regular file path in place: the only way left in a folder where no
// file can be made. Room for the new content is taken before a byte is changed, where the
// file system can say, so that a full disk leaves the earlier content whole. False with
// errno 0 when path is no regular file this process may write, else with the failure's.
bool OverwriteInPlace(const std::string& path, std::string_view bytes) {
    TFileDescriptor file(open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!file.IsOpen() || fstat(file.Get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        errno = 0;
        return false;
    }
    const auto size = static_cast<off_t>(bytes.size());
    if (size > 0 && fallocate(file.Get(), FALLOC_FL_KEEP_SIZE, 0, size) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        return false;
    }
    return WriteAll(file.Get(), bytes) && ftruncate(file.Get(), size) == 0 &&
           fsync(file.Get()) == 0 && file.Close();
}

} // namespace

bool DirectoryExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void WriteWholeFile(const std::string& path, std::string_view bytes) {
    const std::optional<std::string> link = LinkChainEnd(path);
    if (!link) {
        ThrowCreateError(path, ELOOP);
    }
    const std::string& target = *link;
    TTemporaryFile temporary(FolderOf(target));
    if (!temporary.IsOpen()) {
        const int error = errno;
        if (OverwriteInPlace(target, bytes)) {
            return;
        }
        ThrowCreateError(path, errno != 0 ? errno : error);
    }
    struct stat earlier {};
    if (stat(target.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode)) {
        fchmod(temporary.GetFd(), earlier.st_mode & 07777); // replacing keeps who may read it
    }
    if (!temporary.Finish(bytes) || !temporary.Replace(target)) {
        ThrowCreateError(path, errno);
    }
}

std::string WriteNewFile(const std::function<std::string(int n)>& candidate,
                         std::string_view bytes) {
    std::string path = candidate(0);
    TTemporaryFile temporary(FolderOf(path));
    if (!temporary.IsOpen() || !temporary.Finish(bytes)) {
        ThrowCreateError(path, errno);
    }
    for (int n = 1; !temporary.TakeFreeName(path); ++n) {
        if (errno != EEXIST) {
            ThrowCreateError(path, errno);
        }
        path = candidate(n);
    }
    return path;
}

} // namespace stellik
