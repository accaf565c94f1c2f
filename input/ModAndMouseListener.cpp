#include "input/ModAndMouseListener.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::input {

ModAndMouseListener::ModAndMouseListener()
    : modifierMonitor_(std::make_unique<eventmonitor::PassiveEventMonitor>(
          platform::EventMask::flagsChanged,
          [this](const std::optional<platform::Event>& event) { handleFlagsChanged(event); })),
      mouseMonitor_(std::make_unique<eventmonitor::PassiveEventMonitor>(
          platform::eventMaskFor(platform::EventType::mouseMoved),
          [this](const std::optional<platform::Event>& event) { handleMouseMoved(event); })) {}

ModAndMouseListener::~ModAndMouseListener() {
    modifierMonitor_->stop();
    mouseMonitor_->stop();
}

bool ModAndMouseListener::isHeld(const platform::Event& event) const {
    const auto flags = event.deviceIndependentModifierFlags();
    return !flags.isEmpty() && !configuredFlags_.isEmpty() &&
           (flags == configuredFlags_ ||
            flags == (configuredFlags_ | platform::Modifier::capsLock));
}

void ModAndMouseListener::handleFlagsChanged(const std::optional<platform::Event>& event) {
    platform::assertMainThread();
    if (!event) return;
    if (isHeld(*event)) {
        mouseMonitor_->start();
        if (delegate_) delegate_->modifiersDidPress();
    } else {
        mouseMonitor_->stop();
        if (delegate_) delegate_->modifiersDidRelease();
    }
}

void ModAndMouseListener::handleMouseMoved(const std::optional<platform::Event>& event) {
    platform::assertMainThread();
    if (!event) return;
    if (isHeld(*event)) {
        if (delegate_) delegate_->mouseDidMove();
    } else {
        mouseMonitor_->stop();
    }
}

void ModAndMouseListener::restartMonitoring() {
    platform::assertMainThread();
    if (!configuredFlags_.isEmpty() && isActive_) {
        modifierMonitor_->start();
        return;
    }
    modifierMonitor_->stop();
    mouseMonitor_->stop();
}

}  // namespace zelvana::input
