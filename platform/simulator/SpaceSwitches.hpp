#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "platform/core/Weak.hpp"
#include "platform/desktop/Display.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::platform {

// The switches of displays from one space to another. Each takes `duration`
// seconds of the platform clock, as the system's animation does, and the
// display changes only at its end. One runs at a time: a switch asked for
// while another runs follows it. Main thread only.
class SpaceSwitches {
public:
    static constexpr TimeInterval defaultDuration = 0.25;
    // Called at the end of each switch.
    using Finished = std::function<void(DisplayID display, SpaceID space)>;

    explicit SpaceSwitches(Finished finished) : finished_(std::move(finished)) {}
    SpaceSwitches(const SpaceSwitches&) = delete;
    SpaceSwitches& operator=(const SpaceSwitches&) = delete;

    TimeInterval duration() const { return duration_; }
    void setDuration(TimeInterval seconds) { duration_ = seconds > 0 ? seconds : 0; }

    // Queues a switch of the display to the space; nothing when the display
    // shows it (`shown`) or is already on its way there.
    void request(DisplayID display, SpaceID space, SpaceID shown);
    // The space the display is on its way to, if it is switching.
    std::optional<SpaceID> destination(DisplayID display) const;
    bool isSwitching() const { return !queue_.empty(); }
    // Drops every switch, the running one included.
    void cancelAll();

private:
    struct Switch {
        DisplayID display;
        SpaceID space;
    };
    void startNext();
    void finishFront();

    Finished finished_;
    TimeInterval duration_ = defaultDuration;
    // The running switch first.
    std::deque<Switch> queue_;
    std::shared_ptr<WorkItem> running_;
    WeakFactory<SpaceSwitches> weak_{this};
};

}  // namespace zelvana::platform
