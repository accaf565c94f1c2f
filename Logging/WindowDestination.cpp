#include "Logging/WindowDestination.hpp"

#include "Logging/LogWindowController.hpp"

namespace zelvana::logging {

WindowDestination::WindowDestination() = default;
WindowDestination::~WindowDestination() = default;

std::shared_ptr<LogWindowController> WindowDestination::logWindowController() const {
    std::lock_guard lock(controllerMutex_);
    return logWindowController_;
}

void WindowDestination::setLogWindowController(std::shared_ptr<LogWindowController> controller) {
    std::lock_guard lock(controllerMutex_);
    logWindowController_ = std::move(controller);
}

std::optional<std::string> WindowDestination::send(const LogEntry& entry) {
    auto text = BaseDestination::send(entry);
    const auto controller = logWindowController();
    if (controller && controller->isOpen() && text) controller->appendLine(*text);
    return text;
}

}  // namespace zelvana::logging
