#include "gestures/TouchPreprocessor.hpp"
#include "platform/core/MainThread.hpp"

#include <algorithm>
#include <cmath>
#include <functional>

namespace zelvana::gestures {

namespace {

std::int64_t idOf(const platform::Touch& touch) {
    return static_cast<std::int64_t>(std::hash<std::uint64_t>{}(touch.identity));
}

double distance(const platform::Touch& a, const platform::Touch& b) {
    const double dx =
        a.normalizedPosition.x * a.deviceSize.width - b.normalizedPosition.x * b.deviceSize.width;
    const double dy =
        a.normalizedPosition.y * a.deviceSize.height - b.normalizedPosition.y * b.deviceSize.height;
    return std::hypot(dx, dy);
}

bool farFromOthers(const platform::Touch& touch, const std::vector<platform::Touch>& all,
                   double minimum) {
    return std::all_of(all.begin(), all.end(), [&](const platform::Touch& other) {
        return other.identity == touch.identity || distance(touch, other) >= minimum;
    });
}

std::int64_t phaseWeight(TouchPhaseBits phase) {
    switch (phase) {
        case kPhaseBegan:
            return 0x1;
        case kPhaseMoved:
        case kPhaseStationary:
            return 0x10;
        case kPhaseEnded:
            return 0x100;
        default:
            return 0;
    }
}

// Takes a touch out of a filter's resting set; it shows again with `phase`.
TouchPhaseBits leave(std::set<std::int64_t>& resting, std::int64_t id, TouchPhaseBits phase) {
    resting.erase(id);
    return phase;
}

// A touch hidden by a filter is reported ended once, and then not at all.
TouchPhaseBits hide(bool justBegan) {
    return justBegan ? 0 : kPhaseEnded;
}

}  // namespace

TouchEvent TouchPreprocessor::touchEvent(const platform::Event& event) {
    platform::assertMainThread();
    const Frame frame{event.allTouches(), event.timestamp};
    TouchEvent result;
    result.timestamp = event.timestamp;
    int moved = 0;
    for (const auto& raw : frame.all) {
        const auto touch = makeTouch(raw, frame);
        if (!touch) continue;
        result.touches.push_back(*touch);
        result.phaseHex += phaseWeight(touch->phase);
        if (touch->phase == kPhaseMoved) ++moved;
    }
    std::sort(result.touches.begin(), result.touches.end(),
              [](const Touch& a, const Touch& b) { return a.id < b.id; });
    result.touchCount = static_cast<int>(result.touches.size());
    result.gestureEnded = result.phaseHex > 0 && (result.phaseHex & 0xFF) == 0;
    if (result.gestureEnded) touchBeginTimestamps_.clear();
    result.gestureMoved = moved == result.touchCount;
    result.touchBeginTimestamps = touchBeginTimestamps_;
    return result;
}

std::optional<Touch> TouchPreprocessor::makeTouch(const platform::Touch& touch,
                                                  const Frame& frame) {
    if (touch.deviceSize.height <= minimumDeviceHeight) return std::nullopt;
    const TouchPhaseBits phase = filtered(touch, touch.phase, frame);
    if (phase == 0) return std::nullopt;
    const std::int64_t id = idOf(touch);
    if (touch.phase == platform::touchPhaseBegan) touchBeginTimestamps_[id] = frame.time;
    if (touch.phase == platform::touchPhaseEnded) touchBeginTimestamps_.erase(id);
    return Touch{id, touch.normalizedPosition, touch.deviceSize, phase};
}

TouchPhaseBits TouchPreprocessor::filtered(const platform::Touch& touch, TouchPhaseBits phase,
                                           const Frame& frame) {
    if (filterBottomThumb) phase = bottomThumb(touch, phase, frame);
    if (filterPalm) phase = palm(touch, phase, frame);
    if (filterTopThumb) phase = topThumb(touch, phase, frame);
    return phase;
}

TouchPhaseBits TouchPreprocessor::bottomThumb(const platform::Touch& touch, TouchPhaseBits phase,
                                              const Frame& frame) {
    if (phase == 0) return 0;
    const std::int64_t id = idOf(touch);
    const double y = touch.normalizedPosition.y;
    if (restingBottomThumb_.count(id) != 0) {
        if (frame.all.size() == 1) return leave(restingBottomThumb_, id, kPhaseBegan);
        if (phase == kPhaseEnded) return leave(restingBottomThumb_, id, 0);
        if (y <= 0.08) return 0;
        return leave(restingBottomThumb_, id, kPhaseBegan);
    }
    if (y < 0.03 && frame.all.size() >= 2 && beganLongerAgoThan(id, 0.1, frame.time)) {
        restingBottomThumb_.insert(id);
        return kPhaseEnded;
    }
    return phase;
}

TouchPhaseBits TouchPreprocessor::topThumb(const platform::Touch& touch, TouchPhaseBits phase,
                                           const Frame& frame) {
    if (phase == 0) return 0;
    const std::int64_t id = idOf(touch);
    const double y = touch.normalizedPosition.y;
    if (restingTopThumb_.count(id) != 0) {
        if (frame.all.size() == 1) return leave(restingTopThumb_, id, kPhaseBegan);
        if (phase == kPhaseEnded) return leave(restingTopThumb_, id, 0);
        if (y >= 0.8) return 0;
        return leave(restingTopThumb_, id, kPhaseBegan);
    }
    if (y > 0.9 && frame.all.size() >= 2 && farFromOthers(touch, frame.all, 130.0)) {
        restingTopThumb_.insert(id);
        return hide(phase == kPhaseBegan);
    }
    return phase;
}

TouchPhaseBits TouchPreprocessor::palm(const platform::Touch& touch, TouchPhaseBits phase,
                                       const Frame& frame) {
    if (phase == 0) return 0;
    const std::int64_t id = idOf(touch);
    const double x = touch.normalizedPosition.x;
    if (restingPalm_.count(id) != 0) {
        if (frame.all.size() == 1) return leave(restingPalm_, id, kPhaseBegan);
        if (phase == kPhaseEnded) return leave(restingPalm_, id, 0);
        if (x <= 0.3 || x >= 0.7) return 0;
        return leave(restingPalm_, id, kPhaseBegan);
    }
    if ((x < 0.15 || x > 0.85) && frame.all.size() >= 2 && farFromOthers(touch, frame.all, 140.0)) {
        restingPalm_.insert(id);
        return hide(phase == kPhaseBegan);
    }
    return phase;
}

bool TouchPreprocessor::beganLongerAgoThan(std::int64_t id, double seconds, double now) const {
    // A touch whose beginning was never seen has no age to compare.
    const auto began = touchBeginTimestamps_.find(id);
    return began != touchBeginTimestamps_.end() && now - began->second > seconds;
}

}  // namespace zelvana::gestures
