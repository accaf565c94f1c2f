#include <benchmark/benchmark.h>

#include "platform/simulator/Desktop.hpp"
#include "switcher/SpaceSwitcher.hpp"

namespace {

using zelvana::platform::Desktop;
using zelvana::platform::Display;
using zelvana::platform::Rect;
using zelvana::switcher::SpaceSwitcher;

constexpr int kDisplays = 6;

// Six displays side by side, and the cap's worth of anchors spread over their
// shown spaces, so every refresh reconciles full lists and adds nothing.
void setUpDesktop() {
    auto& desktop = Desktop::shared();
    desktop.resetForTesting();
    SpaceSwitcher::resetSharedForTesting();
    for (int number = 1; number <= kDisplays; ++number) {
        const auto frame = Rect::make(1920.0 * (number - 1), 0, 1920, 1080);
        desktop.addDisplay(Display::make(number, frame, "Display " + std::to_string(number)));
    }
    auto& switcher = SpaceSwitcher::shared();
    switcher.refreshAnchors();
    const auto screens = zelvana::platform::Screen::screens();
    const auto cap = static_cast<std::size_t>(switcher.options()->anchorCountCap);
    for (std::size_t i = switcher.anchors().size(); i < cap; ++i) {
        switcher.addAnchor(screens[i % screens.size()]);
    }
}

void BM_RefreshAnchors(benchmark::State& state) {
    setUpDesktop();
    auto& switcher = SpaceSwitcher::shared();
    for (auto _ : state) {
        switcher.refreshAnchors();
    }
    state.counters["anchors"] = static_cast<double>(switcher.anchors().size());
    state.counters["displays"] = kDisplays;
    SpaceSwitcher::resetSharedForTesting();
}
BENCHMARK(BM_RefreshAnchors);

}  // namespace
