// fuzz/FuzzSupport.h -- what the fuzz targets and their seed maker share
#pragma once

#include "package/RsaKeys.h"
#include "platform/MemoryStream.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace stellik::fuzz {

// The password the player's package key is enciphered with.
inline constexpr std::string_view PackagePassword = "qm847";

// The fuzz input as a stream, position 0.
TMemoryStream StreamOf(const uint8_t* data, size_t size);

// A key-exchange pair made once for fuzzing (it protects nothing), so that the seeds the seed
// maker encrypts can be decrypted by the targets: its plain private key blob, the pair itself
// and its public key blob.
std::span<const uint8_t> FuzzPrivateKeyBlob();
const TRsaKeyPair& FuzzKeyPair();
std::vector<uint8_t> FuzzPublicKeyBlob();

// Stores the fuzz pair in the crypto manager's key container, as the player stores its package
// key, once per process. The container lives in the temporary data folder of the process.
void InstallFuzzKey();

// A file of the source tree's resources/ folder.
std::string ResourcePath(std::string_view name);

} // namespace stellik::fuzz
