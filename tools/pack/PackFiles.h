// tools/pack/PackFiles.h -- reading the packer's inputs and writing its output whole or not at all
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace stellik {

// The bytes of a regular file (a link to one counts); raises "Cannot read <path>: <reason>",
// or "<path> is not a regular file" without waiting on a named pipe or a device.
std::string ReadInputFile(const std::string& path);

// Writes bytes to a new file in path's folder and renames it to path, with the given mode,
// so that path holds either its old content or all of the new one, never a part; raises
// "Cannot write <path>: <reason>" and leaves no file of its own behind.
void WriteFileAtomically(const std::string& path, std::string_view bytes, mode_t mode);

} // namespace stellik
