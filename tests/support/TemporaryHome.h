// tests/support/TemporaryHome.h -- the user's folders of a test or benchmark program
#pragma once

#include <string>

namespace stellik::testing {

// Before main runs, HOME, XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_STATE_HOME and XDG_CACHE_HOME
// point into a fresh temporary folder (the home itself, "config", "data", "state", "cache"),
// so GLib, which reads them once, never hands out the real home's folders; and TMPDIR points
// at another fresh folder, so that temporary files of the program and of the programs it
// starts are its own. Both are removed at exit.
const std::string& TemporaryHome();
std::string DataHome();
std::string StateHome();

// Empties the temporary home (the folder itself stays, GLib having its paths), so that the
// next test finds it as a new user would.
void EmptyTemporaryHome();

} // namespace stellik::testing
