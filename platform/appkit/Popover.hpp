#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/appkit/Rect.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {

class Popover;
class PopoverWindow;
class View;
class ViewController;
class Window;

// The edges of a rectangle, with the system's values (in a view's flipped
// coordinates maxY is the bottom edge).
enum class RectEdge { minX = 0, minY = 1, maxX = 2, maxY = 3 };

// What a popover tells its delegate when it closes, for whatever reason.
// Main thread.
class PopoverDelegate {
public:
    virtual ~PopoverDelegate() = default;
    virtual void popoverWillClose(Popover& /*popover*/) {}
    virtual void popoverDidClose(Popover& /*popover*/) {}
};

// Content shown in a window of its own beside a rectangle of a view, in a
// bubble whose arrow points at the rectangle. The popover stays within the
// visible frame of its screen: it slides along the rectangle's edge, and
// goes to the opposite edge when the preferred one has no room. Shown, it
// keeps itself alive (when held by a shared_ptr) until it closes; its
// window becomes key with the first view that takes keys as first
// responder, and gives key status back to the anchor's window on closing. A
// transient popover closes on a click anywhere outside it (another window,
// the menu bar, another application), a semitransient one on a click in the
// anchor's window; both close on Escape that nothing in them takes. Main
// thread only.
class Popover : public std::enable_shared_from_this<Popover> {
public:
    enum class Behavior { applicationDefined = 0, transient = 1, semitransient = 2 };
    // Room between the rectangle and the content, for the arrow.
    static constexpr double arrowLength = 13;

    Popover();
    ~Popover();
    Popover(const Popover&) = delete;
    Popover& operator=(const Popover&) = delete;

    Behavior behavior() const { return behavior_; }
    void setBehavior(Behavior behavior) { behavior_ = behavior; }
    bool animates() const { return animates_; }
    void setAnimates(bool animates) { animates_ = animates; }
    const std::shared_ptr<ViewController>& contentViewController() const { return content_; }
    void setContentViewController(std::shared_ptr<ViewController> controller);
    // Zero: the content view's fitting size.
    Size contentSize() const { return contentSize_; }
    void setContentSize(Size size) { contentSize_ = size; }
    // Non-owning; the delegate outlives the popover or clears itself.
    PopoverDelegate* delegate() const { return delegate_; }
    void setDelegate(PopoverDelegate* delegate) { delegate_ = delegate; }

    // Shows the content beside `rect` of `view` (an empty rect means the
    // view's bounds) at the preferred edge, or the opposite one when the
    // screen has no room there. A view outside any window shows nothing;
    // showing again moves the popover.
    void show(Rect rect, View& view, RectEdge preferredEdge);
    // The delegate hears popoverWillClose, the window goes, then
    // popoverDidClose. Nothing when not shown.
    void close();
    void performClose() { close(); }
    bool isShown() const { return shown_; }
    // The popover's own window while shown, else null.
    Window* window() const;
    // The popovers shown now, oldest first.
    static std::vector<Popover*> shownPopovers();

private:
    static std::unique_ptr<PopoverWindow> makeWindow(const Window& anchorWindow);
    Size shownSize() const;
    // The window's frame beside the rectangle, slid along its edge into `area`.
    Rect frameBeside(Rect screenRect, RectEdge edge, const std::optional<Rect>& area) const;
    // Puts the window beside the rectangle, on the preferred edge when it fits.
    void place(Rect screenRect, RectEdge preferredEdge, const std::optional<Rect>& area);
    void watchClicksOutside();
    // A click in `window` (none: outside our windows).
    void clickedAt(const Window* window);
    // Escape reached the popover's window.
    void cancelOperation();

    Behavior behavior_ = Behavior::applicationDefined;
    bool animates_ = true;
    std::shared_ptr<ViewController> content_;
    Size contentSize_;
    PopoverDelegate* delegate_ = nullptr;
    bool shown_ = false;
    std::unique_ptr<PopoverWindow> window_;
    std::weak_ptr<View> anchor_;
    Subscription clickMonitor_;
    Subscription clickElsewhereMonitor_;
    std::shared_ptr<Popover> keepAlive_;
    WeakFactory<Popover> weak_{this};
};

}  // namespace zelvana::platform
