#pragma once

#include <memory>
#include <string>

#include "platform/appkit/Rect.hpp"
#include "platform/appkit/StoryboardObject.hpp"

namespace zelvana::platform {

class View;
class ViewController;
class WindowController;
class WindowDelegate;

// A headless window: its title, frame and whether it is on screen and key.
// Main thread only.
class Window : public StoryboardObject {
public:
    Window() = default;
    explicit Window(Rect frame) : frame_(frame) {}
    ~Window() override;

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    Rect frame() const { return frame_; }
    void setFrame(Rect frame) { frame_ = frame; }

    bool isVisible() const { return visible_; }
    bool isKeyWindow() const { return key_; }
    // Shows the window in front of the others and makes it key.
    void makeKeyAndOrderFront(const void* sender);
    // Hides the window without closing it.
    void orderOut(const void* sender);
    // Tells the delegate first, then takes the window off screen. A closed
    // window can be shown again.
    void close();
    int orderFrontCount() const { return orderFrontCount_; }

    // Non-owning; the delegate outlives the window or clears itself.
    WindowDelegate* delegate() const { return delegate_; }
    void setDelegate(WindowDelegate* delegate) { delegate_ = delegate; }

    // Setting it loads the controller's view and makes it the content view.
    const std::shared_ptr<ViewController>& contentViewController() const {
        return contentViewController_;
    }
    void setContentViewController(std::shared_ptr<ViewController> controller);
    View* contentView() const { return contentView_.get(); }
    void setContentView(std::shared_ptr<View> view);

    // The controller that owns the window, if any.
    WindowController* windowController() const { return windowController_; }

    // Offers an action to the content view controller, then to the window
    // controller; returns whether one handled it.
    bool sendAction(const std::string& action, const void* sender);

private:
    friend class WindowController;
    void setWindowController(WindowController* controller) { windowController_ = controller; }

    std::string title_;
    Rect frame_;
    bool visible_ = false;
    bool key_ = false;
    int orderFrontCount_ = 0;
    WindowDelegate* delegate_ = nullptr;
    WindowController* windowController_ = nullptr;
    std::shared_ptr<ViewController> contentViewController_;
    std::shared_ptr<View> contentView_;
};

}  // namespace zelvana::platform
