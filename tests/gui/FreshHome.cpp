// Every GUI test starts from an empty home of its own, whichever tests ran before it in the
// same program: the settings, key container and placement files of one are not the next's.
#include "tests/support/TemporaryHome.h"

#include <glib.h>
#include <gtest/gtest.h>

#include <memory>

namespace stellik::testing {
namespace {

class TFreshHome final : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        EmptyTemporaryHome();
        g_reload_user_special_dirs_cache(); // a documents folder of the last test is gone
    }
};

const bool Registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(
        std::make_unique<TFreshHome>().release()); // the listener list owns it
    return true;
}();

} // namespace
} // namespace stellik::testing
