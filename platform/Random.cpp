#include "platform/Random.h"

#include <chrono>

namespace stellik {

namespace {
uint32_t Seed = 0;
}

void TRandom::Randomize() {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    Seed = static_cast<uint32_t>(static_cast<uint64_t>(ticks));
}

void TRandom::SetSeed(uint32_t Value) {
    Seed = Value;
}

uint32_t TRandom::GetSeed() {
    return Seed;
}

int TRandom::Random(int N) {
    Seed = Seed * 134775813u + 1u;
    if (N <= 0) {
        return 0;
    }
    return static_cast<int>((static_cast<uint64_t>(Seed) * static_cast<uint32_t>(N)) >> 32);
}

} // namespace stellik
