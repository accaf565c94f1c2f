#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Flags.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::platform {

// A run-loop mode is named by a string.
using RunLoopMode = std::string;
inline const RunLoopMode kCFRunLoopDefaultMode = "kCFRunLoopDefaultMode";
inline const RunLoopMode kEventTrackingRunLoopMode = "NSEventTrackingRunLoopMode";
inline const RunLoopMode kModalPanelRunLoopMode = "NSModalPanelRunLoopMode";
// Not a mode of its own: what is added here is in every common mode.
inline const RunLoopMode kCFRunLoopCommonModes = "kCFRunLoopCommonModes";

// The moments of a run-loop turn that observers can ask to hear about.
enum class RunLoopActivity : std::uint32_t {
    entry = 1u << 0,
    beforeTimers = 1u << 1,
    beforeSources = 1u << 2,
    beforeWaiting = 1u << 5,
    afterWaiting = 1u << 6,
    exit = 1u << 7,
};
ZELVANA_FLAGS(RunLoopActivity)
using RunLoopActivities = Flags<RunLoopActivity>;
inline constexpr RunLoopActivities kCFRunLoopAllActivities =
    RunLoopActivities::fromRaw(0x0FFFFFFFu);

// Called by the run loop at the chosen activities while it runs in a mode
// the observer was added to. A one-shot observer is invalidated after its
// first call.
class RunLoopObserver {
public:
    using Callback = std::function<void(RunLoopObserver&, RunLoopActivity)>;

    static std::shared_ptr<RunLoopObserver> create(RunLoopActivities activities, bool repeats,
                                                   int order, Callback callback);
    RunLoopObserver(const RunLoopObserver&) = delete;
    RunLoopObserver& operator=(const RunLoopObserver&) = delete;

    RunLoopActivities activities() const { return activities_; }
    bool doesRepeat() const { return repeats_; }
    // Lower orders are called first.
    int order() const { return order_; }
    bool isValid() const { return valid_; }
    // Stops all further calls and takes the observer out of every mode.
    void invalidate() { valid_ = false; }
    // Called by the run loop.
    void notify(RunLoopActivity activity);

private:
    RunLoopObserver(RunLoopActivities activities, bool repeats, int order, Callback callback);

    RunLoopActivities activities_;
    bool repeats_;
    int order_;
    bool valid_ = true;
    Callback callback_;
};

class RunLoop;

// Work that fires when signalled and the run loop turns in one of the
// source's modes. Signalling wakes the loops that hold the source. A source
// may be signalled from any thread.
class RunLoopSource {
public:
    using Perform = std::function<void()>;

    static std::shared_ptr<RunLoopSource> create(int order, Perform perform);
    RunLoopSource(const RunLoopSource&) = delete;
    RunLoopSource& operator=(const RunLoopSource&) = delete;

    int order() const { return order_; }
    bool isSignalled() const { return signalled_; }
    // Marks the source ready and wakes the threads' loops that hold it; the
    // main loop is woken (see RunLoop::wakeUp) when it holds the source or
    // no other loop does.
    void signal();
    bool isValid() const { return valid_; }
    void invalidate() { valid_ = false; }
    // Clears the signal and performs; called by the run loop.
    void fire();
    // The live loops the source was added to, in any mode.
    std::vector<std::shared_ptr<RunLoop>> runLoops() const;

private:
    friend class RunLoop;
    RunLoopSource(int order, Perform perform) : order_(order), perform_(std::move(perform)) {}
    void attach(const std::shared_ptr<RunLoop>& loop);
    void detach(const RunLoop* loop);

    int order_;
    std::atomic<bool> signalled_{false};
    std::atomic<bool> valid_{true};
    Perform perform_;
    mutable std::mutex loopsMutex_;
    std::vector<std::weak_ptr<RunLoop>> loops_;
};

// A thread's loop. The main thread's loop runs the main queue's work and its
// timers until stopped; with the virtual clock, tests drive it through
// VirtualClock instead. Any other thread gets a loop of its own on first use,
// which serves only its sources and waits in real time.
//
// Each turn in a mode: observers hear before-timers and before-sources, the
// signalled sources of the mode fire, and in a common mode of the main loop
// the main queue's ready work runs. Observers hear entry and exit when the
// loop enters and leaves a mode, before-waiting and after-waiting around a
// wait. Sources and observers may be added and removed from any thread.
class RunLoop : public std::enable_shared_from_this<RunLoop> {
public:
    enum class RunResult { finished = 1, stopped = 2, timedOut = 3, handledSource = 4 };

    // Longer than any run is meant to last.
    static constexpr TimeInterval distantFuture = 1.0e10;

    static RunLoop& main();
    // The calling thread's loop: the main loop on the main thread, otherwise
    // the thread's own, made on first use and kept while the thread lives.
    static RunLoop& current();
    // Keeps the loop alive beyond its thread, for those that stop or wake it
    // from elsewhere.
    std::shared_ptr<RunLoop> retained() { return shared_from_this(); }
    bool isMain() const;
    ~RunLoop();

    // Runs in the default mode until `stop` is called (from any thread or
    // from inside the loop). A thread's own loop also returns when the
    // default mode has no source left.
    void run();
    // Runs in the default mode until `done` returns true or `timeout` seconds
    // (real seconds on a thread's own loop) passed; returns whether `done`
    // became true.
    bool runUntil(const std::function<bool()>& done, TimeInterval timeout);
    // Runs in `mode` (nested inside any mode already running) for up to
    // `seconds`, or until `stop`, or after the first fired source when asked.
    // On the main loop with the virtual clock it never waits: it turns until
    // nothing is left to do and reports timedOut; there a mode with neither
    // sources nor observers reports finished at once. A thread's own loop
    // waits in real time for its sources, and reports finished once the mode
    // has no source.
    RunResult runInMode(const RunLoopMode& mode, TimeInterval seconds,
                        bool returnAfterSourceHandled);
    // Ends the innermost run. A thread's own loop keeps a stop that comes
    // while it does not run, and ends its next run at once, so a stop sent
    // from another thread is never lost.
    void stop();
    // Runs the work that is ready now (and due timers) without waiting.
    // Returns the number of items run: on a thread's own loop, the sources
    // fired in the current (or default) mode.
    int runPending();
    bool isRunning() const;

    // Enters `mode` without blocking, nested like runInMode: the loop turns
    // in it (when woken, or by `turn`) until the matching `exitMode`. Used for
    // loops that tests drive step by step, such as a menu's tracking.
    void enterMode(const RunLoopMode& mode);
    void exitMode();
    // The innermost mode the loop runs in; absent when it does not run.
    std::optional<RunLoopMode> currentMode() const;
    // The modes that kCFRunLoopCommonModes stands for; the default and the
    // event-tracking modes from the start.
    void addCommonMode(const RunLoopMode& mode);
    bool isCommonMode(const RunLoopMode& mode) const;

    // Observers and sources per mode; adding one twice to a mode keeps one.
    // The observer leaves the mode when the token goes (or when invalidated).
    [[nodiscard]] Subscription addObserver(const std::shared_ptr<RunLoopObserver>& observer,
                                           const RunLoopMode& mode);
    bool containsObserver(const std::shared_ptr<RunLoopObserver>& observer,
                          const RunLoopMode& mode) const;
    void addSource(const std::shared_ptr<RunLoopSource>& source, const RunLoopMode& mode);
    void removeSource(const std::shared_ptr<RunLoopSource>& source, const RunLoopMode& mode);
    bool containsSource(const std::shared_ptr<RunLoopSource>& source,
                        const RunLoopMode& mode) const;

    // Makes the loop turn soon. A loop that waits wakes up. The main loop,
    // when idle (driven by tests, between their steps), turns at once in its
    // current mode, or the default mode; inside a turn, the turn handles it.
    void wakeUp();
    // One turn in the current mode (the default mode when not running):
    // observers, then signalled sources, until no source is signalled. Does
    // not run the main queue.
    void turn();

    // Forgets observers, sources, entered modes and extra common modes.
    void resetForTesting();

private:
    RunLoop();
    struct State;
    State& state() const;
    RunResult runOwnInMode(const RunLoopMode& mode, TimeInterval seconds,
                           bool returnAfterSourceHandled);
    bool runOwnUntil(const std::function<bool()>& done, TimeInterval timeout);

    std::unique_ptr<State> state_;
};

enum class Repeats { no, yes };

// A repeating or one-shot timer on the main queue, timed by the process clock.
class Timer {
public:
    // The timer runs until its token goes or the block invalidates it.
    [[nodiscard]] static Subscription scheduled(TimeInterval interval, Repeats repeats,
                                                std::function<void(Timer&)> block);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void invalidate();
    bool isValid() const { return valid_; }
    TimeInterval interval() const { return interval_; }

private:
    Timer(TimeInterval interval, Repeats repeats, std::function<void(Timer&)> block);
    void schedule();

    TimeInterval interval_;
    Repeats repeats_;
    bool valid_ = true;
    std::function<void(Timer&)> block_;
    std::shared_ptr<WorkItem> pending_;
    std::weak_ptr<Timer> self_;
};

}  // namespace zelvana::platform
