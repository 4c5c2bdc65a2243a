#include "tools/pack/PackFiles.h"

#include "platform/Exception.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace stellik {

namespace {

// An open file descriptor, closed when it goes.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : Fd(fd) {}
    ~TFileDescriptor() {
        if (Fd >= 0) {
            ::close(Fd);
        }
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    int Get() const { return Fd; }
    // Closes now, reporting the result (a delayed write error shows up here).
    bool Close() {
        const int fd = Fd;
        Fd = -1;
        return ::close(fd) == 0;
    }

private:
    int Fd;
};

// The temporary file until it has taken the target's name.
class TPendingFile {
public:
    explicit TPendingFile(std::string path) : Path(std::move(path)) {}
    ~TPendingFile() {
        if (!Path.empty()) {
            std::remove(Path.c_str());
        }
    }
    TPendingFile(const TPendingFile&) = delete;
    TPendingFile& operator=(const TPendingFile&) = delete;
    const std::string& GetPath() const { return Path; }
    void Kept() { Path.clear(); }

private:
    std::string Path;
};

[[noreturn]] void ThrowFileError(const char* verb, const std::string& path, int error) {
    throw Exception(std::string("Cannot ") + verb + " " + path + ": " + std::strerror(error));
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

} // namespace

std::string ReadInputFile(const std::string& path) {
    TFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0) {
        ThrowFileError("read", path, errno);
    }
    if (!S_ISREG(info.st_mode)) {
        throw Exception("Cannot read " + path + ": not a regular file");
    }
    // Read straight into place, in one piece as a rule; a file that grows meanwhile is read on.
    std::string bytes(static_cast<size_t>(info.st_size) + 1, '\0');
    size_t done = 0;
    for (;;) {
        if (done == bytes.size()) {
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t n = ::read(file.Get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            ThrowFileError("read", path, errno);
        }
        if (n == 0) {
            bytes.resize(done);
            return bytes;
        }
        done += static_cast<size_t>(n);
    }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, mode_t mode) {
    WriteFileAtomically(path, {bytes}, mode);
}

void WriteFileAtomically(const std::string& path, std::initializer_list<std::string_view> pieces,
                         mode_t mode) {
    const std::filesystem::path target(path);
    std::string pattern =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    TFileDescriptor file(::mkostemp(pattern.data(), O_CLOEXEC));
    if (file.Get() < 0) {
        ThrowFileError("write", path, errno);
    }
    TPendingFile pending(pattern);
    bool written = true;
    for (const std::string_view piece : pieces) {
        written = written && WriteAll(file.Get(), piece);
    }
    if (!written || ::fchmod(file.Get(), mode) != 0 || !file.Close() ||
        std::rename(pending.GetPath().c_str(), path.c_str()) != 0) {
        ThrowFileError("write", path, errno);
    }
    pending.Kept();
}

} // namespace stellik
