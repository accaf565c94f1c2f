#include "platform/dispatch/RunLoop.hpp"

#include <algorithm>
#include <atomic>
#include <map>
#include <set>
#include <vector>

#include "platform/dispatch/MainQueue.hpp"

namespace zelvana::platform {

namespace {

std::atomic<bool> gStopRequested{false};
std::atomic<bool> gRunning{false};

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

std::shared_ptr<RunLoopObserver> RunLoopObserver::create(std::uint32_t activities, bool repeats,
                                                         int order, Callback callback) {
    return std::shared_ptr<RunLoopObserver>(
        new RunLoopObserver(activities, repeats, order, std::move(callback)));
}

RunLoopObserver::RunLoopObserver(std::uint32_t activities, bool repeats, int order,
                                 Callback callback)
    : activities_(activities), repeats_(repeats), order_(order), callback_(std::move(callback)) {}

void RunLoopObserver::notify(RunLoopActivity activity) {
    if (!valid_ || (activities_ & activity) == 0) return;
    if (!repeats_) valid_ = false;
    if (callback_) callback_(*this, activity);
}

std::shared_ptr<RunLoopSource> RunLoopSource::create(int order, Perform perform) {
    return std::shared_ptr<RunLoopSource>(new RunLoopSource(order, std::move(perform)));
}

void RunLoopSource::signal() {
    if (!valid_) return;
    signalled_ = true;
    RunLoop::main().wakeUp();
}

void RunLoopSource::fire() {
    signalled_ = false;
    if (valid_ && perform_) perform_();
}

struct RunLoop::State {
    std::vector<RunLoopMode> modes;
    std::set<RunLoopMode> commonModes{kCFRunLoopDefaultMode, kEventTrackingRunLoopMode};
    std::map<RunLoopMode, std::vector<std::shared_ptr<RunLoopObserver>>> observers;
    std::map<RunLoopMode, std::vector<std::shared_ptr<RunLoopSource>>> sources;
    int turnDepth = 0;
    int blockingDepth = 0;

    // The items added to `mode` itself and, for a common mode, to the
    // common modes; sorted by order, stable among equal orders.
    template <typename T>
    std::vector<std::shared_ptr<T>> itemsOf(
        std::map<RunLoopMode, std::vector<std::shared_ptr<T>>>& table, const RunLoopMode& mode) {
        std::vector<std::shared_ptr<T>> items = table[mode];
        if (commonModes.count(mode) != 0) {
            for (const auto& item : table[kCFRunLoopCommonModes]) addOnce(items, item);
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
    int turn(const RunLoopMode& mode) {
        ++turnDepth;
        int fired = 0;
        for (int pass = 0; pass < kMaxPassesPerTurn; ++pass) {
            notify(mode, kCFRunLoopBeforeTimers);
            notify(mode, kCFRunLoopBeforeSources);
            fired += fireSignalled(mode);
            if (!anySignalled(mode)) break;
        }
        --turnDepth;
        return fired;
    }

    void enter(const RunLoopMode& mode) {
        modes.push_back(mode);
        notify(mode, kCFRunLoopEntry);
    }

    void exit() {
        const RunLoopMode mode = modes.back();
        notify(mode, kCFRunLoopExit);
        modes.pop_back();
    }

    bool isEmpty(const RunLoopMode& mode) {
        return commonModes.count(mode) == 0 && itemsOf(observers, mode).empty() &&
               itemsOf(sources, mode).empty();
    }
};

RunLoop& RunLoop::main() {
    static RunLoop instance;
    return instance;
}

RunLoop::State& RunLoop::state() const {
    static State* instance = new State();  // outlives statics that may still signal
    return *instance;
}

void RunLoop::run() {
    runUntil([] { return false; }, -1);
}

bool RunLoop::runUntil(const std::function<bool()>& done, TimeInterval timeout) {
    auto& queue = MainQueue::shared();
    auto& loop = state();
    const TimeInterval start = RealClock().uptime();
    gStopRequested = false;
    gRunning = true;
    loop.enter(kCFRunLoopDefaultMode);
    bool finished = false;
    while (!gStopRequested) {
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
        loop.notify(mode, kCFRunLoopBeforeWaiting);
        queue.waitForWork(wait);
        loop.notify(mode, kCFRunLoopAfterWaiting);
    }
    loop.exit();
    gRunning = false;
    gStopRequested = false;
    return finished;
}

RunLoop::RunResult RunLoop::runInMode(const RunLoopMode& mode, TimeInterval seconds,
                                      bool returnAfterSourceHandled) {
    auto& loop = state();
    if (loop.isEmpty(mode)) return RunResult::finished;
    auto& queue = MainQueue::shared();
    const bool common = isCommonMode(mode);
    const TimeInterval deadline = clock().uptime() + std::max(seconds, 0.0);
    gStopRequested = false;
    ++loop.blockingDepth;
    loop.enter(mode);
    RunResult result = RunResult::timedOut;
    for (;;) {
        const int fired = loop.turn(mode);
        const int ran = common ? queue.runPending() : 0;
        if (gStopRequested.exchange(false)) {
            result = RunResult::stopped;
            break;
        }
        if (returnAfterSourceHandled && fired > 0) {
            result = RunResult::handledSource;
            break;
        }
        const TimeInterval left = deadline - clock().uptime();
        if (left <= 0 || (clock().isVirtual() && fired == 0 && ran == 0)) break;
        loop.notify(mode, kCFRunLoopBeforeWaiting);
        queue.waitForWork(clock().isVirtual() ? 0 : left);
        loop.notify(mode, kCFRunLoopAfterWaiting);
    }
    loop.exit();
    --loop.blockingDepth;
    return result;
}

void RunLoop::stop() {
    gStopRequested = true;
    MainQueue::shared().wakeUp();
}

int RunLoop::runPending() {
    return MainQueue::shared().runPending();
}

bool RunLoop::isRunning() const {
    return gRunning;
}

void RunLoop::enterMode(const RunLoopMode& mode) {
    auto& loop = state();
    loop.enter(mode);
    if (loop.anySignalled(mode)) wakeUp();
}

void RunLoop::exitMode() {
    auto& loop = state();
    if (!loop.modes.empty()) loop.exit();
}

std::optional<RunLoopMode> RunLoop::currentMode() const {
    const auto& modes = state().modes;
    if (modes.empty()) return std::nullopt;
    return modes.back();
}

void RunLoop::addCommonMode(const RunLoopMode& mode) {
    state().commonModes.insert(mode);
}

bool RunLoop::isCommonMode(const RunLoopMode& mode) const {
    return state().commonModes.count(mode) != 0;
}

void RunLoop::addObserver(const std::shared_ptr<RunLoopObserver>& observer,
                          const RunLoopMode& mode) {
    if (observer && observer->isValid()) addOnce(state().observers[mode], observer);
}

void RunLoop::removeObserver(const std::shared_ptr<RunLoopObserver>& observer,
                             const RunLoopMode& mode) {
    removeItem(state().observers[mode], observer);
}

bool RunLoop::containsObserver(const std::shared_ptr<RunLoopObserver>& observer,
                               const RunLoopMode& mode) const {
    auto& loop = state();
    return containsItem(loop.observers[mode], observer) ||
           (loop.commonModes.count(mode) != 0 &&
            containsItem(loop.observers[kCFRunLoopCommonModes], observer));
}

void RunLoop::addSource(const std::shared_ptr<RunLoopSource>& source, const RunLoopMode& mode) {
    if (source && source->isValid()) addOnce(state().sources[mode], source);
}

void RunLoop::removeSource(const std::shared_ptr<RunLoopSource>& source, const RunLoopMode& mode) {
    removeItem(state().sources[mode], source);
}

bool RunLoop::containsSource(const std::shared_ptr<RunLoopSource>& source,
                             const RunLoopMode& mode) const {
    auto& loop = state();
    return containsItem(loop.sources[mode], source) ||
           (loop.commonModes.count(mode) != 0 &&
            containsItem(loop.sources[kCFRunLoopCommonModes], source));
}

void RunLoop::wakeUp() {
    auto& loop = state();
    if (loop.turnDepth > 0) return;  // the turn under way looks again
    if (gRunning || loop.blockingDepth > 0) {
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
    loop.modes.clear();
    loop.commonModes = {kCFRunLoopDefaultMode, kEventTrackingRunLoopMode};
    loop.observers.clear();
    loop.sources.clear();
}

std::shared_ptr<Timer> Timer::scheduled(TimeInterval interval, bool repeats,
                                        std::function<void(Timer&)> block) {
    std::shared_ptr<Timer> timer(new Timer(interval, repeats, std::move(block)));
    timer->self_ = timer;
    timer->schedule();
    return timer;
}

Timer::Timer(TimeInterval interval, bool repeats, std::function<void(Timer&)> block)
    : interval_(interval), repeats_(repeats), block_(std::move(block)) {}

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
        if (timer->repeats_) {
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

void Timer::fire() {
    if (!valid_) return;
    block_(*this);
    if (!repeats_) invalidate();
}

}  // namespace zelvana::platform
