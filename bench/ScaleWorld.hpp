// A desktop of N learned spaces on one display, each with its anchor and two
// windows, stored as a learned grid, and the launches, visits and quits the
// scale benchmarks time on it.
#pragma once

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "Tools/WindowUtil.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "input/ArrowHotKeys.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/simulator/RestorableWindows.hpp"
#include "platform/testing/SimulatedInput.hpp"
#include "platform/testing/TemporaryFolders.hpp"
#include "settings/Defaults.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace zelvana::bench {

using zelvana::core::CodableSpace;
using zelvana::core::Coordinates;
using zelvana::core::GlobalDefaults;
using zelvana::core::ZelvanaManager;
namespace fs = std::filesystem;

inline constexpr const char* kSuite = "com.quorrim.Zelvana.scale";
inline constexpr int kApplications = 12;
inline constexpr int kWindowsPerSpace = 2;
inline constexpr platform::DisplayID kDisplay = 1;

inline void resetProcessState() {
    zelvana::switcher::SpaceSwitcher::resetSharedForTesting();
    platform::testing::resetSimulatedInput();
    zelvana::keyboardshortcuts::resetForTesting();
    zelvana::input::triggerHotKeys().resetForTesting();
    zelvana::tools::WindowUtil::resetCachesForTesting();
    zelvana::switcher::SpaceSwitcher::registerRestorationClass();
}

// Settings read afresh from the preferences file, as a launch reads them.
inline void readSettings() {
    platform::UserDefaults::setStandardSuiteName(kSuite);
    zelvana::settings::Defaults::resetForTesting();
    GlobalDefaults::resetForTesting();
}

inline std::string contentsOf(const fs::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// One display with `count` learned spaces, the application quit on it.
class World {
public:
    explicit World(int count) : count_(count) {
        readSettings();
        platform::Application::shared().resetForTesting();
        desktop_.resetForTesting();
        resetProcessState();
        desktop_.setSwitchDuration(0);
        desktop_.addDisplay(
            platform::Display::make(kDisplay, platform::Rect::make(0, 0, 1920, 1080), "Display"));
        for (int pid = 1000; pid < 1000 + kApplications; ++pid) {
            const auto name = "App" + std::to_string(pid);
            desktop_.addApplication(
                {pid, name, "com.example." + name, "/Applications/" + name + ".app", name});
        }
        learnSpaces();
        desktop_.applicationWillTerminate();
        // The saved windows land off the main thread.
        platform::drainAllQueues();
        savedWindows_ = contentsOf(*platform::RestorableWindows::savedStateFile());
    }
    World(const World&) = delete;
    World& operator=(const World&) = delete;
    ~World() {
        hub_.reset();
        resetProcessState();
        desktop_.resetForTesting();
    }

    int count() const { return count_; }
    ZelvanaManager& hub() { return *hub_; }

    // The system restores the anchors, then the hub is made.
    void launch() {
        readSettings();
        desktop_.applicationWillFinishLaunching();
        hub_ = std::make_unique<ZelvanaManager>();
    }
    void firstRefresh() {
        clock_.advance(1100);
        settle();
    }
    void quit() {
        hub_->saveQueue().flush();
        desktop_.applicationWillTerminate();
        hub_.reset();
    }
    // After a quit, or before the first launch: what the system keeps.
    void prepareLaunch() {
        hub_.reset();
        resetProcessState();
        // The last quit's saved windows land before these replace them.
        platform::drainAllQueues();
        std::ofstream(*platform::RestorableWindows::savedStateFile()) << savedWindows_;
    }
    void launched() {
        if (hub_) return;
        prepareLaunch();
        launch();
        firstRefresh();
    }

    // A new space with windows of its own, not yet visited.
    platform::SpaceID addSpace() {
        const auto space = *desktop_.addSpace(kDisplay);
        addWindows(space, static_cast<int>(desktop_.display(kDisplay)->spaces.size()));
        return space;
    }
    void visit(platform::SpaceID space) {
        desktop_.switchToSpace(space);
        clock_.advance(100);
        settle();
        // The panel shown for a new space closes itself.
        clock_.advance(2100);
    }
    void settle() {
        if (hub_) hub_->saveQueue().drain();
        clock_.runPending();
    }

private:
    void addWindows(platform::SpaceID space, int index) {
        for (int w = 0; w < kWindowsPerSpace; ++w) {
            const int pid = 1000 + (index + w) % kApplications;
            desktop_.addWindow(platform::DesktopWindow{
                .ownerPID = pid,
                .name = "Document " + std::to_string(w),
                .bounds = platform::Rect::make(60.0 * w, 40.0 + 30 * w, 1200, 800),
                .space = space});
        }
    }

    // Every space visited once, so the switcher gives each its anchor, and
    // the grid stored as the hub would have stored it.
    void learnSpaces() {
        for (int s = 1; s < count_; ++s) desktop_.addSpace(kDisplay);
        const auto spaces = desktop_.display(kDisplay)->spaces;
        for (std::size_t s = 0; s < spaces.size(); ++s) {
            addWindows(spaces[s], static_cast<int>(s));
        }
        auto& switcher = zelvana::switcher::SpaceSwitcher::shared();
        switcher.options()->anchorCountCap = 2 * count_ + 1000;
        GlobalDefaults::anchorCountCap().setValue(2 * count_ + 1000);
        for (const auto space : spaces) {
            desktop_.switchToSpace(space);
            clock_.advance(60);
        }
        // As wide as the grid width the hub would have placed them by, so new
        // spaces fill the last row rather than start rows of the default three.
        const auto columns = static_cast<std::int64_t>(std::ceil(std::sqrt(count_)));
        GlobalDefaults::gridWidth().setValue(columns);
        std::vector<CodableSpace> stored;
        for (const auto& anchor : switcher.anchors()) {
            const auto space = desktop_.spaceOf(*anchor);
            std::int64_t index = 0;
            while (spaces[static_cast<std::size_t>(index)] != space) ++index;
            CodableSpace record{
                .id = anchor->id(),
                .coordinates = {{kDisplay, Coordinates{index / columns, index % columns}}},
                .lastActive = platform::Date::now(),
                .isActive = true};
            for (int w = 0; w < kWindowsPerSpace; ++w) {
                const int pid = 1000 + static_cast<int>(index + w) % kApplications;
                record.windowList.push_back(
                    {static_cast<std::uint32_t>(index * 10 + w), 0,
                     platform::Rect::make(60.0 * w, 40.0 + 30 * w, 1200, 800), pid,
                     "App" + std::to_string(pid)});
            }
            stored.push_back(std::move(record));
        }
        GlobalDefaults::grid().setTypedValue(stored);
        desktop_.switchToSpace(spaces.front());
        clock_.advance(60);
    }

    int count_;
    platform::testing::TemporaryFolders folders_;
    platform::VirtualClock clock_;
    platform::Desktop& desktop_ = platform::Desktop::shared();
    std::string savedWindows_;
    std::unique_ptr<ZelvanaManager> hub_;
};

// Left alive at exit: the services it would tear down are gone by then.
inline World& world(int count) {
    static World* current = nullptr;
    if (!current || current->count() != count) {
        delete current;
        current = new World(count);
    }
    return *current;
}

enum class Phase { launch, firstRefresh, quit };

// Counts instructions under `valgrind --tool=callgrind --collect-atstart=no`
// while it lives, so the count holds what is timed and nothing else. Does
// nothing outside valgrind.
class Counted {
public:
    Counted() { CALLGRIND_TOGGLE_COLLECT; }
    ~Counted() { CALLGRIND_TOGGLE_COLLECT; }
    Counted(const Counted&) = delete;
    Counted& operator=(const Counted&) = delete;
};

// A launch, its first refresh and the quit each iteration, timing the phases given.
inline void launchToQuit(benchmark::State& state, std::initializer_list<Phase> timed) {
    auto& w = world(static_cast<int>(state.range(0)));
    const auto step = [&](Phase phase, void (World::*run)()) {
        const bool paused = std::ranges::find(timed, phase) == timed.end();
        if (paused) {
            state.PauseTiming();
            (w.*run)();
            state.ResumeTiming();
        } else {
            const Counted counted;
            (w.*run)();
        }
    };
    for (auto _ : state) {
        state.PauseTiming();
        w.prepareLaunch();
        state.ResumeTiming();
        step(Phase::launch, &World::launch);
        step(Phase::firstRefresh, &World::firstRefresh);
        step(Phase::quit, &World::quit);
    }
}

}  // namespace zelvana::bench
