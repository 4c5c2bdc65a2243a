// The selection shuffle gives exactly what moving items in a plain array gives.
#include "model/MoveShuffle.h"
#include "platform/Random.h"

#include <gtest/gtest.h>

#include <numeric>

namespace stellik::testing {
namespace {

// The direct way: n moves, each an erase and an insert in one array.
std::vector<int> MoveInArray(int n) {
    std::vector<int> items(static_cast<std::size_t>(n));
    std::iota(items.begin(), items.end(), 0);
    for (int i = 0; i < n; ++i) {
        const int a = TRandom::Random(n);
        const int b = TRandom::Random(n);
        const int item = items[static_cast<std::size_t>(b)];
        items.erase(items.begin() + b);
        items.insert(items.begin() + a, item);
    }
    return items;
}

TEST(MoveShuffleTest, MatchesMovingInAnArrayWithTheSameDraws) {
    // Sizes below, at and above one block; tiny blocks so that blocks empty and split often.
    for (const int n : {0, 1, 2, 31, 32, 33, 1000, 4099}) {
        for (const int blockSize : {0, 1, 2, 5}) {
            TRandom::SetSeed(0x9E3779B9U + static_cast<uint32_t>(n));
            const std::vector<int> expected = MoveInArray(n);
            const uint32_t seedAfter = TRandom::GetSeed();
            TRandom::SetSeed(0x9E3779B9U + static_cast<uint32_t>(n));
            EXPECT_EQ(MoveShuffleOrder(n, blockSize), expected) << n << " " << blockSize;
            EXPECT_EQ(TRandom::GetSeed(), seedAfter) << n << " " << blockSize;
        }
    }
    TRandom::SetSeed(12345);
    std::vector<int> identity(50);
    std::iota(identity.begin(), identity.end(), 0);
    EXPECT_NE(MoveShuffleOrder(50), identity);
}

} // namespace
} // namespace stellik::testing
