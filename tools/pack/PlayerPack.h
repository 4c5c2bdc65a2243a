// tools/pack/PlayerPack.h -- making a player for a test
#pragma once

#include "tools/pack/PackOptions.h"

#include <string_view>

namespace stellik {

// The password that protects the private key blob a player carries as "DVCK".
inline constexpr std::string_view PackagePassword = "qm847";

// Writes options.Output: a copy of options.Player whose resources are kept, except "DVCF"
// and "DVCK", which carry the test: the package of the test, its settings and its pictures,
// encrypted for a new key pair, and that pair's password-protected private key blob. The
// test and the settings are read as the player reads them first, and every picture the test
// names must be a file under options.Pictures. Raises Exception with a message that names
// the faulty input; the output is then left as it was.
void MakePlayer(const TPackOptions& options);

} // namespace stellik
