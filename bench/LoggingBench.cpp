#include <benchmark/benchmark.h>
#include <spdlog/logger.h>
#include <spdlog/pattern_formatter.h>
#include <spdlog/sinks/null_sink.h>

#include <memory>
#include <string>

#include "Logging/BaseDestination.hpp"
#include "Logging/Logging.hpp"

// Our two hot paths beside spdlog's doing the same jobs, so that the figures
// come from one machine in one run.
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

// spdlog: a logger over a null sink whose level rejects the call.
void BM_PeerRejectedLogCall(benchmark::State& state) {
    spdlog::logger logger("peer", std::make_shared<spdlog::sinks::null_sink_mt>());
    logger.set_level(spdlog::level::err);
    for (auto _ : state) {
        logger.log(spdlog::source_loc{__FILE__, __LINE__, static_cast<const char*>(__func__)},
                   spdlog::level::debug, "never rendered");
    }
}
BENCHMARK(BM_PeerRejectedLogCall);

// spdlog: the fields of our default format (time of day with milliseconds,
// level, file, function, line, message) rendered into a memory buffer; the
// entry takes the clock's time as a log call does.
void BM_PeerAcceptedLine(benchmark::State& state) {
    spdlog::pattern_formatter formatter("%H:%M:%S.%e %l %s.%!():%# - %v",
                                        spdlog::pattern_time_type::local, "");
    spdlog::memory_buf_t buffer;
    for (auto _ : state) {
        const spdlog::details::log_msg message(
            spdlog::source_loc{"/src/app/Launcher.cpp", 42, "launch"}, "peer", spdlog::level::info,
            "ready");
        buffer.clear();
        formatter.format(message, buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(BM_PeerAcceptedLine);

}  // namespace
