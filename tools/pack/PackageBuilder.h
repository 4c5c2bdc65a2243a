// tools/pack/PackageBuilder.h -- the package a player carries as "DVCF"
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace stellik {

struct TPackageContent {
    std::string Test;                                          // the test document as written
    std::string Settings;                                      // the settings document as written
    std::vector<std::pair<std::string, std::string>> Pictures; // member name, bytes
};

// The package archive: the test as "scontent.xml" and the settings as "settings.xml", each
// an encrypted document for the public key blob, then the pictures as they are. Each picture
// is let go once it is in the archive, so that large ones are not held twice.
std::string BuildPackage(TPackageContent content, std::span<const uint8_t> publicKeyBlob);

} // namespace stellik
