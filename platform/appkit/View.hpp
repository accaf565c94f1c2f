#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Cursor.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/appkit/Layer.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/appkit/StoryboardObject.hpp"
#include "platform/appkit/TrackingArea.hpp"
#include "platform/core/Subscription.hpp"

namespace zelvana::platform {

class DraggingSession;
class DraggingSource;
class GraphicsContext;
class Window;
struct DraggingItem;
struct Event;

// A headless view: a frame in its superview, a bounds rectangle, subviews,
// drawing and the mouse and key events the window hands it. Coordinates are
// flipped (y down); "window coordinates" are those of the root of the tree.
// Main thread only, like everything in a window.
class View : public StoryboardObject {
public:
    // An intrinsic size component that asks for nothing.
    static constexpr double noIntrinsicMetric = -1;

    View() = default;
    explicit View(Rect frame) : frame_(frame) {}
    ~View() override;

    Rect frame() const { return frame_; }
    void setFrame(Rect frame) { frame_ = frame; }
    void setFrameSize(Size size) { frame_.size = size; }
    void setFrameOrigin(Point origin) { frame_.origin = origin; }
    // The view's own coordinate space; by default the frame's size at the origin.
    virtual Rect bounds() const { return Rect{{}, frame_.size}; }

    // The size the content asks for, noIntrinsicMetric where it asks nothing.
    virtual Size intrinsicContentSize() const { return {noIntrinsicMetric, noIntrinsicMetric}; }
    // The smallest size that shows the content: the intrinsic size where
    // there is one, the frame's otherwise, held to the size constraints.
    virtual Size fittingSize() const;

    // The width or height anchor held to a constant, exactly or at least.
    enum class SizeRelation { equal, greaterThanOrEqual };
    struct SizeConstraint {
        SizeRelation relation;
        double constant;
    };
    void constrainWidth(SizeRelation relation, double constant) {
        widthConstraint_ = SizeConstraint{relation, constant};
        invalidateIntrinsicContentSize();
    }
    void constrainHeight(SizeRelation relation, double constant) {
        heightConstraint_ = SizeConstraint{relation, constant};
        invalidateIntrinsicContentSize();
    }
    const std::optional<SizeConstraint>& widthConstraint() const { return widthConstraint_; }
    const std::optional<SizeConstraint>& heightConstraint() const { return heightConstraint_; }

    bool isHidden() const { return hidden_; }
    // Hidden views take no room: the superview lays out again.
    void setHidden(bool hidden);
    bool isHiddenOrHasHiddenAncestor() const;
    // Opacity of the view and its subviews, 0 to 1; NaN is ignored.
    double alphaValue() const { return alpha_; }
    void setAlphaValue(double alpha);

    // A view that wants a layer has one; its properties are plain fields.
    bool wantsLayer() const { return layer_ != nullptr; }
    void setWantsLayer(bool wants);
    Layer* layer() const { return layer_.get(); }
    // Whether the subviews must be laid out again: set when they come, go,
    // hide or change their size; cleared by layout().
    bool needsLayout() const { return needsLayout_; }
    void setNeedsLayout(bool needs) { needsLayout_ = needs; }
    // The size the content asks for changed: this view and the views it
    // lies in lay out again; each of those hears of it through the subview
    // the change came from.
    void invalidateIntrinsicContentSize();
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
    // Adds `view` just below `sibling` (a subview), or at the back without one.
    void addSubviewBelow(std::shared_ptr<View> view, const View* sibling);
    void removeFromSuperview();
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    View* superview() const { return superview_; }
    bool isDescendantOf(const View* view) const;
    // The shared owner of this view, empty when it is not shared.
    std::shared_ptr<View> sharedView();

    // The window showing the view's tree, if any.
    Window* window() const;
    // Called on the view and its descendants after the tree joined a window,
    // left one or moved to another; `window()` tells which.
    virtual void viewDidMoveToWindow() {}

    // --- Coordinates: `view` null means window coordinates ---
    Point convertPointToView(Point point, const View* view) const;
    Point convertPointFromView(Point point, const View* view) const;
    Rect convertRectToView(Rect rect, const View* view) const;
    Rect convertRectFromView(Rect rect, const View* view) const;
    // The deepest shown view under `point` (superview coordinates), this one
    // included; null when the point is outside.
    View* hitTest(Point point);

    // Places the subviews; the base lays out each subview's own subviews.
    virtual void layout();
    // Draws the content in bounds coordinates; the base draws nothing.
    virtual void drawRect(GraphicsContext& context, Rect dirtyRect);

    // --- Focus ring ---
    // Fills, in bounds coordinates, the shape the key window's focus ring
    // goes around while this view is its first responder. The base fills
    // nothing: a plain view shows no ring.
    virtual void drawFocusRingMask(GraphicsContext& /*context*/) const {}
    // Where the mask is drawn; what it fills beyond is cut off.
    virtual Rect focusRingMaskBounds() const { return bounds(); }
    // The shape the mask fills changed: the window draws it again. Until
    // then it keeps the ring it has.
    void noteFocusRingMaskChanged();

    // --- Events ---
    virtual bool acceptsFirstResponder() const { return false; }
    // Asked when the window makes the view (or another) first responder; a
    // false answer keeps the old state.
    virtual bool becomeFirstResponder() { return true; }
    virtual bool resignFirstResponder() { return true; }
    // Unhandled presses, keys and scrolls go on to the superview.
    virtual void scrollWheel(const Event& event);
    virtual void mouseDown(const Event& event);
    virtual void mouseUp(const Event& event);
    virtual void mouseDragged(const Event& event);
    virtual void keyDown(const Event& event);
    virtual void keyUp(const Event& event);
    // Sent by tracking areas only.
    virtual void mouseEntered(const Event& /*event*/) {}
    virtual void mouseExited(const Event& /*event*/) {}
    virtual void mouseMoved(const Event& /*event*/) {}

    // --- Drags ---
    // The pasteboard types a drag may drop here. A registered view that is a
    // DraggingDestination hears of drags that carry one of them.
    const std::vector<std::string>& registeredDraggedTypes() const { return draggedTypes_; }
    void registerForDraggedTypes(std::vector<std::string> types) {
        draggedTypes_ = std::move(types);
    }
    void unregisterDraggedTypes() { draggedTypes_.clear(); }
    // Starts a drag of `items` from this view, following the pointer until
    // the button goes up; the session holds the source until it ends. Null
    // (and logged) while another drag is under way or without items.
    DraggingSession* beginDraggingSession(std::vector<DraggingItem> items, const Event& event,
                                          std::shared_ptr<DraggingSource> source);

    // Reports pointer crossings of `rect` (bounds coordinates) to this view
    // while the subscription lives.
    Subscription addTrackingArea(Rect rect, TrackingOptions options);
    // The live areas, for the window to update.
    std::vector<std::shared_ptr<TrackingArea>> trackingAreas();

    // --- Cursor rectangles ---
    // Asked whenever the key window works out where the pointer shows which
    // shape: adds this view's rectangles with addCursorRect. The base adds none.
    virtual void resetCursorRects() {}
    // While the pointer is inside `rect` (bounds coordinates) the window
    // shows `cursor`; for resetCursorRects.
    void addCursorRect(Rect rect, const Cursor& cursor) { cursorRects_.push_back({rect, cursor}); }
    void discardCursorRects() { cursorRects_.clear(); }
    struct CursorRect {
        Rect rect;
        Cursor cursor;
    };
    const std::vector<CursorRect>& cursorRects() const { return cursorRects_; }

protected:
    // The subview (or a view inside it) asked for a new size. The base
    // does nothing more than mark this view as needing layout.
    virtual void subviewIntrinsicSizeInvalidated(View& /*subview*/) {}

private:
    friend class Window;
    void setWindow(Window* window) { window_ = window; }
    // Tells the tree when its window differs from `oldWindow`.
    void windowChangedFrom(const Window* oldWindow);
    Point offsetInWindow() const;
    void insertSubview(std::shared_ptr<View> view, std::size_t index);

    Rect frame_;
    std::optional<SizeConstraint> widthConstraint_;
    std::optional<SizeConstraint> heightConstraint_;
    bool hidden_ = false;
    double alpha_ = 1;
    std::unique_ptr<Layer> layer_;
    bool needsDisplay_ = false;
    bool needsLayout_ = true;
    bool translatesMask_ = true;
    std::string identifier_;
    std::vector<std::string> draggedTypes_;
    std::vector<std::shared_ptr<View>> subviews_;
    std::vector<std::shared_ptr<TrackingArea>> trackingAreas_;
    std::vector<CursorRect> cursorRects_;
    View* superview_ = nullptr;
    Window* window_ = nullptr;
};

}  // namespace zelvana::platform
