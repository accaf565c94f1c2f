#include "Logging/WindowDestination.hpp"

#include <utility>

#include "Logging/LogWindowController.hpp"

namespace zelvana::logging {

WindowDestination::WindowDestination() = default;
WindowDestination::~WindowDestination() = default;

std::shared_ptr<LogWindowController> WindowDestination::logWindowController() const {
    std::lock_guard lock(controllerMutex_);
    return logWindowController_;
}

void WindowDestination::setLogWindowController(std::shared_ptr<LogWindowController> controller) {
    std::unique_lock lock(controllerMutex_);
    auto previous = std::exchange(logWindowController_, std::move(controller));
    // Released here, on the main thread, and unlocked: its going may log.
    lock.unlock();
}

std::optional<std::string> WindowDestination::send(const LogEntry& entry) {
    auto text = BaseDestination::send(entry);
    // Used under the lock, so this queue never holds the last reference.
    std::lock_guard lock(controllerMutex_);
    const auto& controller = logWindowController_;
    if (controller && controller->isOpen() && text) controller->appendLine(*text);
    return text;
}

}  // namespace zelvana::logging
