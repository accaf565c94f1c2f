#include "platform/input/EventTap.hpp"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <string>

#include "platform/core/ObserverFault.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/system/Permissions.hpp"

namespace zelvana::platform {

namespace {

// An active tap needs accessibility trust; a listen-only tap needs either
// permission.
bool allowsEventTap(EventTapOptions options) {
    if (Permissions::isAccessibilityTrusted()) return true;
    return options == EventTapOptions::listenOnly &&
           Permissions::inputMonitoringAccess() == Permissions::Access::granted;
}

struct Registry {
    std::mutex mutex;
    std::vector<std::weak_ptr<EventTap>> taps;
    std::uint64_t nextSequence = 0;
    std::atomic<TimeInterval> replyTimeout{EventTap::defaultReplyTimeout};
};

Registry& registry() {
    static auto* instance = new Registry();  // taps may outlive statics
    return *instance;
}

}  // namespace

// One event held for a tap, with the callback's answer once it came.
struct EventTap::Delivery {
    CGEventType type;
    Event event;
    std::mutex mutex;
    std::condition_variable answered;
    Answer answer;

    void reply(std::optional<Event> result) {
        {
            std::lock_guard lock(mutex);
            if (answer) return;
            answer = std::move(result);
        }
        answered.notify_all();
    }
    Answer currentAnswer() {
        std::lock_guard lock(mutex);
        return answer;
    }
    Answer waitForAnswer(TimeInterval seconds) {
        std::unique_lock lock(mutex);
        answered.wait_for(lock, std::chrono::duration<double>(seconds),
                          [&] { return answer.has_value(); });
        return answer;
    }
};

std::optional<Event> eventWithCGEvent(CGEventType type, const Event& event) {
    if (type != static_cast<CGEventType>(event.type)) return std::nullopt;
    return event;
}

std::shared_ptr<EventTap> EventTap::create(EventTapLocation location, EventTapPlacement placement,
                                           EventTapOptions options, CGEventMask mask,
                                           EventTapCallback callback) {
    if (!callback) return nullptr;
    if (!allowsEventTap(options)) return nullptr;
    std::shared_ptr<EventTap> tap(
        new EventTap(location, placement, options, mask, std::move(callback)));
    auto& shared = registry();
    std::lock_guard lock(shared.mutex);
    shared.taps.push_back(tap);
    return tap;
}

EventTap::EventTap(EventTapLocation location, EventTapPlacement placement, EventTapOptions options,
                   CGEventMask mask, EventTapCallback callback)
    : location_(location),
      placement_(placement),
      options_(options),
      mask_(mask),
      callback_(std::move(callback)),
      sequence_([] {
          auto& shared = registry();
          std::lock_guard lock(shared.mutex);
          return shared.nextSequence++;
      }()) {}

EventTap::~EventTap() {
    invalidate();
}

void EventTap::invalidate() {
    std::deque<std::shared_ptr<Delivery>> held;
    std::shared_ptr<RunLoopSource> source;
    {
        std::lock_guard lock(mutex_);
        valid_ = false;
        held.swap(inbox_);
        source = source_;
    }
    if (source) source->invalidate();
    for (const auto& delivery : held) delivery->reply(delivery->event);
}

std::shared_ptr<RunLoopSource> EventTap::runLoopSource() {
    std::lock_guard lock(mutex_);
    if (!source_) {
        source_ = RunLoopSource::create(0, [weak = weak_from_this()] {
            if (auto tap = weak.lock()) tap->serve();
        });
        if (!valid_) source_->invalidate();
    }
    return source_;
}

bool EventTap::wants(CGEventType type) const {
    return enabled_ && valid_ && type < 64 &&
           mask_.intersects(CGEventMask::fromRaw(std::uint64_t{1} << type)) &&
           allowsEventTap(options_);
}

std::optional<Event> EventTap::post(Event event) {
    const auto type = static_cast<CGEventType>(event.type);
    return post(type, std::move(event));
}

std::optional<Event> EventTap::post(CGEventType type, Event event) {
    for (const auto& tap : inPassingOrder()) {
        if (!tap->wants(type)) continue;
        auto answer = tap->deliver(type, event);
        if (!answer || tap->isListenOnly()) continue;
        if (!*answer) return std::nullopt;
        event = std::move(**answer);
    }
    return event;
}

void EventTap::disableBySystem(CGEventType reason) {
    enabled_ = false;
    deliver(reason, Event{});
}

void EventTap::disableTapsNoLongerAllowed() {
    for (const auto& tap : taps()) {
        if (tap->isEnabled() && !allowsEventTap(tap->options())) {
            tap->disableBySystem(kCGEventTapDisabledByUserInput);
        }
    }
}

EventTap::Answer EventTap::deliver(CGEventType type, const Event& event) {
    auto source = runLoopSource();
    const auto loops = source->runLoops();
    if (loops.empty() || !valid_) return std::nullopt;
    auto delivery = std::make_shared<Delivery>();
    delivery->type = type;
    delivery->event = event;
    {
        std::lock_guard lock(mutex_);
        inbox_.push_back(delivery);
    }
    source->signal();
    // A loop of the calling thread can only have answered already (an idle
    // main loop turns at once); waiting would keep it from ever answering.
    if (isServedByCallingThread(loops)) return delivery->currentAnswer();
    auto answer = delivery->waitForAnswer(replyTimeout());
    if (!answer) timedOut(delivery);
    return answer;
}

bool EventTap::isServedByCallingThread(const std::vector<std::shared_ptr<RunLoop>>& loops) const {
    return std::any_of(loops.begin(), loops.end(), [](const std::shared_ptr<RunLoop>& loop) {
        return loop->isMain() ? isMainThread() : loop.get() == &RunLoop::current();
    });
}

void EventTap::timedOut(const std::shared_ptr<Delivery>& delivery) {
    // A late answer changes nothing now.
    delivery->reply(delivery->event);
    enabled_ = false;
    auto notification = std::make_shared<Delivery>();
    notification->type = kCGEventTapDisabledByTimeout;
    {
        std::lock_guard lock(mutex_);
        if (!valid_) return;
        inbox_.push_back(notification);
    }
    runLoopSource()->signal();
}

void EventTap::serve() {
    for (;;) {
        std::shared_ptr<Delivery> delivery;
        {
            std::lock_guard lock(mutex_);
            if (inbox_.empty()) return;
            delivery = inbox_.front();
            inbox_.pop_front();
        }
        if (delivery->currentAnswer()) continue;  // given up on already
        delivery->reply(valid_ ? answerFor(delivery->type, delivery->event) : delivery->event);
    }
}

std::optional<Event> EventTap::answerFor(CGEventType type, const Event& event) {
    std::optional<Event> result = event;
    try {
        result = callback_(this, type, event);
    } catch (...) {
        char mask[32];
        std::snprintf(mask, sizeof mask, "%#llx",
                      static_cast<unsigned long long>(mask_.rawValue()));
        observerThrew(std::string("callback of the event tap for mask ") + mask);
        // Where that returns, a failing callback passes the event on, as if it had not looked.
        return event;
    }
    return isListenOnly() ? std::optional<Event>(event) : result;
}

std::vector<std::shared_ptr<EventTap>> EventTap::taps() {
    std::vector<std::shared_ptr<EventTap>> live;
    {
        auto& shared = registry();
        std::lock_guard lock(shared.mutex);
        std::erase_if(shared.taps, [](const std::weak_ptr<EventTap>& weak) {
            const auto tap = weak.lock();
            return !tap || !tap->isValid();
        });
        for (const auto& weak : shared.taps) {
            if (auto tap = weak.lock()) live.push_back(std::move(tap));
        }
    }
    return live;
}

std::vector<std::shared_ptr<EventTap>> EventTap::inPassingOrder() {
    auto ordered = taps();
    const auto rank = [](const std::shared_ptr<EventTap>& tap) {
        const auto order = static_cast<std::int64_t>(tap->sequence_);
        return std::pair{static_cast<int>(tap->location_),
                         tap->placement_ == EventTapPlacement::headInsert ? -order - 1 : order};
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](const auto& a, const auto& b) { return rank(a) < rank(b); });
    return ordered;
}

void EventTap::setReplyTimeout(TimeInterval seconds) {
    registry().replyTimeout = seconds;
}

TimeInterval EventTap::replyTimeout() {
    return registry().replyTimeout;
}

void EventTap::resetForTesting() {
    auto& shared = registry();
    std::lock_guard lock(shared.mutex);
    shared.taps.clear();
    shared.replyTimeout = defaultReplyTimeout;
}

}  // namespace zelvana::platform
