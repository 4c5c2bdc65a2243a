// Shared pieces of the package tests: a private data folder, one key pair, stream helpers.
#pragma once

#include "package/PackageKeys.h"
#include "platform/MemoryStream.h"
#include "tests/support/MessageOf.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace stellik::testing {

// The folder of the key containers, inside the test program's temporary data folder.
std::string KeyFolder();

// Every name in the key folder.
std::vector<std::string> KeyFolderEntries();
// Number of open file descriptors of this process.
size_t OpenDescriptorCount();

// A container name no other test uses.
std::string FreshContainerName();

// One key pair per test program, protected with the player's password.
const TPackageKeys& SharedKeys();
inline constexpr std::string_view Password = "qm847";

TMemoryStream StreamOf(std::span<const uint8_t> bytes);
TMemoryStream StreamOf(std::string_view text);
std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed);

} // namespace stellik::testing
