// platform/Files.h -- file system queries the program needs
#pragma once

#include <optional>
#include <string>

namespace stellik {

// An open file descriptor, closed when it goes.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : Fd(fd) {}
    ~TFileDescriptor();
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    int Get() const { return Fd; }
    bool IsOpen() const { return Fd >= 0; }
    // Closes now; false (errno set) when a delayed write error shows up.
    bool Close();

private:
    int Fd;
};

// What reading a file that should be a regular one came to.
struct TRegularFileContent {
    enum class TStatus { Read, Missing, NotRegular, Failed };
    TStatus Status = TStatus::Failed;
    int Error = 0; // errno for Missing and Failed
    std::string Bytes;
};

// The whole content of the regular file at path. The file is opened without waiting (a named
// pipe would wait for a writer, a device for its hardware) and checked before a byte is read,
// so that anything but a regular file is NotRegular and never read. Unless followLinks, a
// symbolic link is not followed and is NotRegular too.
TRegularFileContent ReadRegularFile(const std::string& path, bool followLinks);

// The file a chain of symbolic links at path ends at (path itself when it is no link); that file
// need not exist yet. Writing there instead of at path keeps the link and changes what the user
// meant by the name. Nothing when the chain is longer than the kernel follows (ELOOP).
std::optional<std::string> LinkChainEnd(const std::string& path);

// "<path> is not a regular file".
std::string NotRegularFileMessage(const std::string& path);

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
    // The file stays: it has become what it was made for.
    void Keep() { Path.clear(); }

private:
    std::string Path;
};

} // namespace stellik
