#include <utility>

#include "platform/appkit/Application.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/MainQueue.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {

long Application::runModalForWindow(Window& window) {
    assertMainThread();
    // An outer run's pending code waits until this run is over.
    const auto outerCode = std::exchange(stopCode_, std::nullopt);
    const ModalSession session = beginModalSession(window);
    std::optional<long> code;
    while (!code) {
        const int ran = MainQueue::shared().runPending();
        const bool hadEvents = !queue_.empty();
        const ModalResponse response = runModalSession(session);
        if (stopCode_) {
            code = std::exchange(stopCode_, std::nullopt);
        } else if (response != ModalResponse::continueSession) {
            code = static_cast<long>(response);
        } else if (ran == 0 && !hadEvents) {
            UnifiedLog::write(LogType::Error, "A modal window waited for input that never came");
            code = static_cast<long>(ModalResponse::abort);
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
