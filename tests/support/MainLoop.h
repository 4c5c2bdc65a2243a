// tests/support/MainLoop.h -- waiting on the main loop in GUI tests and benchmarks
#pragma once

#include <glib.h>

#include <functional>

namespace stellik::testing {

// Runs the default main context until done() holds; false when timeoutMs passed first. When
// nothing was pending it sleeps idleUs microseconds before looking again.
inline bool RunMainLoopUntil(const std::function<bool()>& done, int timeoutMs, int idleUs) {
    const gint64 deadline = g_get_monotonic_time() + gint64{timeoutMs} * 1000;
    while (!done()) {
        if (g_get_monotonic_time() > deadline) {
            return false;
        }
        if (!g_main_context_iteration(nullptr, FALSE)) {
            g_usleep(idleUs);
        }
    }
    return true;
}

} // namespace stellik::testing
