// shell/ResultsFile.h -- writing results files so that none is ever half-written or lost
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace stellik {

// True for an existing folder (a link to one counts).
bool DirectoryExists(const std::string& path);

// Writes bytes as the whole content of path, created or replaced: they go to a temporary
// file in the same folder, which takes the place of path only once it is complete and on
// disk. A path that is a symbolic link writes the file the link points to; the link stays.
// In a folder where no temporary file can be made, an existing file that may be written is
// overwritten in place instead. A failure removes the temporary file, leaves an earlier file
// of that name as it was (when it was written in place: as it was, unless the disk failed
// after room for the new content had been found) and raises
// "Cannot create file "<path>". <reason>".
void WriteWholeFile(const std::string& path, std::string_view bytes);

// Writes bytes under the first free name among candidate(0), candidate(1), ... (all in one
// folder) and returns that name. The bytes go to a temporary file first, complete and on disk,
// which then gets the name in one step that replaces nothing, so that a crash leaves either
// no file or the whole one under the name, and two programs saving into one folder at the same
// moment never get the same name. A failure other than a name in use leaves nothing behind
// and raises "Cannot create file ..." with the name it concerns.
std::string WriteNewFile(const std::function<std::string(int n)>& candidate,
                         std::string_view bytes);

} // namespace stellik
