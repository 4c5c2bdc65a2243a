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

std::string GetDocumentsFolder() {
    const char* documents = g_get_user_special_dir(G_USER_DIRECTORY_DOCUMENTS);
    const bool present = documents != nullptr && g_file_test(documents, G_FILE_TEST_IS_DIR);
    return WithoutTrailingSlash(present ? documents : g_get_home_dir());
}

bool ForceDirectories(const std::string& path) {
    return !path.empty() && g_mkdir_with_parents(path.c_str(), 0700) == 0;
}

} // namespace stellik
