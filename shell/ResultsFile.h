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
// disk. A failure removes the temporary file, leaves an earlier file of that name as it was
// and raises "Cannot create file "<path>". <reason>".
void WriteWholeFile(const std::string& path, std::string_view bytes);

// The first free name among candidate(0), candidate(1), ..., taken by creating it (empty)
// exclusively, so that two programs saving into one folder at the same moment never get the
// same name. The file is removed again when the holder goes unless Keep was called. A
// failure other than an existing name raises "Cannot create file ...".
class TReservedFile {
public:
    explicit TReservedFile(const std::function<std::string(int n)>& candidate);
    ~TReservedFile();
    TReservedFile(const TReservedFile&) = delete;
    TReservedFile& operator=(const TReservedFile&) = delete;

    const std::string& GetPath() const { return Path; }
    void Keep() { Kept = true; }

private:
    std::string Path;
    bool Kept = false;
};

} // namespace stellik
