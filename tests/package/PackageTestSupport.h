// Shared pieces of the package tests: a private data folder, one key pair, stream helpers.
#pragma once

#include "package/PackageKeys.h"
#include "platform/MemoryStream.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace stellik::test {

// The data folder the tests' key containers live in (set as XDG_DATA_HOME before any test
// runs, removed at exit), and the container folder inside it.
const std::string& TestDataHome();
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

} // namespace stellik::test
