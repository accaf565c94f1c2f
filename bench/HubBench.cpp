// The hub's main road on a busy desktop: 300 stored spaces on 6 displays, 60
// of them on the main display.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "GridPanel/GridPanelWindowController.hpp"
#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "platform/appkit/VirtualKeyCodes.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/testing/TemporaryFolders.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace {

using zelvana::core::CodableSpace;
using zelvana::core::Coordinates;
using zelvana::core::GlobalDefaults;
using zelvana::core::ZelvanaManager;
namespace platform = zelvana::platform;

constexpr int kDisplays = 6;
constexpr int kMainSpaces = 60;
constexpr int kOtherSpaces = 48;
constexpr int kApplications = 12;

std::vector<zelvana::tools::WindowInfo> windowsFor(int space) {
    std::vector<zelvana::tools::WindowInfo> windows;
    for (int w = 0; w < 4; ++w) {
        const int pid = 1000 + (space + w) % kApplications;
        windows.push_back({static_cast<std::uint32_t>(space * 100 + w), 0,
                           platform::Rect::make(40.0 * w, 30.0 * w, 1200, 800), pid,
                           "App" + std::to_string(pid)});
    }
    return windows;
}

// Made once: the desktop with one anchor per space and the stored grid that
// names them all.
struct World {
    platform::testing::TemporaryFolders folders;
    platform::VirtualClock clock;
    std::unique_ptr<ZelvanaManager> hub;

    World() {
        platform::UserDefaults::setStandardSuiteName("com.quorrim.Zelvana.bench");
        auto& desktop = platform::Desktop::shared();
        desktop.setSwitchDuration(0);
        for (int pid = 1000; pid < 1000 + kApplications; ++pid) {
            const auto name = "App" + std::to_string(pid);
            desktop.addApplication(
                {pid, name, "com.example." + name, "/Applications/" + name + ".app", name});
        }
        auto& switcher = zelvana::switcher::SpaceSwitcher::shared();
        switcher.options()->anchorCountCap = 400;
        std::vector<CodableSpace> stored;
        for (std::uint32_t number = 1; number <= kDisplays; ++number) {
            desktop.addDisplay(platform::Display::make(
                number, platform::Rect::make(1920.0 * (number - 1), 0, 1920, 1080), "Display"));
            const int count = number == 1 ? kMainSpaces : kOtherSpaces;
            for (int s = 1; s < count; ++s) desktop.addSpace(number);
            for (int s = 0; s < count; ++s) {
                desktop.switchToSpace(desktop.display(number)->spaces[s]);
                clock.advance(1);
                const auto anchor = switcher.addAnchor(desktop.display(number)->screen());
                const auto index = static_cast<int>(stored.size());
                stored.push_back(CodableSpace{.id = anchor->id(),
                                              .windowList = windowsFor(index),
                                              .coordinates = {{number, Coordinates{s / 3, s % 3}}},
                                              .lastActive = platform::Date::now(),
                                              .isActive = true});
            }
            desktop.switchToSpace(desktop.display(number)->spaces[0]);
            clock.advance(1);
        }
        GlobalDefaults::grid().setTypedValue(stored);
        zelvana::keyboardshortcuts::setShortcut(
            zelvana::keyboardshortcuts::Shortcut::fromModifierFlags(platform::kVK_Space,
                                                                    platform::Modifier::command),
            GlobalDefaults::show());
        hub = std::make_unique<ZelvanaManager>();
        clock.advance(1100);
    }

    void closePanel() {
        hub->gridPanel().close();
        clock.runPending();
    }
};

World& world() {
    static World* instance = new World();
    return *instance;
}

void BM_ShowPressedToPanelShown(benchmark::State& state) {
    auto& w = world();
    for (auto _ : state) {
        w.hub->showKeyDown();
        state.PauseTiming();
        if (!w.hub->gridPanel().isOpen()) state.SkipWithError("the panel did not open");
        w.closePanel();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowPressedToPanelShown)->Unit(benchmark::kMicrosecond);

void BM_OneHighlightStep(benchmark::State& state) {
    auto& w = world();
    w.hub->showKeyDown();
    w.hub->gridPanel().selectNext();
    for (auto _ : state) w.hub->showKeyDown();
    w.closePanel();
}
BENCHMARK(BM_OneHighlightStep)->Unit(benchmark::kMicrosecond);

void BM_ReleaseToActivation(benchmark::State& state) {
    auto& w = world();
    auto& keyboard = platform::Keyboard::shared();
    const auto released =
        platform::Event{.modifierFlags = {}, .type = platform::EventType::flagsChanged};
    for (auto _ : state) {
        state.PauseTiming();
        keyboard.flagsChanged(platform::Modifier::command);
        keyboard.press(platform::kVK_Space, platform::Modifier::command);
        keyboard.press(platform::kVK_Space, platform::Modifier::command);
        w.clock.runPending();
        state.ResumeTiming();
        w.hub->handleFlagsChanged(released);
        state.PauseTiming();
        keyboard.flagsChanged({});
        w.clock.advance(200);
        state.ResumeTiming();
    }
}
// Each iteration's paused set-up takes milliseconds: left to choose, the
// library would run it for many minutes to time a few microseconds.
BENCHMARK(BM_ReleaseToActivation)->Unit(benchmark::kMicrosecond)->Iterations(1000);

void BM_LaunchFromStoredGrid(benchmark::State& state) {
    auto& w = world();
    for (auto _ : state) {
        state.PauseTiming();
        w.hub.reset();
        zelvana::keyboardshortcuts::resetForTesting();
        state.ResumeTiming();
        w.hub = std::make_unique<ZelvanaManager>();
        state.PauseTiming();
        if (w.hub->spaceGrid().spaces().size() < 300) state.SkipWithError("spaces were lost");
        state.ResumeTiming();
    }
    w.clock.advance(1100);
}
BENCHMARK(BM_LaunchFromStoredGrid)->Unit(benchmark::kMillisecond);

}  // namespace
