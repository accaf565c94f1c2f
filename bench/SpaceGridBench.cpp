// The space grid's hot paths on a busy desktop: 300 spaces on 6 displays.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Zelvana/SpaceGrid.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/testing/TemporaryFolders.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace {

using zelvana::core::CodableSpace;
using zelvana::core::Coordinates;
using zelvana::core::GridStep;
using zelvana::core::Space;
using zelvana::core::SpaceGrid;
using zelvana::core::StoredStaleness;
namespace platform = zelvana::platform;

constexpr int kDisplays = 6;
constexpr int kSpacesPerDisplay = 50;
constexpr int kApplications = 12;
constexpr int kWindowsPerSpace = 6;

// The records as the save queue copies them before encoding.
std::vector<CodableSpace> copiesOf(const SpaceGrid& grid) {
    std::vector<CodableSpace> copies;
    for (const auto& record : grid.records()) copies.push_back(*record);
    return copies;
}

std::vector<zelvana::tools::WindowInfo> windowsFor(int space) {
    std::vector<zelvana::tools::WindowInfo> windows;
    for (int w = 0; w < kWindowsPerSpace; ++w) {
        const int pid = 1000 + (space + w) % kApplications;
        windows.push_back({static_cast<std::uint32_t>(space * 100 + w), 0,
                           platform::Rect::make(40.0 * w, 30.0 * w, 1200, 800), pid,
                           "App " + std::to_string(pid)});
    }
    return windows;
}

// Made once: the desktop, one registered anchor per space and the grid.
struct World {
    platform::testing::TemporaryFolders folders;
    SpaceGrid grid;
    std::string gridText;

    World() {
        auto& desktop = platform::Desktop::shared();
        for (int pid = 1000; pid < 1000 + kApplications; ++pid) {
            const auto name = "App" + std::to_string(pid);
            desktop.addApplication(
                {pid, name, "com.example." + name, "/Applications/" + name + ".app", name});
        }
        auto& switcher = zelvana::switcher::SpaceSwitcher::shared();
        switcher.options()->anchorCountCap = kDisplays * kSpacesPerDisplay + 10;
        int index = 0;
        for (std::uint32_t number = 1; number <= kDisplays; ++number) {
            desktop.addDisplay(platform::Display::make(
                number, platform::Rect::make(1920.0 * (number - 1), 0, 1920, 1080), "Display"));
            const auto screen = desktop.display(number)->screen();
            for (int s = 0; s < kSpacesPerDisplay; ++s, ++index) {
                grid.add(std::make_shared<Space>(Space::Fields{.anchor = switcher.addAnchor(screen),
                                                               .windowList = windowsFor(index)}));
            }
        }
        gridText = nlohmann::json(copiesOf(grid)).dump();
    }
};

World& world() {
    static World* instance = new World();
    return *instance;
}

// Scatters the main display's cells: gaps, shared cells and far columns.
void scatter(SpaceGrid& grid, std::mt19937& random) {
    std::uniform_int_distribution<std::int64_t> row(0, 40);
    std::uniform_int_distribution<std::int64_t> col(0, 60);
    for (const auto& space : grid.spaces()) {
        if (space->coordinates().contains(1)) space->setCell(1, {row(random), col(random)});
    }
}

void BM_MainScreenGridCompact(benchmark::State& state) {
    auto& grid = world().grid;
    grid.mainScreenGrid();
    for (auto _ : state) benchmark::DoNotOptimize(grid.mainScreenGrid());
}
BENCHMARK(BM_MainScreenGridCompact);

void BM_MainScreenGridScattered(benchmark::State& state) {
    auto& grid = world().grid;
    std::mt19937 random(7);
    for (auto _ : state) {
        state.PauseTiming();
        scatter(grid, random);
        state.ResumeTiming();
        benchmark::DoNotOptimize(grid.mainScreenGrid());
    }
}
BENCHMARK(BM_MainScreenGridScattered);

// Every step from every space of every display.
void BM_NeighbourWalk(benchmark::State& state) {
    auto& grid = world().grid;
    grid.mainScreenGrid();
    for (auto _ : state) {
        for (const auto& space : grid.spaces()) {
            for (int step = 0; step <= static_cast<int>(GridStep::backward); ++step) {
                benchmark::DoNotOptimize(grid.neighbour(static_cast<GridStep>(step), space));
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(grid.spaces().size()) *
                            10);
}
BENCHMARK(BM_NeighbourWalk);

void BM_EncodeGrid(benchmark::State& state) {
    const auto& grid = world().grid;
    for (auto _ : state) {
        benchmark::DoNotOptimize(nlohmann::json(copiesOf(grid)).dump());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(world().gridText.size()));
}
BENCHMARK(BM_EncodeGrid);

void BM_DecodeGrid(benchmark::State& state) {
    const auto& text = world().gridText;
    for (auto _ : state) {
        benchmark::DoNotOptimize(nlohmann::json::parse(text).get<std::vector<CodableSpace>>());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_DecodeGrid);

// Records to live spaces, pictures included, as a launch restores them.
void BM_RestoreSpaces(benchmark::State& state) {
    const auto records = nlohmann::json::parse(world().gridText).get<std::vector<CodableSpace>>();
    for (auto _ : state) {
        for (const auto& record : records)
            benchmark::DoNotOptimize(record.makeSpace(StoredStaleness::drop));
    }
}
BENCHMARK(BM_RestoreSpaces)->Unit(benchmark::kMillisecond);

}  // namespace
