#include "package/PrivateFolder.h"

#include "platform/Exception.h"
#include "platform/Files.h"

#include <fcntl.h>
#include <glib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace stellik {

namespace {

// Checked and narrowed through one descriptor, so the folder looked at is the one changed.
bool NarrowOpened(int fd, mode_t mode, const std::string& path) {
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        return false;
    }
    if (st.st_uid != geteuid()) {
        throw Exception("The key container folder " + path + " belongs to another user");
    }
    return (st.st_mode & 07777) == mode || fchmod(fd, mode) == 0;
}

} // namespace

TPrivateFolder PreparePrivateFolder(const std::string& folder, bool create) {
    std::string path = folder;
    while (path.size() > 1 && path.back() == '/') {
        path.pop_back(); // with a trailing "/" a link would be followed
    }
    if (create && g_mkdir_with_parents(path.c_str(), 0700) != 0) {
        return TPrivateFolder::Failed;
    }
    const TFileDescriptor fd(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd.IsOpen()) {
        return errno == ENOENT ? TPrivateFolder::Missing : TPrivateFolder::Failed;
    }
    return NarrowOpened(fd.Get(), 0700, path) ? TPrivateFolder::Ready : TPrivateFolder::Failed;
}

} // namespace stellik
