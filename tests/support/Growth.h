// tests/support/Growth.h -- whether a step's cost grows faster than its input
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <ctime>
#include <limits>

namespace stellik::testing {

// Measures size and four times size in one run. A step linear in its input takes about four
// times as much for four times the input (a little more where the data outgrows the caches), a
// quadratic one sixteen times; the bound lies between, so it still catches a step that grows
// too fast. The figures themselves belong to the benchmarks (bench/).
template <typename TMeasure>
::testing::AssertionResult ScalesLinearly(const TMeasure& measure, size_t size) {
    // CPU time (BestCpuSeconds) leaves out the time other processes hold the processor, but a
    // busy machine still slows the work itself a little: other processes evict its data from
    // the caches and share its core. A fourfold run slowed that way is measured again, while a
    // step that grows too fast fails every attempt.
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

// CPU seconds that the given clock has counted so far: CLOCK_THREAD_CPUTIME_ID for the calling
// thread, CLOCK_PROCESS_CPUTIME_ID for all threads of the process. Time spent waiting for the
// processor while other processes run does not count.
inline double CpuSeconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// CPU seconds that work(size) takes on the calling thread: the best of five runs, so that a
// moment's cache pollution by other processes does not count. Work handed to another thread
// would not be counted and could grow unseen, so the process's clock is read as well: where it
// counts clearly more than the thread's, the check fails. (A test program runs its cases on one
// thread: nothing else of its own runs meanwhile.)
template <typename TWork> auto BestCpuSeconds(const TWork& work) {
    return [&work](size_t size) {
        double best = std::numeric_limits<double>::max();
        for (int run = 0; run < 5; ++run) {
            const double threadStart = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
            const double processStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
            work(size);
            const double process = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processStart;
            const double thread = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - threadStart;
            // A tenth spare, and a millisecond for reading the clocks.
            EXPECT_LT(process, thread * 1.1 + 0.001)
                << "size " << size << ": the work ran partly on other threads";
            best = std::min(best, thread);
        }
        return best;
    };
}

} // namespace stellik::testing
