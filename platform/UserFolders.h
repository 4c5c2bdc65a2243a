// platform/UserFolders.h -- the user's application-data folders
#pragma once

#include <string>

namespace stellik {

// The folder for data that follows the user (the XDG data folder), without a trailing "/";
// empty when it cannot be determined.
std::string GetRoamingAppDataFolder();

// The folder for data that stays on this machine (the XDG state folder), without a trailing
// "/"; empty when it cannot be determined.
std::string GetLocalAppDataFolder();

// Where the user keeps documents (the XDG documents folder) when it exists, else the home
// folder; without a trailing "/".
std::string GetDocumentsFolder();

// Creates path with every missing level (mode 0700: the folders hold personal data).
// True when the folder exists afterwards.
bool ForceDirectories(const std::string& path);

} // namespace stellik
