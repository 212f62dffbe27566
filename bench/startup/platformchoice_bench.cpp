// The platform choice's question to the Wayland compositor, one round trip.
// Run by hand inside a Wayland session (WAYLAND_DISPLAY set), e.g. a
// headless weston or sway.
#include "platformchoice.h"

#include <benchmark/benchmark.h>

static void askCompositor(benchmark::State &state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(platformchoice::askCompositor(500));
    }
}
BENCHMARK(askCompositor)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
