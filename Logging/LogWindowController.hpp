#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "platform/appkit/Storyboard.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/appkit/WindowDelegate.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::logging {

// The log window's controller, and its window's delegate. It shows lines
// only while the window is open; closing the window clears them. Released
// on the main thread.
class LogWindowController : public platform::WindowController, public platform::WindowDelegate {
public:
    LogWindowController() = default;
    // Becomes the window's delegate.
    explicit LogWindowController(std::unique_ptr<platform::Window> window);

    // Made from the "LogWindow" storyboard of Logging_Logging.bundle; stops
    // the process with "Unable to find WindowController" when the storyboard's
    // "LogWindowController" is not one.
    static std::shared_ptr<LogWindowController> makeFromStoryboard();
    // The same, from a storyboard already loaded.
    static std::shared_ptr<LogWindowController> makeFrom(const platform::Storyboard& storyboard);
    // Lets storyboards make the log window's classes; makeFromStoryboard
    // calls it, and calling it again is harmless.
    static void registerStoryboardClasses();

    // Safe from any thread: the window destination reads it on its queue.
    bool isOpen() const { return isOpen_.load(); }
    // Safe from any thread: hands the line to the main queue.
    void appendLine(const std::string& line);

    // Main thread.
    void showWindow(const platform::ActionSender* sender) override;
    void windowWillClose() override;
    void clearClicked(const platform::ActionSender* sender);
    void clearLog();
    // The window's "clearClicked:".
    void connectActions(platform::StoryboardActions& actions) override;

private:
    std::atomic<bool> isOpen_{false};
    platform::WeakFactory<LogWindowController> weak_{this};
};

}  // namespace zelvana::logging
