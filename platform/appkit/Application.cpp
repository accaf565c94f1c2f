#include "platform/appkit/Application.hpp"

#include "platform/dispatch/Queue.hpp"
#include "platform/dispatch/RunLoop.hpp"

namespace zelvana::platform {

Application& Application::shared() {
    static Application instance;
    return instance;
}

int Application::run() {
    mainQueue().async([this] {
        if (delegate_) delegate_->applicationDidFinishLaunching();
    });
    RunLoop::main().run();
    return 0;
}

void Application::terminate() {
    if (terminating_.exchange(true)) return;
    if (delegate_) delegate_->applicationWillTerminate();
    drainAllQueues();
    if (RunLoop::main().isRunning()) RunLoop::main().stop();
}

void Application::activate(bool /*ignoringOtherApps*/) {
    active_ = true;
    ++activationCount_;
}

void Application::resetForTesting() {
    delegate_ = nullptr;
    policy_ = ActivationPolicy::Regular;
    active_ = false;
    terminating_ = false;
    activationCount_ = 0;
}

}  // namespace zelvana::platform
