#include "input/EventMonitor/RunLoopThread.hpp"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <semaphore>
#include <thread>
#include <vector>

namespace zelvana::input::eventmonitor {

// What the thread and its owner share; the thread holds it too, so it may
// outlive the owner when the owner goes from the thread itself.
struct RunLoopThread::Shared {
    explicit Shared(platform::RunLoopMode runMode) : mode(std::move(runMode)) {}

    const platform::RunLoopMode mode;
    std::atomic<int> qualityOfService{-1};
    std::binary_semaphore startSemaphore{0};
    std::shared_ptr<platform::RunLoop> runLoop;
    std::thread thread;
    std::mutex mutex;
    std::condition_variable cancelled;
    std::atomic<bool> isCancelled{false};
    std::atomic<bool> isFinished{false};
};

namespace {

// Should the mode lose every source, the run returns at once; the thread
// then waits this long, or until cancelled, before it runs again.
constexpr std::chrono::milliseconds kIdleWait{100};

// Threads whose owner went on the thread itself, so that nobody waits for
// them: joined at exit, before static destruction takes what they still use.
class Stragglers {
public:
    static void adopt(std::thread thread) {
        auto& self = instance();
        {
            std::lock_guard lock(self.mutex_);
            self.threads_.push_back(std::move(thread));
        }
        // Again each time, so it runs before the destructors of every static
        // made until now.
        std::atexit(joinAll);
    }

private:
    // Never destroyed: the exit handler needs it while statics go.
    static Stragglers& instance() {
        static auto* stragglers = new Stragglers;
        return *stragglers;
    }

    static void joinAll() {
        auto& self = instance();
        std::vector<std::thread> threads;
        {
            std::lock_guard lock(self.mutex_);
            threads.swap(self.threads_);
        }
        for (auto& thread : threads) {
            if (thread.get_id() == std::this_thread::get_id()) {
                thread.detach();  // exit was called from the straggler itself
            } else {
                thread.join();
            }
        }
    }

    std::mutex mutex_;
    std::vector<std::thread> threads_;
};

}  // namespace

RunLoopThread::RunLoopThread(platform::RunLoopMode mode)
    : shared_(std::make_shared<Shared>(std::move(mode))) {}

RunLoopThread::~RunLoopThread() {
    cancel();
    join();
}

const platform::RunLoopMode& RunLoopThread::mode() const {
    return shared_->mode;
}

void RunLoopThread::setQualityOfService(int qualityOfService) {
    shared_->qualityOfService = qualityOfService;
}

int RunLoopThread::qualityOfService() const {
    return shared_->qualityOfService;
}

void RunLoopThread::start() {
    if (shared_->thread.joinable() || shared_->runLoop) return;
    shared_->thread = std::thread([shared = shared_] { main(shared); });
    shared_->startSemaphore.acquire();
}

void RunLoopThread::main(const std::shared_ptr<Shared>& shared) {
    auto& loop = platform::RunLoop::current();
    // A source that never fires keeps the loop waiting for the sources to
    // come, instead of returning at once while it has none.
    const auto keepAlive = platform::RunLoopSource::create(0, nullptr);
    loop.addSource(keepAlive, shared->mode);
    shared->runLoop = loop.retained();
    shared->startSemaphore.release();
    while (!shared->isCancelled) {
        const auto result = loop.runInMode(shared->mode, platform::RunLoop::distantFuture, false);
        if (result != platform::RunLoop::RunResult::finished) continue;
        std::unique_lock lock(shared->mutex);
        shared->cancelled.wait_for(lock, kIdleWait, [&] { return shared->isCancelled.load(); });
    }
    loop.removeSource(keepAlive, shared->mode);
    shared->isFinished = true;
}

void RunLoopThread::cancel() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->isCancelled = true;
    }
    shared_->cancelled.notify_all();
    if (shared_->runLoop) shared_->runLoop->stop();
}

bool RunLoopThread::isCancelled() const {
    return shared_->isCancelled;
}

void RunLoopThread::join() {
    auto& thread = shared_->thread;
    if (!thread.joinable()) return;
    if (thread.get_id() == std::this_thread::get_id()) {
        Stragglers::adopt(std::move(thread));
        return;
    }
    thread.join();
}

bool RunLoopThread::isFinished() const {
    return shared_->isFinished;
}

platform::RunLoop* RunLoopThread::runLoop() const {
    return shared_->runLoop.get();
}

}  // namespace zelvana::input::eventmonitor
