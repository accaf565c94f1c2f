#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Rect.hpp"
#include "platform/appkit/StoryboardObject.hpp"

namespace zelvana::platform {

class Window;

// A headless view: a frame in its superview, a bounds rectangle and subviews.
// Main thread only, like everything in a window.
class View : public StoryboardObject {
public:
    View() = default;
    explicit View(Rect frame) : frame_(frame) {}
    ~View() override;

    Rect frame() const { return frame_; }
    void setFrame(Rect frame) { frame_ = frame; }
    // The view's own coordinate space; by default the frame's size at the origin.
    virtual Rect bounds() const { return Rect{{}, frame_.size}; }

    // The name a storyboard gives the view, to find it again.
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    // This view or the first descendant with that identifier.
    View* findView(const std::string& identifier);

    void addSubview(std::shared_ptr<View> view);
    void removeFromSuperview();
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    View* superview() const { return superview_; }

    // The window showing the view's tree, if any.
    Window* window() const;

private:
    friend class Window;
    void setWindow(Window* window) { window_ = window; }

    Rect frame_;
    std::string identifier_;
    std::vector<std::shared_ptr<View>> subviews_;
    View* superview_ = nullptr;
    Window* window_ = nullptr;
};

}  // namespace zelvana::platform
