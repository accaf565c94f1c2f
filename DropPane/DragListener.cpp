#include "DropPane/DragListener.hpp"

#include <algorithm>

#include "platform/appkit/Pasteboard.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::droppane {

using platform::Event;
using platform::EventMask;
using platform::EventType;

namespace {

const platform::EventTypeMask kDragMask = EventMask::leftMouseUp | EventMask::leftMouseDragged;
const platform::EventTypeMask kFlagsMask = EventMask::flagsChanged;

template <class Monitor>
void stopAndDrop(std::unique_ptr<Monitor>& monitor) {
    if (monitor) monitor->stop();
    monitor.reset();
}

}  // namespace

DragListener::DragListener(DropPaneOptions options,
                           std::shared_ptr<DropPaneWindowController> windowController)
    : options_(std::move(options)) {
    apply(options_);
    windowController_ = std::move(windowController);
}

void DragListener::setOptions(DropPaneOptions options) {
    platform::assertMainThread();
    options_ = std::move(options);
    apply(options_);
}

void DragListener::apply(const DropPaneOptions& options) {
    platform::assertMainThread();
    if (options.location == DropPaneLocation::none) {
        stopAllPaneMonitors();
    } else if (!options.paneModifier.isEmpty()) {
        stopDragMonitor();
        hidePane();
        startPaneModifierMonitors();
    } else {
        // Nothing to wait for: drags are watched all the time.
        stopAndDrop(paneModKeyMonitor_);
        startDragMonitor();
    }
    updateAppMonitoring();
}

void DragListener::updateAppMonitoring() {
    if (!options_.customModifier.isEmpty()) {
        startAppModifierMonitors();
    } else {
        stopAppMonitors();
    }
}

void DragListener::handlePaneModifier(const std::optional<Event>& event) {
    if (!event) return;
    if (event->deviceIndependentModifierFlags() != options_.paneModifier) {
        // An open pane stays until the mouse goes up.
        if (dropPaneDisplayed_) return;
        stopDragMonitor();
        hidePane();
    } else {
        startDragMonitor();
    }
}

void DragListener::handleDrag(const std::optional<Event>& event) {
    if (!event) return;
    const bool modifierHeld = event->deviceIndependentModifierFlags() == options_.paneModifier;
    if (event->type == EventType::leftMouseUp) {
        hidePane();
        dropPaneDisplayed_ = false;
        if (options_.paneModifier.isEmpty() || modifierHeld) return;
        stopDragMonitor();
        hidePane();
        return;
    }
    if (!options_.paneModifier.isEmpty() && !modifierHeld) return;

    const auto& pasteboard = platform::Pasteboard::withName(platform::kPasteboardNameDrag);
    const long changeCount = pasteboard.changeCount();
    if (!lastChangeCount_ || *lastChangeCount_ == changeCount) {
        // The first event only sets the baseline; a drag already judged stays so.
        lastChangeCount_ = changeCount;
        return;
    }
    const auto& items = pasteboard.pasteboardItems();
    if (!items) return;
    lastChangeCount_ = changeCount;
    const bool hasFiles = std::ranges::any_of(*items, [](const platform::PasteboardItem& item) {
        const auto types = item.types();
        return std::ranges::find(types, platform::kPasteboardTypeFileURL) != types.end();
    });
    if (!hasFiles) return;
    if (windowController_) windowController_->show(event);
    dropPaneDisplayed_ = true;
}

void DragListener::handleAppModifier(const std::optional<Event>& event) {
    if (!event) return;
    if (event->deviceIndependentModifierFlags() != options_.customModifier) {
        if (!appOpenedByDrag) stopAndDrop(appEventMonitor_);
        return;
    }
    stopAndDrop(appEventMonitor_);
    appEventMonitor_ =
        std::make_unique<GlobalMonitor>(kDragMask, [weak = weak_.ref()](const Event& drag) {
            if (auto* self = weak.get()) self->forwardAppDrag(drag);
        });
    appEventMonitor_->start();
}

void DragListener::forwardAppDrag(const std::optional<Event>& event) {
    if (auto* host = delegate.get()) host->dragEvent(event);
}

void DragListener::startDragMonitor() {
    if (eventMonitor_) return;
    eventMonitor_ = std::make_unique<GlobalMonitor>(
        kDragMask, [this](const Event& event) { handleDrag(event); });
    eventMonitor_->start();
}

void DragListener::stopDragMonitor() {
    stopAndDrop(eventMonitor_);
}

void DragListener::startModifierMonitor(std::unique_ptr<ModifierMonitor>& monitor,
                                        ModifierHandler handler) {
    if (monitor) return;
    monitor = std::make_unique<ModifierMonitor>(
        kFlagsMask,
        [this, handler](const std::optional<Event>& event) { (this->*handler)(event); });
    monitor->start();
}

void DragListener::startPaneModifierMonitors() {
    startModifierMonitor(paneModKeyMonitor_, &DragListener::handlePaneModifier);
}

void DragListener::stopAllPaneMonitors() {
    stopDragMonitor();
    hidePane();
    stopAndDrop(paneModKeyMonitor_);
}

void DragListener::startAppModifierMonitors() {
    startModifierMonitor(appModKeyMonitor_, &DragListener::handleAppModifier);
}

void DragListener::stopAppMonitors() {
    stopAndDrop(appEventMonitor_);
    stopAndDrop(appModKeyMonitor_);
}

void DragListener::hidePane() {
    if (windowController_) windowController_->hide();
}

}  // namespace zelvana::droppane
