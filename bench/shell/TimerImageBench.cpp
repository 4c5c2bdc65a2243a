// The timer picture is drawn and encoded once a second while a run is under way.
#include "platform/MemoryStream.h"
#include "shell/TimerImage.h"

#include <benchmark/benchmark.h>

namespace {

void BM_TimerImage(benchmark::State& state) {
    stellik::TMemoryStream stream;
    int second = 0;
    for (auto _ : state) {
        // A new time every frame, as the countdown gives, from 01:30:00 down.
        stellik::WriteTimerImage(stellik::EncodeTime(1, 30, 0) - second * stellik::OneSecond,
                                 stream);
        benchmark::DoNotOptimize(stream.GetMemory());
        second = (second + 1) % 5400;
    }
}
BENCHMARK(BM_TimerImage)->Unit(benchmark::kMicrosecond);

void BM_FormatLongTime(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(stellik::FormatLongTime(stellik::EncodeTime(1, 2, 3)));
    }
}
BENCHMARK(BM_FormatLongTime);

} // namespace
