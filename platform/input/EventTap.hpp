#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/appkit/Event.hpp"
#include "platform/dispatch/RunLoop.hpp"

namespace zelvana::platform {

// The type number of a tapped event: an event type's number, or one of the
// two notifications below.
using CGEventType = std::uint32_t;
// The event types a tap wants; the same numbering as AppKit's masks.
using CGEventMask = EventTypeMask;
// Sent to a tap's callback when the system has disabled the tap because the
// callback took too long, or because of the user's input (secure entry).
inline constexpr CGEventType kCGEventTapDisabledByTimeout = 0xFFFFFFFEu;
inline constexpr CGEventType kCGEventTapDisabledByUserInput = 0xFFFFFFFFu;

enum class EventTapLocation { hid, session, annotatedSession };
enum class EventTapPlacement { headInsert, tailAppend };
// An active (default) tap may replace or swallow events; a listen-only tap
// sees them and its answer is ignored.
enum class EventTapOptions { defaultTap, listenOnly };

class EventTap;
// The tap that calls back; a callback may re-enable it.
using EventTapProxy = EventTap*;
// Returns the event to pass on (the same or another), or nothing to swallow
// it. Runs on the thread whose run loop serves the tap.
using EventTapCallback =
    std::function<std::optional<Event>(EventTapProxy proxy, CGEventType type, const Event& event)>;

// The application's event for a tapped one: nothing when `type` is not the
// event's own type (as for the two notifications).
std::optional<Event> eventWithCGEvent(CGEventType type, const Event& event);

// A Quartz-style event tap. The system shows an event to a tap by signalling
// the tap's run-loop source and waiting for the callback's answer on the
// thread whose loop holds the source; a tap whose source is in no loop is
// passed by. A tap that does not answer within the reply timeout is disabled
// and told so. Creation, enabling and invalidation are thread-safe.
class EventTap : public std::enable_shared_from_this<EventTap> {
public:
    // CGEventTapCreate: enabled from the start; null when the permissions
    // do not allow the tap (see Permissions) or without a callback.
    static std::shared_ptr<EventTap> create(EventTapLocation location, EventTapPlacement placement,
                                            EventTapOptions options, CGEventMask mask,
                                            EventTapCallback callback);
    ~EventTap();
    EventTap(const EventTap&) = delete;
    EventTap& operator=(const EventTap&) = delete;

    EventTapLocation location() const { return location_; }
    EventTapPlacement placement() const { return placement_; }
    EventTapOptions options() const { return options_; }
    bool isListenOnly() const { return options_ == EventTapOptions::listenOnly; }
    CGEventMask mask() const { return mask_; }

    // CGEventTapEnable / CGEventTapIsEnabled. A tap the permissions no longer
    // allow sees nothing, enabled or not.
    void enable(bool enabled) { enabled_ = enabled; }
    bool isEnabled() const { return enabled_; }
    // CFMachPortInvalidate: the tap is never called again, and events it
    // still holds pass on unchanged.
    void invalidate();
    bool isValid() const { return valid_; }
    // The tap's run-loop source; the same one on every call.
    std::shared_ptr<RunLoopSource> runLoopSource();

    // --- The system's side ---

    // Shows an event to every enabled tap whose mask has its type: taps at
    // the HID location first, then session, then annotated session; at
    // each, head-inserted taps newest first, then appended ones oldest
    // first. Returns what is left to deliver, or nothing when a tap
    // swallowed it.
    static std::optional<Event> post(Event event);
    static std::optional<Event> post(CGEventType type, Event event);
    // Disables the tap and tells its callback with `reason` (one of the two
    // notifications), waiting for the callback as for an event.
    void disableBySystem(CGEventType reason);
    // A permission was taken away: every enabled tap that the permissions
    // no longer allow is disabled and told so (by user input).
    static void disableTapsNoLongerAllowed();
    // The valid taps, in creation order.
    static std::vector<std::shared_ptr<EventTap>> taps();
    // How long (real seconds) the system waits for a callback's answer.
    static void setReplyTimeout(TimeInterval seconds);
    static TimeInterval replyTimeout();
    // Forgets every tap and restores the reply timeout.
    static void resetForTesting();

    static constexpr TimeInterval defaultReplyTimeout = 1.0;

private:
    struct Delivery;
    // What a callback answered, if it did in time.
    using Answer = std::optional<std::optional<Event>>;

    EventTap(EventTapLocation location, EventTapPlacement placement, EventTapOptions options,
             CGEventMask mask, EventTapCallback callback);
    static std::vector<std::shared_ptr<EventTap>> inPassingOrder();
    bool wants(CGEventType type) const;
    Answer deliver(CGEventType type, const Event& event);
    bool isServedByCallingThread(const std::vector<std::shared_ptr<RunLoop>>& loops) const;
    void timedOut(const std::shared_ptr<Delivery>& delivery);
    // Runs the callback for each held event; the source's work.
    void serve();
    std::optional<Event> answerFor(CGEventType type, const Event& event);

    const EventTapLocation location_;
    const EventTapPlacement placement_;
    const EventTapOptions options_;
    const CGEventMask mask_;
    const EventTapCallback callback_;
    const std::uint64_t sequence_;
    std::atomic<bool> enabled_{true};
    std::atomic<bool> valid_{true};
    std::mutex mutex_;
    std::shared_ptr<RunLoopSource> source_;
    std::deque<std::shared_ptr<Delivery>> inbox_;
};

}  // namespace zelvana::platform
