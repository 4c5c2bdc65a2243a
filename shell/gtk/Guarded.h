// shell/gtk/Guarded.h -- the one way a GTK or WebKit callback runs our code
//
// No exception may cross a C callback, and none may be lost on the way: whatever the code
// throws reaches the standard handler.
#pragma once

#include "platform/Exception.h"

#include <exception>
#include <utility>

namespace stellik {

// Runs callback; what it throws goes to report (called with a const std::exception&): a
// standard exception as it is, anything else as "Unknown exception". A report that fails in
// turn is dropped, there being nobody left to tell. True when callback returned normally.
template <typename TCallback, typename TReport>
bool RunGuarded(TCallback&& callback, TReport&& report) noexcept {
    try {
        std::forward<TCallback>(callback)();
        return true;
    } catch (const std::exception& error) {
        try {
            report(error);
        } catch (...) {
        }
    } catch (...) {
        try {
            report(Exception("Unknown exception"));
        } catch (...) {
        }
    }
    return false;
}

} // namespace stellik
