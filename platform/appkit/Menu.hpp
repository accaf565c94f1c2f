#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Event.hpp"
#include "platform/appkit/Font.hpp"
#include "platform/appkit/MenuDelegate.hpp"
#include "platform/appkit/MenuItem.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {

class Timer;
class View;

inline constexpr const char* kMenuDidBeginTrackingNotification =
    "NSMenuDidBeginTrackingNotification";
inline constexpr const char* kMenuDidEndTrackingNotification = "NSMenuDidEndTrackingNotification";

// A menu: an ordered list of items, some with submenus. While a menu tracks
// (is open), the main run loop runs in the event-tracking mode and the keys
// our application receives go to the menu. Main thread only.
class Menu {
public:
    explicit Menu(std::string title = "");
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }

    const std::vector<std::shared_ptr<MenuItem>>& itemArray() const { return items_; }
    std::size_t numberOfItems() const { return items_.size(); }
    void addItem(std::shared_ptr<MenuItem> item);
    // Adds an item with that title, action and key equivalent and returns it.
    std::shared_ptr<MenuItem> addItem(std::string title, std::string action,
                                      std::string keyEquivalent);
    void insertItem(std::shared_ptr<MenuItem> item, std::size_t index);
    void removeItem(const std::shared_ptr<MenuItem>& item);
    void removeAllItems();
    std::shared_ptr<MenuItem> itemWithTitle(const std::string& title) const;
    // The menu whose item has this menu as its submenu. Not owned.
    Menu* supermenu() const { return supermenu_; }

    // Non-owning; see MenuDelegate.
    MenuDelegate* delegate() const { return delegate_; }
    void setDelegate(MenuDelegate* delegate) { delegate_ = delegate; }
    // When on (the default), the system enables items by their targets; off,
    // each item keeps the enabled state it is given.
    bool autoenablesItems() const { return autoenablesItems_; }
    void setAutoenablesItems(bool autoenables) { autoenablesItems_ = autoenables; }

    // Looks for an item, here and then in submenus depth first, whose key
    // equivalent matches the key event, and performs it. Returns whether one
    // was performed.
    bool performKeyEquivalent(const Event& event);

    // Opening: tells the delegate the menu will open, posts the begin-tracking
    // notification (object: this menu), then puts the main run loop into the
    // event-tracking mode. Closing leaves the mode, posts the end-tracking
    // notification and tells the delegate it closed. Only one menu tracks at
    // a time; opening another closes the first. Nothing happens when the menu
    // already is in the wanted state.
    void beginTracking();
    void endTracking();
    bool isTracking() const;
    // Opens the menu as a context menu at the event's location in its
    // window (NSMenu popUpContextMenu:withEvent:forView:).
    static void popUpContextMenu(Menu& menu, const Event& event, View* view);
    // Where it last opened as a context menu, in its window's coordinates.
    std::optional<Point> contextMenuLocation() const { return contextMenuLocation_; }
    // The menu that is open now, if any.
    static Menu* trackingMenu();
    // Takes the events pending in the application's queue, in order; the
    // application's event source calls it while the menu tracks. Escape or a
    // click closes the menu, as on the real system; later events stay queued.
    void receivePendingEvents();
    // The events that reached the menu while it tracked, in order.
    const std::vector<Event>& receivedEvents() const { return received_; }
    void clearReceivedEvents() { received_.clear(); }

    // --- A menu shown at a place ---
    // The rows of a shown menu, top to bottom, with a margin above the first
    // and below the last. A row holds the check mark's gutter, the title
    // and, at its right end after a gap, the key equivalent or a submenu's
    // arrow; the menu is as wide as its widest title and widest key
    // equivalent, but never wider than its screen: a longer title is
    // shortened in its middle, into the room of the key equivalents when
    // its row has none.
    static constexpr double itemHeight = 22;
    static constexpr double separatorHeight = 11;
    static constexpr double verticalMargin = 4;
    static constexpr double gutterWidth = 22;
    static constexpr double trailingGap = 24;
    static constexpr double rightPadding = 12;
    // The narrowest menu a status item opens.
    static constexpr double smallestWidth = 160;
    // Room a status item's menu keeps from its screen's sides.
    static constexpr double screenMargin = 4;
    // A menu taller than its screen shows an arrow across its top or bottom
    // while more rows lie that way; while the pointer rests on one, the menu
    // scrolls a row each interval, until its end shows.
    static constexpr double scrollArrowHeight = 18;
    static constexpr double scrollInterval = 0.05;
    static Font font();
    // What stands at the right end of an item's row: its key equivalent as a
    // menu shows it (modifier symbols, then the key), or a submenu's arrow.
    static std::string trailingText(const MenuItem& item);
    // The items a person sees: not hidden; an alternate shows in place of
    // the item above it only while its own modifiers are held.
    std::vector<std::shared_ptr<MenuItem>> shownItems(ModifierFlags held) const;

    // Opens the menu where a pop-up button shows it: `item` (or the first
    // shown one) with its top-left corner at `location` (screen coordinates,
    // y up), at least `minimumWidth` wide and kept on the screen there,
    // scrolled so that the item shows; then it tracks as beginTracking does.
    void popUpMenuPositioningItem(const MenuItem* item, Point location, double minimumWidth);
    // Opens the menu as a status item's: hanging from the bottom of `button`
    // (screen coordinates) at its left edge, moved left as far as it takes
    // to fit, down to the bottom of the screen at most; then it tracks.
    void popUpBelow(Rect button);
    // While popped up, the menu's frame on screen; none for a menu tracked
    // without a place.
    const std::optional<Rect>& frame() const { return frame_; }
    // A shown row, in the menu's own coordinates (origin at its top-left
    // corner, y down), as scrolled: rows scrolled away lie outside rowArea().
    struct Row {
        std::shared_ptr<MenuItem> item;
        Rect rect;
    };
    std::vector<Row> rows() const;
    // Where rows show, in the same coordinates: the frame less the arrows.
    Rect rowArea() const;
    enum class ScrollDirection { up, down };
    // Whether the arrow of that direction shows: more rows lie that way.
    bool canScroll(ScrollDirection direction) const;
    // How far the rows are scrolled up from the first.
    double scrollOffset() const { return scrollOffset_; }
    // The frame of a shown item on screen, while popped up and wholly in
    // sight.
    std::optional<Rect> frameOfItem(const MenuItem& item) const;
    // The item the pointer or the arrow keys highlight, if any.
    const std::shared_ptr<MenuItem>& highlightedItem() const { return highlighted_; }
    // The pointer while the menu tracks (the mouse sends every move, button
    // event and drag here, with its place in screen coordinates): a move
    // over an enabled item highlights it, and one onto an arrow scrolls the
    // menu while it rests there; a press outside the menu closes it; a
    // release over an enabled item chooses it, unless it ends the press that
    // opened the menu without the pointer having moved. The menu closes
    // before the chosen item acts.
    void mouseEvent(EventType type, Point location);
    // A turn of the scroll wheel over the open menu scrolls its rows.
    void scrollWheel(double deltaY);

private:
    std::string title_;
    std::vector<std::shared_ptr<MenuItem>> items_;
    Menu* supermenu_ = nullptr;
    MenuDelegate* delegate_ = nullptr;
    bool autoenablesItems_ = true;
    std::vector<Event> received_;
    bool tracking_ = false;
    std::optional<Point> contextMenuLocation_;
    std::optional<Rect> frame_;
    double scrollOffset_ = 0;
    std::shared_ptr<MenuItem> highlighted_;
    Subscription scrollTimer_;
    std::optional<ScrollDirection> scrolling_;
    // Where the pointer last moved while the menu tracked.
    std::optional<Point> pointer_;
    // Since it opened: a press inside the menu, or a drag.
    bool pointerEngaged_ = false;
    WeakFactory<Menu> weak_{this};

    void showAt(Rect frame, double scrollOffset);
    double maximumScrollOffset() const;
    void scrollTo(double offset);
    // Keeps scrolling while the pointer rests on the arrow.
    void scrollContinuously(std::optional<ScrollDirection> direction);
    // One row of that scrolling; the timer ends at the menu's end.
    void scrollRow(ScrollDirection direction, Timer& timer);
    void highlightAt(Point location);
    // The arrow keys: the next enabled item that way, brought into sight.
    void moveHighlight(ScrollDirection direction);
    void revealHighlight();
    // Closes the menu, then the item acts.
    void choose(std::shared_ptr<MenuItem> item);
    // Returns whether the key closed the menu.
    bool handleKey(const Event& event);

    friend class MenuItem;
};

}  // namespace zelvana::platform
