// platform/Random.h -- the process-wide 32-bit linear congruential generator
#pragma once

#include <cstdint>

namespace stellik {

// seed := seed * 134775813 + 1 (mod 2^32); a draw in 0..n-1 is the upper 32 bits of seed * n.
class TRandom {
public:
    static void Randomize();            // reseed from the high-resolution clock
    static void SetSeed(uint32_t Seed); // for tests that need a fixed sequence
    static uint32_t GetSeed();
    static int Random(int n); // 0..N-1; 0 when N <= 0
};

} // namespace stellik
