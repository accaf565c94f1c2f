// How the hub's costs grow with the spaces it has learned: N spaces on one
// display, each with its anchor and two windows, stored as a learned grid.
// Every case reports the main thread's CPU time (the CPU column).
//   Launch        anchors restored by the system, then the hub made
//   FirstRefresh  the launch's deferred start-up, until the main queue idles
//   LaunchToQuit  both, then the quit (final save, restorable windows)
//   LearnOneSpace a visit to a space not seen before, until it idles again
//   LearnAnotherSpace the same, once the panel has been shown
//   SaveGrid      one save of a changed grid, the landing of its write included
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "bench/ScaleWorld.hpp"

namespace {

using zelvana::bench::launchToQuit;
using zelvana::bench::Phase;
using zelvana::bench::World;
using zelvana::bench::world;

void BM_LaunchToQuit(benchmark::State& state) {
    launchToQuit(state, {Phase::launch, Phase::firstRefresh, Phase::quit});
}

void BM_Launch(benchmark::State& state) {
    launchToQuit(state, {Phase::launch});
}

void BM_FirstRefresh(benchmark::State& state) {
    launchToQuit(state, {Phase::firstRefresh});
}

void BM_SaveGrid(benchmark::State& state) {
    auto& w = world(static_cast<int>(state.range(0)));
    w.launched();
    // A grid unchanged since the last save writes nothing: each save renames a space.
    const auto& renamed = w.hub().spaceGrid().spaces().front();
    int saves = 0;
    for (auto _ : state) {
        renamed->setTitle("Renamed " + std::to_string(++saves));
        const zelvana::bench::Counted counted;
        w.hub().saveGrid();
        w.settle();
    }
}

// Each visit learns one more space: the grid grows by one every iteration.
void learnSpaces(benchmark::State& state, World& w) {
    for (auto _ : state) {
        state.PauseTiming();
        const auto space = w.addSpace();
        state.ResumeTiming();
        const zelvana::bench::Counted counted;
        w.visit(space);
    }
}

// The first visit after the launch shows the panel for the first time, so
// it builds a cell for every space.
void BM_LearnOneSpace(benchmark::State& state) {
    auto& w = world(static_cast<int>(state.range(0)));
    w.launched();
    learnSpaces(state, w);
}

// Once the panel has been shown: what each later space costs.
void BM_LearnAnotherSpace(benchmark::State& state) {
    auto& w = world(static_cast<int>(state.range(0)));
    w.launched();
    w.visit(w.addSpace());
    learnSpaces(state, w);
}

// Grouped by size, so each world is made once.
[[maybe_unused]] const bool kRegistered = [] {
    for (const int count : {100, 300, 1000, 3000}) {
        const auto add = [count](const char* name, void (*run)(benchmark::State&)) {
            return benchmark::RegisterBenchmark(name, run)->Arg(count)->Unit(
                benchmark::kMillisecond);
        };
        // Fixed counts: the paused set-up (a launch, a quit, waits for the
        // disk) outweighs what is timed, and the library would run it for
        // minutes to time a few milliseconds.
        const int launches = std::max(3, 3000 / count);
        add("BM_LaunchToQuit", BM_LaunchToQuit)->Iterations(launches);
        add("BM_Launch", BM_Launch)->Iterations(launches);
        add("BM_FirstRefresh", BM_FirstRefresh)->Iterations(launches);
        add("BM_SaveGrid", BM_SaveGrid)->Iterations(50);
        // A few visits only, so the grid stays near its size.
        add("BM_LearnOneSpace", BM_LearnOneSpace)->Iterations(10);
        add("BM_LearnAnotherSpace", BM_LearnAnotherSpace)->Iterations(10);
    }
    return true;
}();

}  // namespace
