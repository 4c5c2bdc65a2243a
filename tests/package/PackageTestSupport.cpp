#include "PackageTestSupport.h"

#include "tests/support/TemporaryHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

namespace stellik::testing {

std::string KeyFolder() {
    return DataHome() + "/stellik/keys";
}

std::vector<std::string> KeyFolderEntries() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(KeyFolder(), error)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

size_t OpenDescriptorCount() {
    size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

std::string FreshContainerName() {
    static int counter = 0;
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string("Test.") + (info != nullptr ? info->name() : "none") + "." +
           std::to_string(++counter);
}

const TPackageKeys& SharedKeys() {
    static const TPackageKeys keys =
        MakePackageKeys({reinterpret_cast<const uint8_t*>(Password.data()), Password.size()});
    return keys;
}

TMemoryStream StreamOf(std::span<const uint8_t> bytes) {
    return TMemoryStream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

TMemoryStream StreamOf(std::string_view text) {
    return TMemoryStream(text);
}

std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed) {
    std::mt19937 generator(seed);
    std::vector<uint8_t> bytes(size);
    for (auto& b : bytes) {
        b = static_cast<uint8_t>(generator());
    }
    return bytes;
}

} // namespace stellik::testing
