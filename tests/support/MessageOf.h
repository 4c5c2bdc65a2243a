// tests/support/MessageOf.h -- what a failing call says
#pragma once

#include "platform/Exception.h"

#include <gmock/gmock.h>

#include <exception>
#include <functional>
#include <string>

namespace stellik::testing {

// Runs op and returns the message of the exception it threw ("" when it did not throw).
inline std::string MessageOf(const std::function<void()>& op) {
    try {
        op();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

// Matches a callable that raises an exception of type E with exactly this message:
// EXPECT_THAT([&] { ... }, Raises("...")).
template <class E = Exception> auto Raises(const std::string& message) {
    return ::testing::ThrowsMessage<E>(::testing::StrEq(message));
}

} // namespace stellik::testing
