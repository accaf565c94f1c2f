// Launch to quit on desktops of ten and thirty thousand learned spaces, the
// main thread's CPU time of each: the cost must grow with the spaces, not
// with their square. Slow to set up (the spaces are learned one visit at a
// time), so it is a program of its own.
#include <benchmark/benchmark.h>

#include "bench/ScaleWorld.hpp"

namespace {

using zelvana::bench::Phase;

void BM_LaunchToQuit(benchmark::State& state) {
    zelvana::bench::launchToQuit(state, {Phase::launch, Phase::firstRefresh, Phase::quit});
}

// Three launches each: one takes seconds.
BENCHMARK(BM_LaunchToQuit)->Arg(10000)->Arg(30000)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
