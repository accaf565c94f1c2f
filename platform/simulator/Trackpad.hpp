#pragma once

#include <cstdint>
#include <map>
#include <optional>

#include "platform/appkit/Event.hpp"

namespace zelvana::platform {

// The simulated trackpad. A test stages what each finger does (comes down,
// moves, lifts, is cancelled), then sends a frame: one gesture event (type
// 29) with every finger on the pad, those staged with their new phase and the
// others stationary, stamped with the clock's uptime. Event taps see the
// frame; lifted and cancelled fingers are gone afterwards. Main thread only.
class Trackpad {
public:
    static Trackpad& shared();

    // Points; every touch carries it.
    Size deviceSize() const { return deviceSize_; }
    void setDeviceSize(Size size) { deviceSize_ = size; }

    // A finger is named by the identity its touches carry. Staging a finger
    // that is not on the pad (or already on it, for touchDown) is ignored.
    void touchDown(std::uint64_t finger, Point position);
    void move(std::uint64_t finger, Point position);
    void lift(std::uint64_t finger);
    void cancel(std::uint64_t finger);
    // Stages a move of every finger on the pad by the same offset.
    void moveAll(double dx, double dy);
    // Stages a lift of every finger on the pad.
    void liftAll();

    // The staged frame as an event; the staging is consumed.
    Event nextFrame();
    // Sends the staged frame to the event taps. Returns what they left of it.
    std::optional<Event> sendFrame();

    std::size_t fingerCount() const { return fingers_.size(); }
    std::optional<Point> position(std::uint64_t finger) const;

    // No fingers; the default device size.
    void resetForTesting();

    static constexpr Size defaultDeviceSize{450, 300};

private:
    struct Finger {
        Point position;
        TouchPhase phase = touchPhaseStationary;
    };

    Trackpad() = default;
    void stage(std::uint64_t finger, TouchPhase phase, std::optional<Point> position);

    Size deviceSize_ = defaultDeviceSize;
    std::map<std::uint64_t, Finger> fingers_;
};

}  // namespace zelvana::platform
