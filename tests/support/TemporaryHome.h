// tests/support/TemporaryHome.h -- the user's folders of a test or benchmark program
#pragma once

#include <string>

namespace stellik::testing {

// Before main runs, XDG_DATA_HOME and XDG_STATE_HOME point into a fresh temporary folder, so
// GLib, which reads them once, never hands out the real home's folders. Removed at exit.
const std::string& TemporaryHome();
std::string DataHome();
std::string StateHome();

} // namespace stellik::testing
