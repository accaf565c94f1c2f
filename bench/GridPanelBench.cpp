// The grid panel's hot paths: building and showing the panel for 60 spaces
// on the main display, pictures already made, and one highlight move.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "GridPanel/EmptyGridElement.hpp"
#include "GridPanel/GridPanelWindowController.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/core/Weak.hpp"
#include "platform/simulator/Desktop.hpp"

namespace {

namespace platform = zelvana::platform;
using zelvana::gridpanel::AutoClose;
using zelvana::gridpanel::ElementRows;
using zelvana::gridpanel::EmptyGridElement;
using zelvana::gridpanel::GridPanelDelegate;
using zelvana::gridpanel::GridPanelOptions;
using zelvana::gridpanel::GridPanelWindowController;

constexpr int kSpaces = 60;
constexpr int kColumns = 3;
// A space's cell: a 1920 x 1080 display at the default size factor of 0.13.
constexpr platform::Size kCellSize{1920 * 0.13, 1080 * 0.13};

struct QuietDelegate final : GridPanelDelegate {
    void gridChanged(std::optional<std::int64_t>, const zelvana::gridpanel::ElementRows&) override {
    }
    void panelClosed() override {}
    void panelMoved() override {}
    void flagsChanged(const platform::Event&) override {}
    std::optional<platform::Event> handleKeyDown(const platform::Event& event) override {
        return event;
    }
    void selectionChanged(const zelvana::gridpanel::GridElementRef&) override {}
};

// The main display, and the spaces with their pictures.
struct World {
    ElementRows rows;
    QuietDelegate delegate;
    platform::WeakFactory<QuietDelegate> weakDelegate{&delegate};
    std::shared_ptr<GridPanelOptions> options = std::make_shared<GridPanelOptions>();

    World() {
        platform::Desktop::shared().addDisplay(
            platform::Display::make(1, platform::Rect::make(0, 0, 1920, 1080), "Main"));
        options->delegate = weakDelegate.ref();
        options->radius = 10.0;
        const platform::Image picture(platform::Size{96, 54});
        for (int space = 0; space < kSpaces; ++space) {
            if (space % kColumns == 0) rows.emplace_back();
            auto element = std::make_shared<EmptyGridElement>(kCellSize);
            element->setTitle("Space " + std::to_string(space + 1));
            element->setImage(picture);
            rows.back().push_back(std::move(element));
        }
    }
};

World& world() {
    static World instance;
    return instance;
}

void BM_BuildAndShowPanel(benchmark::State& state) {
    GridPanelWindowController controller(world().options);
    for (auto _ : state) {
        controller.reload(std::nullopt, world().rows);
        controller.show(AutoClose::off);
        state.PauseTiming();
        controller.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildAndShowPanel)->Unit(benchmark::kMicrosecond);

void BM_MoveHighlight(benchmark::State& state) {
    GridPanelWindowController controller(world().options);
    controller.reload(std::nullopt, world().rows);
    controller.show(AutoClose::off);
    std::int64_t direction = 4;  // right, then left: one move each
    for (auto _ : state) {
        controller.move(direction);
        direction = direction == 4 ? 3 : 4;
    }
    controller.close();
}
BENCHMARK(BM_MoveHighlight);

}  // namespace
