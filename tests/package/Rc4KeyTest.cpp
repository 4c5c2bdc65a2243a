// The RC4 cipher of session and password keys.
#include "PackageTestSupport.h"

#include "package/Rc4Key.h"

#include <gtest/gtest.h>

#include <array>
#include <numeric>

namespace stellik::testing {
namespace {

TRc4Key KeyOf(uint32_t seed) {
    const auto bytes = RandomBytes(TRc4Key::Size, seed);
    return TRc4Key(std::span<const uint8_t, TRc4Key::Size>(bytes.data(), TRc4Key::Size));
}

TEST(Rc4Key, KeyStreamOfThePublishedTestVector) {
    std::array<uint8_t, TRc4Key::Size> bytes{};
    std::iota(bytes.begin(), bytes.end(), uint8_t{1}); // 01 02 ... 10
    std::vector<uint8_t> stream(16, 0);
    TRc4Key(bytes).Crypt(stream.data(), stream.size());
    EXPECT_EQ(stream, (std::vector<uint8_t>{0x9a, 0xc7, 0xcc, 0x9a, 0x60, 0x9d, 0x1e, 0xf7, 0xb2,
                                            0x93, 0x28, 0x99, 0xcd, 0xe4, 0x1b, 0x97}));
}

// A second call with the same key deciphers, whatever the length; a key enciphers alike each time.
TEST(Rc4Key, DeciphersWithTheSameCall) {
    for (size_t size : {0u, 1u, 7u, 8u, 9u, 255u, 256u, 257u, 1u << 20}) {
        const TRc4Key key = KeyOf(static_cast<uint32_t>(size));
        const auto plain = RandomBytes(size, static_cast<uint32_t>(size) + 7);
        std::vector<uint8_t> once = plain;
        key.Crypt(once.data(), once.size());
        if (size >= 16) {
            EXPECT_NE(once, plain) << size;
        }
        std::vector<uint8_t> again = plain;
        key.Crypt(again.data(), again.size());
        EXPECT_EQ(again, once) << size;
        key.Crypt(once.data(), once.size());
        EXPECT_EQ(once, plain) << size;
    }
}

} // namespace
} // namespace stellik::testing
