// tests/support/HangGuard.h -- a call that hangs fails its test program instead of the run
#pragma once

#include <unistd.h>

namespace stellik::testing {

// While it lives, a scope taking longer than seconds ends the test program with SIGALRM, so a
// hang shows up as a failed test at once rather than as a run that never finishes.
class THangGuard {
public:
    explicit THangGuard(unsigned seconds) { alarm(seconds); }
    ~THangGuard() { alarm(0); }
    THangGuard(const THangGuard&) = delete;
    THangGuard& operator=(const THangGuard&) = delete;
};

} // namespace stellik::testing
