#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/appkit/Layer.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/appkit/StoryboardObject.hpp"

namespace zelvana::platform {

class Window;
struct Event;

// A headless view: a frame in its superview, a bounds rectangle and subviews.
// Main thread only, like everything in a window.
class View : public StoryboardObject {
public:
    View() = default;
    explicit View(Rect frame) : frame_(frame) {}
    ~View() override;

    Rect frame() const { return frame_; }
    void setFrame(Rect frame) { frame_ = frame; }
    void setFrameSize(Size size) { frame_.size = size; }
    void setFrameOrigin(Point origin) { frame_.origin = origin; }
    // The view's own coordinate space; by default the frame's size at the origin.
    virtual Rect bounds() const { return Rect{{}, frame_.size}; }

    // The smallest size that shows the content; plain views keep their size.
    virtual Size fittingSize() const { return frame_.size; }

    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    // A view that wants a layer has one; its properties are plain fields.
    bool wantsLayer() const { return layer_ != nullptr; }
    void setWantsLayer(bool wants);
    Layer* layer() const { return layer_.get(); }
    bool needsDisplay() const { return needsDisplay_; }
    void setNeedsDisplay(bool needs) { needsDisplay_ = needs; }
    bool translatesAutoresizingMaskIntoConstraints() const { return translatesMask_; }
    void setTranslatesAutoresizingMaskIntoConstraints(bool value) { translatesMask_ = value; }

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

    // --- Events ---
    // A scroll-wheel event; by default it goes on to the superview.
    virtual void scrollWheel(const Event& event);
    // The pointer entered a tracking area of the view; by default nothing happens.
    virtual void mouseEntered(const Event& event);

private:
    friend class Window;
    void setWindow(Window* window) { window_ = window; }

    Rect frame_;
    bool hidden_ = false;
    std::unique_ptr<Layer> layer_;
    bool needsDisplay_ = false;
    bool translatesMask_ = true;
    std::string identifier_;
    std::vector<std::shared_ptr<View>> subviews_;
    View* superview_ = nullptr;
    Window* window_ = nullptr;
};

}  // namespace zelvana::platform
