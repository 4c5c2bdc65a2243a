#include "platform/UserFolders.h"

#include <glib.h>
#include <glib/gstdio.h>

namespace stellik {

namespace {

std::string WithoutTrailingSlash(const char* folder) {
    std::string result = folder != nullptr ? folder : "";
    while (result.size() > 1 && result.back() == '/') {
        result.pop_back();
    }
    return result;
}

} // namespace

std::string GetRoamingAppDataFolder() {
    return WithoutTrailingSlash(g_get_user_data_dir());
}

std::string GetLocalAppDataFolder() {
    return WithoutTrailingSlash(g_get_user_state_dir());
}

bool ForceDirectories(const std::string& path) {
    return !path.empty() && g_mkdir_with_parents(path.c_str(), 0700) == 0;
}

} // namespace stellik
