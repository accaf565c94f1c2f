#include <utility>

#include "platform/appkit/Application.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/dispatch/MainQueue.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {

namespace {

// Seconds between looks at a modal run that nothing woke.
constexpr TimeInterval kLongestWait = 1;

}  // namespace

long Application::runModalForWindow(Window& window) {
    assertMainThread();
    // An outer run's pending code waits until this run is over.
    const auto outerCode = std::exchange(stopCode_, std::nullopt);
    const ModalSession session = beginModalSession(window);
    std::optional<long> code;
    while (!code) {
        const int ran = MainQueue::shared().runReady();
        const bool hadEvents = !queue_.empty();
        const ModalResponse response = runModalSession(session);
        if (stopCode_) {
            code = std::exchange(stopCode_, std::nullopt);
        } else if (response != ModalResponse::continueSession) {
            code = static_cast<long>(response);
        } else if (terminating_) {
            code = static_cast<long>(ModalResponse::abort);
        } else if (ran == 0 && !hadEvents) {
            if (clock().isVirtual()) {
                UnifiedLog::write(LogType::Error,
                                  "A modal window waited for input that never came");
                code = static_cast<long>(ModalResponse::abort);
            } else {
                // The person takes their time; input and timers wake the wait.
                MainQueue::shared().waitForWork(kLongestWait);
            }
        }
    }
    endModalSession(session);
    stopCode_ = outerCode;
    return *code;
}

void Application::stopModalWithCode(long code) {
    assertMainThread();
    stopCode_ = code;
    stopModal();
}

}  // namespace zelvana::platform
