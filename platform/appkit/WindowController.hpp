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

    // Where the window goes the first time it is shown: where its frame says,
    // or centred on its screen (as a storyboard's window may ask).
    enum class InitialPosition { frame, centered };
    InitialPosition initialPosition() const { return initialPosition_; }
    void setInitialPosition(InitialPosition position) { initialPosition_ = position; }

    // Puts the window on screen, in front, as key window.
    virtual void showWindow(const ActionSender* sender);
    virtual void close();

private:
    std::unique_ptr<Window> window_;
    InitialPosition initialPosition_ = InitialPosition::frame;
    bool shownBefore_ = false;
};

}  // namespace zelvana::platform
