#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "Logging/BaseDestination.hpp"

namespace zelvana::logging {

class LogWindowController;

// Feeds the log window: a line reaches it only while the window is open.
class WindowDestination : public BaseDestination {
public:
    WindowDestination();
    ~WindowDestination() override;

    std::optional<std::string> send(const LogEntry& entry) override;

    // Set on the main thread, read on the destination's queue.
    std::shared_ptr<LogWindowController> logWindowController() const;
    void setLogWindowController(std::shared_ptr<LogWindowController> controller);

private:
    mutable std::mutex controllerMutex_;
    std::shared_ptr<LogWindowController> logWindowController_;
};

}  // namespace zelvana::logging
