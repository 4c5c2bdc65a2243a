// shell/ExternalLinks.h -- which links the desktop may open
#pragma once

#include <string_view>

namespace stellik {

// Web pages and mail, and nothing else: a local file, a script or any other scheme the
// desktop would hand to some program stays unopened. The scheme's letter case does not
// matter; "http" and "https" take an address ("//" after the colon), "mailto" anything.
bool IsExternalUrl(std::string_view url);

} // namespace stellik
