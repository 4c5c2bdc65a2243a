// tests/support/MessageOf.h -- what a failing call says
#pragma once

#include "platform/Exception.h"

#include <functional>
#include <string>

namespace stellik::test {

// Runs op and returns the message of the Exception it threw ("" when it did not throw).
inline std::string MessageOf(const std::function<void()>& op) {
    try {
        op();
    } catch (const Exception& e) {
        return e.GetMessage();
    }
    return "";
}

} // namespace stellik::test
