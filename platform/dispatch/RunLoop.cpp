#include "platform/dispatch/RunLoop.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <set>
#include <vector>

#include "platform/dispatch/MainQueue.hpp"

namespace zelvana::platform {

namespace {

using SteadyClock = std::chrono::steady_clock;

// Guards against a source that signals itself forever.
constexpr int kMaxPassesPerTurn = 1000;

template <typename T>
void addOnce(std::vector<std::shared_ptr<T>>& list, const std::shared_ptr<T>& item) {
    if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

template <typename T>
void removeItem(std::vector<std::shared_ptr<T>>& list, const std::shared_ptr<T>& item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

template <typename T>
bool containsItem(const std::vector<std::shared_ptr<T>>& list, const std::shared_ptr<T>& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

std::shared_ptr<RunLoopObserver> RunLoopObserver::create(RunLoopActivities activities, bool repeats,
                                                         int order, Callback callback) {
    return std::shared_ptr<RunLoopObserver>(
        new RunLoopObserver(activities, repeats, order, std::move(callback)));
}

RunLoopObserver::RunLoopObserver(RunLoopActivities activities, bool repeats, int order,
                                 Callback callback)
    : activities_(activities), repeats_(repeats), order_(order), callback_(std::move(callback)) {}

void RunLoopObserver::notify(RunLoopActivity activity) {
    if (!valid_ || !activities_.contains(activity)) return;
    if (!repeats_) valid_ = false;
    if (callback_) callback_(*this, activity);
}

std::shared_ptr<RunLoopSource> RunLoopSource::create(int order, Perform perform) {
    return std::shared_ptr<RunLoopSource>(new RunLoopSource(order, std::move(perform)));
}

void RunLoopSource::signal() {
    if (!valid_) return;
    signalled_ = true;
    const auto loops = runLoops();
    bool heldByMain = false;
    for (const auto& loop : loops) {
        if (loop->isMain()) {
            heldByMain = true;
        } else {
            loop->wakeUp();
        }
    }
    if (heldByMain || loops.empty()) RunLoop::main().wakeUp();
}

void RunLoopSource::fire() {
    signalled_ = false;
    if (valid_ && perform_) perform_();
}

std::vector<std::shared_ptr<RunLoop>> RunLoopSource::runLoops() const {
    std::lock_guard lock(loopsMutex_);
    std::vector<std::shared_ptr<RunLoop>> loops;
    for (const auto& weak : loops_) {
        if (auto loop = weak.lock()) loops.push_back(std::move(loop));
    }
    return loops;
}

void RunLoopSource::attach(const std::shared_ptr<RunLoop>& loop) {
    std::lock_guard lock(loopsMutex_);
    for (const auto& weak : loops_) {
        if (weak.lock() == loop) return;
    }
    loops_.push_back(loop);
}

void RunLoopSource::detach(const RunLoop* loop) {
    std::lock_guard lock(loopsMutex_);
    std::erase_if(loops_, [loop](const std::weak_ptr<RunLoop>& weak) {
        const auto held = weak.lock();
        return !held || held.get() == loop;
    });
}

struct RunLoop::State {
    // Guards the tables and the modes; never held while calling out.
    mutable std::mutex mutex;
    std::vector<RunLoopMode> modes;
    std::set<RunLoopMode> commonModes{kCFRunLoopDefaultMode, kEventTrackingRunLoopMode};
    std::map<RunLoopMode, std::vector<std::shared_ptr<RunLoopObserver>>> observers;
    std::map<RunLoopMode, std::vector<std::shared_ptr<RunLoopSource>>> sources;
    int turnDepth = 0;
    int blockingDepth = 0;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> running{false};
    // A thread's own loop waits on this until woken.
    std::condition_variable wake;
    bool woken = false;

    // The items added to `mode` itself and, for a common mode, to the
    // common modes; sorted by order, stable among equal orders.
    template <typename T>
    std::vector<std::shared_ptr<T>> itemsOf(
        std::map<RunLoopMode, std::vector<std::shared_ptr<T>>>& table, const RunLoopMode& mode) {
        std::vector<std::shared_ptr<T>> items;
        {
            std::lock_guard lock(mutex);
            items = table[mode];
            if (commonModes.count(mode) != 0) {
                for (const auto& item : table[kCFRunLoopCommonModes]) addOnce(items, item);
            }
        }
        std::stable_sort(items.begin(), items.end(),
                         [](const auto& a, const auto& b) { return a->order() < b->order(); });
        return items;
    }

    void notify(const RunLoopMode& mode, RunLoopActivity activity) {
        for (const auto& observer : itemsOf(observers, mode)) {
            if (observer->isValid()) observer->notify(activity);
        }
    }

    bool anySignalled(const RunLoopMode& mode) {
        for (const auto& source : itemsOf(sources, mode)) {
            if (source->isValid() && source->isSignalled()) return true;
        }
        return false;
    }

    // Fires the signalled sources; returns how many fired.
    int fireSignalled(const RunLoopMode& mode) {
        int fired = 0;
        for (const auto& source : itemsOf(sources, mode)) {
            if (!source->isValid() || !source->isSignalled()) continue;
            source->fire();
            ++fired;
        }
        return fired;
    }

    // Observers, then sources, again while sources signal each other.
    // Why a run ends after a turn that fired `fired` sources, when it does.
    std::optional<RunResult> endAfterTurn(int fired, bool returnAfterSourceHandled) {
        if (stopRequested.exchange(false)) return RunResult::stopped;
        if (returnAfterSourceHandled && fired > 0) return RunResult::handledSource;
        return std::nullopt;
    }

    int turn(const RunLoopMode& mode) {
        ++turnDepth;
        int fired = 0;
        for (int pass = 0; pass < kMaxPassesPerTurn; ++pass) {
            notify(mode, RunLoopActivity::beforeTimers);
            notify(mode, RunLoopActivity::beforeSources);
            fired += fireSignalled(mode);
            if (!anySignalled(mode)) break;
        }
        --turnDepth;
        return fired;
    }

    void enter(const RunLoopMode& mode) {
        {
            std::lock_guard lock(mutex);
            modes.push_back(mode);
        }
        notify(mode, RunLoopActivity::entry);
    }

    void exit() {
        const auto mode = currentMode();
        if (!mode) return;
        notify(*mode, RunLoopActivity::exit);
        std::lock_guard lock(mutex);
        modes.pop_back();
    }

    std::optional<RunLoopMode> currentMode() const {
        std::lock_guard lock(mutex);
        if (modes.empty()) return std::nullopt;
        return modes.back();
    }

    bool isEmpty(const RunLoopMode& mode) {
        return !isCommon(mode) && itemsOf(observers, mode).empty() &&
               itemsOf(sources, mode).empty();
    }

    bool isCommon(const RunLoopMode& mode) const {
        std::lock_guard lock(mutex);
        return commonModes.count(mode) != 0;
    }

    // A thread's own loop: waits until woken, stopped or `deadline`.
    void waitForWake(SteadyClock::time_point deadline) {
        std::unique_lock lock(mutex);
        wake.wait_until(lock, deadline, [&] { return woken || stopRequested.load(); });
        woken = false;
    }

    void wakeOwnThread() {
        {
            std::lock_guard lock(mutex);
            woken = true;
        }
        wake.notify_all();
    }
};

namespace {

// The calling thread's own loop, when it is not the main thread.
thread_local std::shared_ptr<RunLoop> tThreadLoop;

SteadyClock::time_point deadlineAfter(TimeInterval seconds) {
    // Far deadlines are capped so the arithmetic cannot overflow.
    const TimeInterval capped = std::clamp(seconds, 0.0, 1.0e6);
    return SteadyClock::now() +
           std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(capped));
}

}  // namespace

RunLoop::RunLoop() : state_(std::make_unique<State>()) {}

RunLoop::~RunLoop() = default;

RunLoop& RunLoop::main() {
    // Never destroyed: statics that outlive this one may still signal it.
    static auto* instance = new std::shared_ptr<RunLoop>(new RunLoop());
    return **instance;
}

RunLoop& RunLoop::current() {
    if (isMainThread()) return main();
    if (!tThreadLoop) tThreadLoop = std::shared_ptr<RunLoop>(new RunLoop());
    return *tThreadLoop;
}

bool RunLoop::isMain() const {
    return this == &main();
}

RunLoop::State& RunLoop::state() const {
    return *state_;
}

void RunLoop::run() {
    if (!isMain()) {
        while (true) {
            const auto result = runInMode(kCFRunLoopDefaultMode, distantFuture, false);
            if (result == RunResult::stopped || result == RunResult::finished) return;
        }
    }
    runUntil([] { return false; }, -1);
}

bool RunLoop::runUntil(const std::function<bool()>& done, TimeInterval timeout) {
    if (!isMain()) return runOwnUntil(done, timeout);
    auto& queue = MainQueue::shared();
    auto& loop = state();
    const TimeInterval start = RealClock().uptime();
    loop.stopRequested = false;
    loop.running = true;
    loop.enter(kCFRunLoopDefaultMode);
    bool finished = false;
    while (!loop.stopRequested) {
        turn();
        queue.runPending();
        if ((finished = done())) break;
        TimeInterval wait = 1.0;
        if (timeout >= 0) {
            const TimeInterval left = start + timeout - RealClock().uptime();
            if (left <= 0) break;
            wait = std::min(wait, left);
        }
        const RunLoopMode mode = currentMode().value_or(kCFRunLoopDefaultMode);
        loop.notify(mode, RunLoopActivity::beforeWaiting);
        queue.waitForWork(wait);
        loop.notify(mode, RunLoopActivity::afterWaiting);
    }
    loop.exit();
    loop.running = false;
    loop.stopRequested = false;
    return finished;
}

bool RunLoop::runOwnUntil(const std::function<bool()>& done, TimeInterval timeout) {
    const auto deadline = deadlineAfter(timeout < 0 ? distantFuture : timeout);
    while (!done()) {
        const auto left = std::chrono::duration<double>(deadline - SteadyClock::now()).count();
        if (left <= 0) return false;
        const auto result = runInMode(kCFRunLoopDefaultMode, left, true);
        if (result == RunResult::stopped || result == RunResult::finished) return done();
    }
    return true;
}

RunLoop::RunResult RunLoop::runInMode(const RunLoopMode& mode, TimeInterval seconds,
                                      bool returnAfterSourceHandled) {
    if (!isMain()) return runOwnInMode(mode, seconds, returnAfterSourceHandled);
    auto& loop = state();
    if (loop.isEmpty(mode)) return RunResult::finished;
    auto& queue = MainQueue::shared();
    const bool common = isCommonMode(mode);
    const TimeInterval deadline = clock().uptime() + std::max(seconds, 0.0);
    loop.stopRequested = false;
    ++loop.blockingDepth;
    loop.enter(mode);
    RunResult result = RunResult::timedOut;
    for (;;) {
        const int fired = loop.turn(mode);
        const int ran = common ? queue.runPending() : 0;
        if (const auto end = loop.endAfterTurn(fired, returnAfterSourceHandled)) {
            result = *end;
            break;
        }
        const TimeInterval left = deadline - clock().uptime();
        if (left <= 0 || (clock().isVirtual() && fired == 0 && ran == 0)) break;
        loop.notify(mode, RunLoopActivity::beforeWaiting);
        queue.waitForWork(clock().isVirtual() ? 0 : left);
        loop.notify(mode, RunLoopActivity::afterWaiting);
    }
    loop.exit();
    --loop.blockingDepth;
    return result;
}

RunLoop::RunResult RunLoop::runOwnInMode(const RunLoopMode& mode, TimeInterval seconds,
                                         bool returnAfterSourceHandled) {
    auto& loop = state();
    const auto deadline = deadlineAfter(seconds);
    const bool outermost = !loop.running.exchange(true);
    loop.enter(mode);
    RunResult result = RunResult::timedOut;
    for (;;) {
        const int fired = loop.turn(mode);
        if (const auto end = loop.endAfterTurn(fired, returnAfterSourceHandled)) {
            result = *end;
            break;
        }
        if (loop.itemsOf(loop.sources, mode).empty()) {
            result = RunResult::finished;
            break;
        }
        if (SteadyClock::now() >= deadline) break;
        loop.notify(mode, RunLoopActivity::beforeWaiting);
        loop.waitForWake(deadline);
        loop.notify(mode, RunLoopActivity::afterWaiting);
    }
    loop.exit();
    if (outermost) loop.running = false;
    return result;
}

void RunLoop::stop() {
    auto& loop = state();
    if (isMain()) {
        loop.stopRequested = true;
        MainQueue::shared().wakeUp();
        return;
    }
    {
        std::lock_guard lock(loop.mutex);
        loop.stopRequested = true;
    }
    loop.wake.notify_all();
}

int RunLoop::runPending() {
    if (isMain()) return MainQueue::shared().runPending();
    return state().turn(currentMode().value_or(kCFRunLoopDefaultMode));
}

bool RunLoop::isRunning() const {
    return state().running;
}

void RunLoop::enterMode(const RunLoopMode& mode) {
    auto& loop = state();
    loop.enter(mode);
    if (loop.anySignalled(mode)) wakeUp();
}

void RunLoop::exitMode() {
    state().exit();
}

std::optional<RunLoopMode> RunLoop::currentMode() const {
    return state().currentMode();
}

void RunLoop::addCommonMode(const RunLoopMode& mode) {
    auto& loop = state();
    std::lock_guard lock(loop.mutex);
    loop.commonModes.insert(mode);
}

bool RunLoop::isCommonMode(const RunLoopMode& mode) const {
    return state().isCommon(mode);
}

Subscription RunLoop::addObserver(const std::shared_ptr<RunLoopObserver>& observer,
                                  const RunLoopMode& mode) {
    if (!observer || !observer->isValid()) return {};
    auto& loop = state();
    {
        std::lock_guard lock(loop.mutex);
        addOnce(loop.observers[mode], observer);
    }
    return Subscription([loop = std::weak_ptr<RunLoop>(shared_from_this()),
                         weakObserver = std::weak_ptr<RunLoopObserver>(observer), mode] {
        const auto self = loop.lock();
        const auto observer = weakObserver.lock();
        if (!self || !observer) return;
        auto& state = self->state();
        std::lock_guard lock(state.mutex);
        removeItem(state.observers[mode], observer);
    });
}

bool RunLoop::containsObserver(const std::shared_ptr<RunLoopObserver>& observer,
                               const RunLoopMode& mode) const {
    auto& loop = state();
    std::lock_guard lock(loop.mutex);
    return containsItem(loop.observers[mode], observer) ||
           (loop.commonModes.count(mode) != 0 &&
            containsItem(loop.observers[kCFRunLoopCommonModes], observer));
}

void RunLoop::addSource(const std::shared_ptr<RunLoopSource>& source, const RunLoopMode& mode) {
    if (!source || !source->isValid()) return;
    auto& loop = state();
    {
        std::lock_guard lock(loop.mutex);
        addOnce(loop.sources[mode], source);
    }
    source->attach(shared_from_this());
    // A source signalled before it was added still wakes its new loop.
    if (!isMain() && source->isSignalled()) wakeUp();
}

void RunLoop::removeSource(const std::shared_ptr<RunLoopSource>& source, const RunLoopMode& mode) {
    if (!source) return;
    auto& loop = state();
    bool stillHeld = false;
    {
        std::lock_guard lock(loop.mutex);
        removeItem(loop.sources[mode], source);
        for (const auto& [heldMode, list] : loop.sources) {
            stillHeld = stillHeld || containsItem(list, source);
        }
    }
    if (!stillHeld) source->detach(this);
    // A waiting loop may have no source left: let it look.
    if (!isMain()) wakeUp();
}

bool RunLoop::containsSource(const std::shared_ptr<RunLoopSource>& source,
                             const RunLoopMode& mode) const {
    auto& loop = state();
    std::lock_guard lock(loop.mutex);
    return containsItem(loop.sources[mode], source) ||
           (loop.commonModes.count(mode) != 0 &&
            containsItem(loop.sources[kCFRunLoopCommonModes], source));
}

void RunLoop::wakeUp() {
    auto& loop = state();
    if (!isMain()) {
        loop.wakeOwnThread();
        return;
    }
    if (loop.turnDepth > 0) return;  // the turn under way looks again
    if (loop.running || loop.blockingDepth > 0) {
        MainQueue::shared().wakeUp();
        return;
    }
    turn();
}

void RunLoop::turn() {
    state().turn(currentMode().value_or(kCFRunLoopDefaultMode));
}

void RunLoop::resetForTesting() {
    auto& loop = state();
    std::vector<std::shared_ptr<RunLoopSource>> held;
    {
        std::lock_guard lock(loop.mutex);
        for (const auto& [mode, list] : loop.sources)
            held.insert(held.end(), list.begin(), list.end());
        loop.modes.clear();
        loop.commonModes = {kCFRunLoopDefaultMode, kEventTrackingRunLoopMode};
        loop.observers.clear();
        loop.sources.clear();
    }
    for (const auto& source : held) source->detach(this);
}

Subscription Timer::scheduled(TimeInterval interval, Repeats repeats,
                              std::function<void(Timer&)> block) {
    std::shared_ptr<Timer> timer(new Timer(interval, repeats, std::move(block)));
    timer->self_ = timer;
    timer->schedule();
    return Subscription([weak = timer->self_] {
        if (auto timer = weak.lock()) timer->invalidate();
    });
}

// A repeating timer that is always due would never let the loop finish a turn,
// so intervals are at least a tenth of a millisecond, as the system's are.
Timer::Timer(TimeInterval interval, Repeats repeats, std::function<void(Timer&)> block)
    : interval_(std::max(interval, 0.0001)), repeats_(repeats), block_(std::move(block)) {}

Timer::~Timer() {
    if (pending_) pending_->cancel();
}

void Timer::schedule() {
    // The queued work keeps the timer alive while it is scheduled, as a run
    // loop retains its timers.
    pending_ = mainQueue().asyncAfter(interval_, [timer = self_.lock()] {
        timer->pending_.reset();
        if (!timer->valid_) return;
        timer->block_(*timer);
        if (!timer->valid_) return;
        if (timer->repeats_ == Repeats::yes) {
            timer->schedule();
        } else {
            timer->valid_ = false;
        }
    });
}

void Timer::invalidate() {
    valid_ = false;
    if (pending_) {
        pending_->cancel();
        pending_.reset();
    }
}

}  // namespace zelvana::platform
