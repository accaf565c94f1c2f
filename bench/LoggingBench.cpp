#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "Logging/BaseDestination.hpp"
#include "Logging/Logging.hpp"

namespace {

using zelvana::logging::BaseDestination;
using zelvana::logging::Level;
using zelvana::logging::LogEntry;
using zelvana::logging::Logging;

// Every destination rejects the entry on level: no text, no allocation.
void BM_RejectedLogCall(benchmark::State& state) {
    Logging::removeAllDestinations();
    auto destination = std::make_shared<BaseDestination>();
    destination->setMinLevel(Level::error);
    Logging::addDestination(destination);
    int computed = 0;
    for (auto _ : state) {
        Logging::debug([&] {
            ++computed;
            return std::string("never rendered");
        });
    }
    benchmark::DoNotOptimize(computed);
    Logging::removeAllDestinations();
}
BENCHMARK(BM_RejectedLogCall);

// One accepted entry rendered with the default format, on the calling thread.
void BM_AcceptedLineDefaultFormat(benchmark::State& state) {
    BaseDestination destination;
    const LogEntry entry{Level::info, "ready", "", "/src/app/Launcher.cpp", "launch()", 42, {}};
    for (auto _ : state) {
        auto line = destination.send(entry);
        benchmark::DoNotOptimize(line);
    }
}
BENCHMARK(BM_AcceptedLineDefaultFormat);

}  // namespace
