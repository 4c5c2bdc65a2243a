#include "tools/pack/PackFiles.h"

#include "platform/Exception.h"
#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

namespace stellik {

namespace {

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
    TRegularFileContent file = ReadRegularFile(path, true);
    switch (file.Status) {
    case TRegularFileContent::TStatus::Read:
        return std::move(file.Bytes);
    case TRegularFileContent::TStatus::NotRegular:
        throw Exception(NotRegularFileMessage(path));
    default:
        ThrowFileError("read", path, file.Error);
    }
}

void WriteFileAtomically(const std::string& path, std::string_view bytes, mode_t mode) {
    WriteFileAtomically(path, std::span<const std::string_view>(&bytes, 1), mode);
}

void WriteFileAtomically(const std::string& path, std::span<const std::string_view> pieces,
                         mode_t mode) {
    const std::optional<std::string> linkEnd = LinkChainEnd(path);
    if (!linkEnd) {
        ThrowFileError("write", path, ELOOP);
    }
    // Checked without opening it, so that a named pipe is never waited on.
    struct stat existing {};
    if (lstat(linkEnd->c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        throw Exception(NotRegularFileMessage(path));
    }
    const std::filesystem::path target(*linkEnd);
    std::string pattern =
        (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    TFileDescriptor file(::mkostemp(pattern.data(), O_CLOEXEC));
    if (file.Get() < 0) {
        ThrowFileError("write", path, errno);
    }
    TTempFileGuard pending(pattern); // until it has taken the target's name
    bool written = true;
    for (const std::string_view piece : pieces) {
        written = written && WriteAll(file.Get(), piece);
    }
    if (!written || ::fchmod(file.Get(), mode) != 0 || !file.Close() ||
        std::rename(pending.GetPath().c_str(), linkEnd->c_str()) != 0) {
        ThrowFileError("write", path, errno);
    }
    pending.Keep();
}

} // namespace stellik
