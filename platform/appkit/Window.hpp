#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Color.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/StoryboardObject.hpp"
#include "platform/appkit/TitleBar.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/WindowServer.hpp"
#include "platform/core/ActionSender.hpp"
#include "platform/core/Flags.hpp"
#include "platform/core/SubscriberList.hpp"

namespace zelvana::platform {

class Coder;
struct Event;
class GraphicsContext;
struct Notification;
class TextView;
class View;
class ViewController;
class WindowController;
class WindowDelegate;

// Collection behaviour bits: how a window lives on spaces. The empty set is
// the default behaviour.
enum class WindowCollectionBehavior : std::uint64_t {
    canJoinAllSpaces = 1,
    moveToActiveSpace = 2,
    managed = 4,
    transient = 8,
    stationary = 16,
    participatesInCycle = 32,
    ignoresCycle = 64,
    fullScreenPrimary = 128,
    fullScreenAuxiliary = 256,
};
ZELVANA_FLAGS(WindowCollectionBehavior)

// Style mask bits: a window's frame and controls; borderless is the empty set.
enum class WindowStyle : std::uint64_t {
    borderless = 0,
    titled = 1,
    closable = 2,
    miniaturizable = 4,
    resizable = 8,
    utilityWindow = 16,
    nonactivatingPanel = 128,
    hudWindow = 1 << 13,
    fullSizeContentView = 1 << 15,
};
ZELVANA_FLAGS(WindowStyle)

// A headless window: its title, frame and style, whether it is on screen, key
// or main, and how it behaves across spaces. The frame is in global AppKit
// coordinates (bottom-left origin). The content rectangle is the frame less
// the title bar of a titled window (a full-size content view reaches under
// it) and less the room a subclass keeps around its content.
// Placement on spaces, the screen and the space-switching rule come from the
// installed window server (the desktop). Main thread only.
class Window : public StoryboardObject {
public:
    using Style = WindowStyle;
    using StyleMask = Flags<WindowStyle>;
    using CollectionBehavior = WindowCollectionBehavior;
    using CollectionBehaviors = Flags<WindowCollectionBehavior>;
    // Window levels; higher levels stack in front.
    struct Level {
        static constexpr int normal = 0;
        static constexpr int floating = 3;
        static constexpr int modalPanel = 8;
        static constexpr int mainMenu = 24;
        static constexpr int statusBar = 25;
        static constexpr int popUpMenu = 101;
        static constexpr int screenSaver = 1000;
    };
    struct BackingStore {
        static constexpr int retained = 0;
        static constexpr int nonretained = 1;
        static constexpr int buffered = 2;
    };

    // Called with the old and the new screen whenever `screen()` changes.
    using ScreenObserver = std::function<void(const std::optional<Screen>& oldScreen,
                                              const std::optional<Screen>& newScreen)>;
    Window();
    // A titled window with that frame.
    explicit Window(Rect frame);
    // The frame holds the content rectangle and the style's title bar;
    // backing and defer change nothing.
    Window(Rect contentRect, StyleMask styleMask, int backing, bool defer);
    // The height of a titled window's title bar.
    static constexpr double titleBarHeight = TitleBar::height;
    ~Window() override;

    // A window of class W (made from a content rectangle, style mask, backing
    // and defer) sized to the controller's view, titled, closable,
    // miniaturizable and resizable, with the controller as its content.
    template <class W = Window>
    static std::unique_ptr<W> withContentViewController(std::shared_ptr<ViewController> controller);

    // The window whose key status is on, if any.
    static Window* keyWindow();
    static Window* mainWindow();

    WindowNumber windowNumber() const { return windowNumber_; }
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    // --- Geometry ---
    Rect frame() const { return frame_; }
    void setFrame(Rect frame);
    void setFrameOrigin(Point origin);
    // Keeps the origin; the content view takes the new size and the frame
    // grows by the title bar.
    void setContentSize(Size size);
    // Where the content lies in a frame of this window, and the other way.
    Rect contentRectForFrameRect(Rect frame) const;
    Rect frameRectForContentRect(Rect content) const;
    // Centres the window in the visible frame of its centring screen, a
    // little above the middle as the system does.
    void center();
    // The screen `center` places the window on: its own while it is on
    // screen, the main one before it is (or while it is off every screen).
    std::optional<Screen> centeringScreen() const;
    // Window coordinates (y down from the top of the content) to global ones
    // (bottom-left origin), and back.
    Rect convertRectToScreen(Rect rect) const;
    Point convertPointToScreen(Point point) const;
    Point convertPointFromScreen(Point point) const;
    // The display holding most of the frame; none off every display.
    std::optional<Screen> screen() const;
    // The observation ends when its token goes, also after the window is gone.
    [[nodiscard]] Subscription observeScreen(ScreenObserver observer);
    // Compares the screen with the last one seen and tells the observers; the
    // window server calls it when displays change.
    void refreshScreen();

    // --- Style ---
    StyleMask styleMask() const { return styleMask_; }
    // Keeps the frame; the content view takes the new content rectangle.
    void setStyleMask(StyleMask mask);
    int level() const { return level_; }
    void setLevel(int level) { level_ = level; }
    CollectionBehaviors collectionBehavior() const { return collectionBehavior_; }
    void setCollectionBehavior(CollectionBehaviors behavior);
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool opaque) { opaque_ = opaque; }
    // Absent means no background colour at all.
    const std::optional<Color>& backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(std::optional<Color> color) { backgroundColor_ = std::move(color); }
    bool hasShadow() const { return hasShadow_; }
    void setHasShadow(bool shadow) { hasShadow_ = shadow; }
    bool ignoresMouseEvents() const { return ignoresMouseEvents_; }
    void setIgnoresMouseEvents(bool ignores) { ignoresMouseEvents_ = ignores; }
    // How opaque the whole window is drawn, 0 to 1.
    double alphaValue() const { return alphaValue_; }
    void setAlphaValue(double alpha) { alphaValue_ = alpha; }
    enum class TitleVisibility { visible = 0, hidden = 1 };
    TitleVisibility titleVisibility() const { return titleVisibility_; }
    void setTitleVisibility(TitleVisibility visibility) { titleVisibility_ = visibility; }
    bool titlebarAppearsTransparent() const { return titlebarTransparent_; }
    void setTitlebarAppearsTransparent(bool transparent) { titlebarTransparent_ = transparent; }
    // The title bar's buttons, by the system's raw values.
    enum class ButtonType { close = 0, miniaturize = 1, zoom = 2, toolbar = 3 };
    bool isStandardWindowButtonHidden(ButtonType button) const {
        return hiddenButtons_ & (1u << static_cast<unsigned>(button));
    }
    void setStandardWindowButtonHidden(ButtonType button, bool hidden) {
        const unsigned bit = 1u << static_cast<unsigned>(button);
        hiddenButtons_ = hidden ? hiddenButtons_ | bit : hiddenButtons_ & ~bit;
    }

    // --- Identity and restoration ---
    const std::string& identifier() const { return identifier_; }
    void setIdentifier(std::string identifier) { identifier_ = std::move(identifier); }
    bool isRestorable() const { return restorable_; }
    void setRestorable(bool restorable) { restorable_ = restorable; }
    // The name a restorer is registered under (WindowRestoration); empty: none.
    const std::string& restorationClass() const { return restorationClass_; }
    void setRestorationClass(std::string className) { restorationClass_ = std::move(className); }
    // Adds the window's state to the coder: the frame, then subclass state.
    virtual void encodeRestorableStateWithCoder(Coder& coder) const;
    // Puts the saved frame back.
    virtual void restoreStateWithCoder(const Coder& coder);

    // --- Ordering ---
    bool isVisible() const { return visible_; }
    // True from a close until the window is shown again.
    bool isClosed() const { return closed_; }
    // Shows (orderFront) or hides (orderOut) the window.
    void setIsVisible(bool visible);
    // Shows the window in front of its level without making it key.
    void orderFront(const ActionSender* sender);
    // Shows the window in front and makes it key and main where it can be.
    // For the active application, a window on a space its display does not
    // show switches the display to that space, unless it is stationary.
    void makeKeyAndOrderFront(const ActionSender* sender);
    // Hides the window without closing it.
    void orderOut(const ActionSender* sender);
    // Tells the delegate first, then takes the window off screen. A closed
    // window can be shown again.
    virtual void close();
    // A click on the title bar's close button: closes a closable window
    // whose button shows; false, and nothing happens, for any other.
    bool performClose(const ActionSender* sender);
    int orderFrontCount() const { return orderFrontCount_; }
    // Its space is shown, or it joins all spaces.
    bool isOnActiveSpace() const;

    // --- Key and main ---
    bool isKeyWindow() const { return key_; }
    bool isMainWindow() const { return main_; }
    virtual bool canBecomeKeyWindow() const { return true; }
    virtual bool canBecomeMainWindow() const { return true; }
    // Whether it takes clicks while another window runs a modal session.
    virtual bool worksWhenModal() const { return false; }
    // Makes the window key (and main) when it can be, whether or not it is
    // on screen.
    void makeKeyWindow();
    void makeMainWindow();
    // Posted on the default centre, with the window as the object, after
    // the window became or resigned key.
    static constexpr const char* didBecomeKeyNotification = "NSWindowDidBecomeKeyNotification";
    static constexpr const char* didResignKeyNotification = "NSWindowDidResignKeyNotification";
    // The window a key notification is about; null for any other object.
    static Window* notifyingWindow(const Notification& notification);
    // Hooks: the base versions take or give up the status; the previous key
    // (main) window resigns first.
    virtual void becomeKeyWindow();
    virtual void resignKeyWindow();
    virtual void becomeMainWindow();
    virtual void resignMainWindow();

    // --- Responders and events ---
    // The view that takes keys; null when the window itself does.
    View* firstResponder() const;
    // Asks the old responder to resign and `view` (shared, in this window, or
    // null for the window) to become first responder; false when one refuses.
    bool makeFirstResponder(View* view);
    // The one text view that edits whichever text field is first responder.
    TextView& fieldEditor();
    // Tab and Shift-Tab: the focus moves to the next (previous) shown view
    // that takes it, in the order of the view tree, round to the first.
    void selectNextKeyView();
    void selectPreviousKeyView();

    // --- Focus ring ---
    // The key window rings its first responder while that view takes the
    // focus and shows: around the shape its drawFocusRingMask fills within
    // its focusRingMaskBounds, drawn when first asked for and kept until the
    // first responder changes, changes its size or notes a new shape.
    struct FocusRing {
        Rect bounds;  // where the mask lies, in window coordinates
        Image mask;   // what the view filled there
    };
    std::optional<FocusRing> focusRing() const;
    // From View::noteFocusRingMaskChanged.
    void focusRingMaskChanged(const View& view);
    // Hands an event to the views: a key down first to the buttons whose key
    // equivalent it is, then keys to the first responder, a press to
    // the view under it (later drags and the release to that same view), a
    // scroll to the view under it, and every pointer event to the tracking
    // areas it crosses.
    void sendEvent(const Event& event);
    // The end of the responder chain: a key no view took, or that came with
    // no first responder. Tab and Shift-Tab move the focus; Escape cancels.
    virtual void keyDown(const Event& event);
    virtual void cancelOperation() {}

    // Shows the shape the key window's cursor rectangles ask for where the
    // pointer is: that of the front view's rectangle holding it, or the
    // arrow once the pointer left them all (or went over no window of ours,
    // `window` null). Pointer events and the mouse's moves call it.
    static void updateCursor(Window* window, Point locationInWindow);

    // --- Sheets ---
    // Shows `sheet` attached to this window: centred below its top edge, in
    // front and key. While it is attached, this window takes no clicks.
    void beginSheet(Window& sheet);
    // Takes the sheet away; this window, when shown, becomes key again.
    void endSheet(Window& sheet);
    // Non-owning; each clears the other when it goes.
    Window* attachedSheet() const { return attachedSheet_; }
    Window* sheetParent() const { return sheetParent_; }

    // Non-owning; the delegate outlives the window or clears itself.
    WindowDelegate* delegate() const { return delegate_; }
    void setDelegate(WindowDelegate* delegate) { delegate_ = delegate; }

    // Setting it loads the controller's view, makes it the content view and
    // gives the window the view's size (unless the view has none yet).
    // The controller hears viewWillAppear and viewDidAppear around each
    // ordering that shows the window, and the disappearing calls around each
    // that hides it.
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
    bool sendAction(const std::string& action, const ActionSender* sender);

    // --- Drawing, in the frame's bounds (y down) ---
    // What lies under the content: the background colour, with the rounded
    // corners of a titled window.
    virtual void drawBackground(GraphicsContext& context, Rect bounds) const;
    // What lies over it: a titled window's title bar, its title and buttons.
    void drawTitleBar(GraphicsContext& context, Rect bounds) const;

protected:
    // Room a subclass keeps between its frame and its content.
    virtual EdgeInsets contentInsets() const { return {}; }
    // The content view takes the content rectangle's size.
    void fitContentView();

private:
    friend class WindowController;
    void setWindowController(WindowController* controller) { windowController_ = controller; }
    void frameDidChange();
    // Around ordering the window front: the content view controller that
    // appears (none when the window was shown already) hears of it.
    std::shared_ptr<ViewController> willShow();
    void didShow(const std::shared_ptr<ViewController>& appearing);
    void updateTrackingAreas(const Event& event);

    WindowNumber windowNumber_ = 0;
    std::string title_;
    Rect frame_;
    StyleMask styleMask_ = Style::titled;
    int level_ = Level::normal;
    CollectionBehaviors collectionBehavior_;
    bool opaque_ = true;
    std::optional<Color> backgroundColor_ = Color::windowBackgroundColor();
    bool hasShadow_ = true;
    bool ignoresMouseEvents_ = false;
    double alphaValue_ = 1;
    TitleVisibility titleVisibility_ = TitleVisibility::visible;
    bool titlebarTransparent_ = false;
    unsigned hiddenButtons_ = 0;
    std::string identifier_;
    bool restorable_ = false;
    std::string restorationClass_;
    bool visible_ = false;
    bool closed_ = false;
    bool key_ = false;
    bool main_ = false;
    int orderFrontCount_ = 0;
    std::optional<Screen> lastScreen_;
    SubscriberList<const std::optional<Screen>&, const std::optional<Screen>&> screenObservers_;
    WindowDelegate* delegate_ = nullptr;
    WindowController* windowController_ = nullptr;
    std::shared_ptr<ViewController> contentViewController_;
    std::shared_ptr<View> contentView_;
    std::weak_ptr<View> firstResponder_;
    std::weak_ptr<View> mouseDownView_;
    std::shared_ptr<TextView> fieldEditor_;
    // The first responder's focus-ring mask as last drawn for a view of
    // those bounds, in its mask bounds.
    struct FocusRingMask {
        const View* view = nullptr;
        Rect viewBounds;
        Rect bounds;
        Image mask{Size{}};
        bool filled = false;
    };
    static FocusRingMask drawFocusRingMask(const View& view);
    mutable std::optional<FocusRingMask> focusRingMask_;
    Window* attachedSheet_ = nullptr;
    Window* sheetParent_ = nullptr;
    bool closing_ = false;
};

template <class W>
std::unique_ptr<W> Window::withContentViewController(std::shared_ptr<ViewController> controller) {
    const Size size = controller ? controller->view()->frame().size : Size{};
    auto window = std::make_unique<W>(
        Rect{{}, size}, Style::titled | Style::closable | Style::miniaturizable | Style::resizable,
        BackingStore::buffered, false);
    window->setContentViewController(std::move(controller));
    return window;
}

}  // namespace zelvana::platform
