// tools/pack/PackFiles.h -- reading the packer's inputs and writing its output whole or not at all
#pragma once

#include <sys/types.h>

#include <span>
#include <string>
#include <string_view>

namespace stellik {

// The bytes of a regular file (a link to one counts); raises "Cannot read <path>: <reason>",
// or "<path> is not a regular file" without waiting on a named pipe or a device.
std::string ReadInputFile(const std::string& path);

// Writes bytes to a new file in path's folder and renames it to path, with the given mode,
// so that path holds either its old content or all of the new one, never a part; raises
// "Cannot write <path>: <reason>" and leaves no file of its own behind. A path that is a
// symbolic link writes the file the link points to, and the link stays. Only a regular file
// is replaced: a folder, named pipe, socket or device under the name (directly or at the end
// of a link) raises "<path> is not a regular file" and stays. Like cp, it leaves the moment
// the data reach the disk to the system (waiting for it took longer than the rest of the
// packing).
void WriteFileAtomically(const std::string& path, std::string_view bytes, mode_t mode);
// The same with the file's bytes given as pieces, written one after the other.
void WriteFileAtomically(const std::string& path, std::span<const std::string_view> pieces,
                         mode_t mode);

} // namespace stellik
