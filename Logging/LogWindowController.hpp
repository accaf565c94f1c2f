#pragma once

#include <atomic>
#include <memory>
#include <string>

// (Contract for the log window; implemented with the headless window stand-in.)
namespace zelvana::logging {

class LogWindowController {
public:
    // Made from the "LogWindow" storyboard of Logging_Logging.bundle; stops
    // the process with "Unable to find WindowController" when the storyboard's
    // "LogWindowController" is not one.
    static std::shared_ptr<LogWindowController> makeFromStoryboard();

    virtual ~LogWindowController();
    // Safe from any thread.
    bool isOpen() const { return isOpen_.load(); }
    // Safe from any thread: hands the line to the main queue.
    void appendLine(const std::string& line);
    // Main thread.
    void showWindow(const void* sender);
    void windowWillClose();
    void clearClicked(const void* sender);
    void clearLog();

protected:
    std::atomic<bool> isOpen_{false};
};

}  // namespace zelvana::logging
