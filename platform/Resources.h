// platform/Resources.h -- the raw data resources the program file carries
//
// The executable carries its resources as a ZIP archive appended to its end and located by a
// trailer at the very end of the file, so that a standard ZIP tool can list them. The archive
// is read once per process: its directory when it is first asked for, and each member's bytes
// stay in memory (or mapped) for the rest of the process, so asking again costs a look-up.
#pragma once

#include "platform/MemoryStream.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace stellik {

// The program's resources. Names are matched without regard to letter case.
class TResources {
public:
    // The bytes of the resource called name; raises EResNotFound "Resource %s not found"
    // (name as asked for) when there is none. The view stays valid until the next Install or
    // UseExecutable. The first request maps the program file; one it cannot read, or whose
    // archive is damaged, raises Exception. A resource is checked against its CRC-32 when it
    // is first asked for: bytes that do not match raise "Damaged resource archive".
    static std::string_view Get(const std::string& name);
    static bool Exists(const std::string& name);
    // A new stream holding a copy of the resource's bytes, position 0.
    static TMemoryStream Open(const std::string& name);

    // Replaces the executable's resources by the given set (tests, tools).
    static void Install(std::map<std::string, std::string> resources);
    // Goes back to the resources appended to the running executable.
    static void UseExecutable();
};

// Writing resources onto an executable (the build and the packing tool). The result is the
// bytes of exe without any resource archive it already carried, then the new archive with
// every member stored (not compressed), then the trailer; no resources give exe without an
// archive. names are written as given; an empty or repeated one (case ignored) raises.
std::string AppendResources(std::string_view exe,
                            const std::vector<std::pair<std::string, std::string>>& resources);
// The resources an executable's bytes carry (an empty list when it carries none); raises
// Exception "Damaged resource archive" when the trailer points at no readable archive or a
// resource's bytes do not match their CRC-32.
std::vector<std::pair<std::string, std::string>> ReadResources(std::string_view exe);

} // namespace stellik
