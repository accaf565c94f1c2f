#pragma once

#include <atomic>

namespace zelvana::platform {

enum class ActivationPolicy { Regular, Accessory, Prohibited };

class ApplicationDelegate {
public:
    virtual ~ApplicationDelegate() = default;
    virtual void applicationDidFinishLaunching() {}
    virtual void applicationWillTerminate() {}
};

// The process's application object: the main loop, activation and termination.
class Application {
public:
    static Application& shared();

    // Non-owning; the caller keeps the delegate alive while the loop runs.
    void setDelegate(ApplicationDelegate* delegate) { delegate_ = delegate; }
    ApplicationDelegate* delegate() const { return delegate_; }

    // Tells the delegate that launching finished, then runs the main run loop
    // until `terminate`. Returns the exit status.
    int run();
    // Ends the loop: the delegate hears applicationWillTerminate, every
    // dispatch queue is drained so no queued work (log lines) is lost, and
    // `run` returns. Outside a running loop it only notifies and drains.
    // Later calls, while terminating, do nothing. Main thread.
    void terminate();
    bool isTerminating() const { return terminating_; }

    // Makes the application active; every call counts.
    void activate(bool ignoringOtherApps);
    bool isActive() const { return active_; }
    void deactivate() { active_ = false; }
    int activationCount() const { return activationCount_; }

    void setActivationPolicy(ActivationPolicy policy) { policy_ = policy; }
    ActivationPolicy activationPolicy() const { return policy_; }

    // Tests start from a fresh application.
    void resetForTesting();

private:
    ApplicationDelegate* delegate_ = nullptr;
    ActivationPolicy policy_ = ActivationPolicy::Regular;
    bool active_ = false;
    std::atomic<bool> terminating_{false};
    int activationCount_ = 0;
};

}  // namespace zelvana::platform
