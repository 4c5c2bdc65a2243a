// shell/PseudoHosts.h -- the URL prefixes shared by the page stylesheet and the shell
//
// The stylesheet writes these exact values; the shell cuts URLs by position at a prefix's
// length plus one "/". None of them is ever contacted.
#pragma once

#include <string_view>

namespace stellik {

inline constexpr std::string_view CommandHost = "stellik://cmd";     // commands
inline constexpr std::string_view ContentHost = "stellik://content"; // the test's pictures
inline constexpr std::string_view SystemHost = "stellik://system";   // the timer image
// Pages are loaded with this base, so a bare image name "startbtn_gif" is asked for as
// "stellik://res/startbtn_gif"; the view hands the shell the name alone.
inline constexpr std::string_view PageBaseUri = "stellik://res/";

} // namespace stellik
