#pragma once

#include <memory>

#include "platform/appkit/StoryboardObject.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/ActionSender.hpp"

namespace zelvana::platform {

class ViewController;

// Owns a window and shows it. Main thread only.
class WindowController : public StoryboardObject {
public:
    WindowController() = default;
    explicit WindowController(std::unique_ptr<Window> window);
    ~WindowController() override;

    Window* window() const { return window_.get(); }
    void setWindow(std::unique_ptr<Window> window);
    // The window's content view controller, if any.
    ViewController* contentViewController() const;

    // Puts the window on screen, in front, as key window.
    virtual void showWindow(const ActionSender* sender);
    virtual void close();

private:
    std::unique_ptr<Window> window_;
};

}  // namespace zelvana::platform
