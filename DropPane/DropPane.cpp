#include "DropPane/DropPane.hpp"

#include <algorithm>

#include "platform/core/MainThread.hpp"

namespace zelvana::droppane {

std::optional<DropPane> DropPane::make(DropPaneOptions options) {
    platform::assertMainThread();
    auto controller = DropPaneWindowController::load();
    if (!controller) return std::nullopt;
    return DropPane(std::move(options), std::move(controller));
}

DropPane::DropPane(DropPaneOptions options, std::shared_ptr<DropPaneWindowController> controller)
    : windowController_(std::move(controller)), options_(std::move(options)) {
    const bool takesFiles = std::ranges::any_of(
        options_.dropUnits, [](const DropUnit& unit) { return unit.receive != nullptr; });
    if (takesFiles) dragListener_ = std::make_shared<DragListener>(options_, windowController_);
    windowController_->setOptions(options_);
    windowController_->applyOptions();
}

void DropPane::setOptions(DropPaneOptions options) {
    platform::assertMainThread();
    options_ = std::move(options);
    windowController_->setOptions(options_);
    windowController_->applyOptions();
    if (dragListener_) dragListener_->setOptions(options_);
}

void DropPane::setDropUnits(std::vector<DropUnit> units) {
    platform::assertMainThread();
    auto options = options_;
    options.dropUnits = std::move(units);
    setOptions(std::move(options));
}

void DropPane::setLocation(DropPaneLocation location) {
    platform::assertMainThread();
    auto options = options_;
    options.location = location;
    setOptions(std::move(options));
}

void DropPane::show(const std::optional<platform::Event>& event) {
    platform::assertMainThread();
    windowController_->show(event);
}
void DropPane::hide() {
    platform::assertMainThread();
    windowController_->hide();
}
void DropPane::showLater(const std::optional<platform::Event>& event) {
    windowController_->showLater(event);
}
void DropPane::mouseUp(const std::any& value) {
    windowController_->mouseUp(value);
}

}  // namespace zelvana::droppane
