// package/PackageKeys.h -- the key pair a new package is made for
#pragma once

#include "package/SecureBytes.h"

#include <cstdint>
#include <span>
#include <vector>

namespace stellik {

// A new 1,024-bit key-exchange pair, written the two ways a package needs it: the
// password-protected private key blob the player imports into its key container, and the
// public key blob the package's members are encrypted for.
struct TPackageKeys {
    TSecureBytes PrivateKeyBlob;
    std::vector<uint8_t> PublicKeyBlob;
};

// Throws Exception when no pair can be made (the random source failed).
TPackageKeys MakePackageKeys(std::span<const uint8_t> password);

} // namespace stellik
