#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Zelvana/Driver/Command.hpp"
#include "platform/core/Weak.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::driver {

// The person's fingers on the simulated trackpad. A swipe and a rest take a
// moment, their frames going out on the main queue meanwhile; a rest leaves
// one finger down, which "steer" moves and "lift" lifts. A gesture is refused
// while another plays or while fingers are left on the pad. Main thread.
class TrackpadUser {
public:
    ~TrackpadUser();

    // A swipe or a rest is over this many seconds after it began.
    static constexpr double gestureDuration = 0.2;

    // Fingers come down side by side, travel a quarter of the pad in
    // `direction` (up is away from the person) and lift.
    Refusal swipe(int fingers, Direction direction);
    // Fingers come down, rest, and all but the first lift.
    Refusal rest(int fingers);
    // The one finger left travels 40 points.
    Refusal steer(Direction direction);
    // Every finger lifts.
    Refusal lift();

private:
    using Step = std::function<void()>;

    Refusal refusalToStart() const;
    // Runs the steps 50 ms apart, the first at once.
    void play(std::vector<Step> steps);
    void playFrom(std::vector<Step> steps, std::size_t index);

    std::shared_ptr<platform::WorkItem> pending_;
    bool playing_ = false;
    platform::WeakFactory<TrackpadUser> weak_{this};
};

}  // namespace zelvana::driver
