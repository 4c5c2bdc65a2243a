// tests/support/Growth.h -- whether a step's cost grows faster than its input
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <limits>

namespace stellik::testing {

// Measures size and four times size in one run. A step linear in its input takes about four
// times as much for four times the input (a little more where the data outgrows the caches), a
// quadratic one sixteen times; the bound lies between, so it holds on a busy machine as on an
// idle one and still catches a step that grows too fast. The figures themselves belong to the
// benchmarks (bench/).
template <typename TMeasure>
::testing::AssertionResult ScalesLinearly(const TMeasure& measure, size_t size) {
    // A test program shares the machine with others: a fourfold run slowed by them is measured
    // again, while a step that grows too fast fails every attempt.
    double single = 0;
    double fourfold = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        single = measure(size);
        fourfold = measure(4 * size);
        if (fourfold < 8 * single) {
            return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure()
           << "size " << size << ": " << single << ", four times the size: " << fourfold;
}

// Seconds that work(size) takes: the best of five runs, so that a moment's preemption on a
// busy machine does not count.
template <typename TWork> auto BestSeconds(const TWork& work) {
    return [&work](size_t size) {
        double best = std::numeric_limits<double>::max();
        for (int run = 0; run < 5; ++run) {
            const auto start = std::chrono::steady_clock::now();
            work(size);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            best = std::min(best, took.count());
        }
        return best;
    };
}

} // namespace stellik::testing
