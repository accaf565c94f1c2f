#include "platform/simulator/Trackpad.hpp"

#include "platform/core/MainThread.hpp"
#include "platform/input/EventTap.hpp"

namespace zelvana::platform {

namespace {

bool isGone(TouchPhase phase) {
    return phase == touchPhaseEnded || phase == touchPhaseCancelled;
}

}  // namespace

Trackpad& Trackpad::shared() {
    platform::assertMainThread();
    static Trackpad instance;
    return instance;
}

void Trackpad::touchDown(std::uint64_t finger, Point position) {
    platform::assertMainThread();
    if (fingers_.count(finger) != 0) return;
    fingers_[finger] = Finger{position, touchPhaseBegan};
}

void Trackpad::move(std::uint64_t finger, Point position) {
    platform::assertMainThread();
    stage(finger, touchPhaseMoved, position);
}

void Trackpad::lift(std::uint64_t finger) {
    platform::assertMainThread();
    stage(finger, touchPhaseEnded, std::nullopt);
}

void Trackpad::cancel(std::uint64_t finger) {
    platform::assertMainThread();
    stage(finger, touchPhaseCancelled, std::nullopt);
}

void Trackpad::moveAll(double dx, double dy) {
    platform::assertMainThread();
    for (auto& [identity, finger] : fingers_) {
        move(identity, Point{finger.position.x + dx, finger.position.y + dy});
    }
}

void Trackpad::liftAll() {
    platform::assertMainThread();
    for (const auto& entry : fingers_) lift(entry.first);
}

void Trackpad::stage(std::uint64_t finger, TouchPhase phase, std::optional<Point> position) {
    auto found = fingers_.find(finger);
    if (found == fingers_.end() || isGone(found->second.phase)) return;
    // A finger that came down in this frame keeps "began" while it moves.
    if (phase != touchPhaseMoved || found->second.phase != touchPhaseBegan) {
        found->second.phase = phase;
    }
    if (position) found->second.position = *position;
}

Event Trackpad::nextFrame() {
    platform::assertMainThread();
    Event event;
    event.type = EventType::gesture;
    event.timestamp = clock().uptime();
    for (auto it = fingers_.begin(); it != fingers_.end();) {
        auto& finger = it->second;
        event.touches.push_back(Touch{it->first, finger.phase, finger.position, deviceSize_});
        if (isGone(finger.phase)) {
            it = fingers_.erase(it);
            continue;
        }
        finger.phase = touchPhaseStationary;
        ++it;
    }
    return event;
}

std::optional<Event> Trackpad::sendFrame() {
    platform::assertMainThread();
    return EventTap::post(nextFrame());
}

std::optional<Point> Trackpad::position(std::uint64_t finger) const {
    const auto found = fingers_.find(finger);
    if (found == fingers_.end()) return std::nullopt;
    return found->second.position;
}

void Trackpad::resetForTesting() {
    platform::assertMainThread();
    deviceSize_ = defaultDeviceSize;
    fingers_.clear();
}

}  // namespace zelvana::platform
