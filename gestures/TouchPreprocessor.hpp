#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "gestures/TouchEvent.hpp"
#include "platform/appkit/Event.hpp"

namespace zelvana::gestures {

// Turns each tapped gesture event into a TouchEvent, remembering when each
// touch began. Three filters can hide a resting palm or resting thumbs from
// the recognizers; all are off when the preprocessor is made. Main thread.
class TouchPreprocessor {
public:
    TouchEvent touchEvent(const platform::Event& event);

    bool filterBottomThumb = false;
    bool filterTopThumb = false;
    bool filterPalm = false;

    const std::map<std::int64_t, double>& touchBeginTimestamps() const {
        return touchBeginTimestamps_;
    }

    // Devices this low or lower report no usable touches.
    static constexpr double minimumDeviceHeight = 40.0;

private:
    // The event's whole touch set and its time, as the filters see them.
    struct Frame {
        const std::vector<platform::Touch>& all;
        double time;
    };

    std::optional<Touch> makeTouch(const platform::Touch& touch, const Frame& frame);
    TouchPhaseBits filtered(const platform::Touch& touch, TouchPhaseBits phase, const Frame& frame);
    TouchPhaseBits bottomThumb(const platform::Touch& touch, TouchPhaseBits phase,
                               const Frame& frame);
    TouchPhaseBits topThumb(const platform::Touch& touch, TouchPhaseBits phase, const Frame& frame);
    TouchPhaseBits palm(const platform::Touch& touch, TouchPhaseBits phase, const Frame& frame);
    bool beganLongerAgoThan(std::int64_t id, double seconds, double now) const;

    std::map<std::int64_t, double> touchBeginTimestamps_;
    std::set<std::int64_t> restingPalm_;
    std::set<std::int64_t> restingTopThumb_;
    std::set<std::int64_t> restingBottomThumb_;
};

}  // namespace zelvana::gestures
