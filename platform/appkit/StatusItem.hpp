#pragma once

#include <memory>
#include <optional>

#include "platform/appkit/Font.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/StatusBarButton.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::platform {

class StatusBar;

// One item of the system status bar: a button in the menu bar of every
// display and the menu it opens. The button sits in a small window of its
// own at the status-bar level on the main display, so popovers can point at
// it. It stays in the bar while someone holds it. Main thread only.
class StatusItem {
public:
    // Lengths with a meaning of their own.
    static constexpr double variableLength = -1;
    static constexpr double squareLength = -2;
    // The font of titles in the menu bar, and the room between a button's
    // image and its title.
    static Font menuBarFont();
    static constexpr double imageTitleGap = 2;

    ~StatusItem();
    StatusItem(const StatusItem&) = delete;
    StatusItem& operator=(const StatusItem&) = delete;

    double length() const { return length_; }
    void setLength(double length);
    StatusBarButton* button() const { return button_.get(); }
    // The menu a click on the button opens; none for a button with an action.
    const std::shared_ptr<Menu>& menu() const { return menu_; }
    void setMenu(std::shared_ptr<Menu> menu) { menu_ = std::move(menu); }
    // A hidden item takes no room in the menu bar; its menu can still open.
    bool isVisible() const { return visible_; }
    void setVisible(bool visible);

    // The button's size: the fixed length, the bar's height for a square
    // item, or the width of the image and title for a variable one.
    Size buttonSize() const;
    // Where the button is in that display's menu bar (global coordinates);
    // none when hidden or when the display has no menu bar.
    std::optional<Rect> buttonFrame(const Screen& screen) const;
    // The window holding the button: on screen at the button's frame on the
    // main display while the item is visible.
    Window* window() const { return window_.get(); }
    // Moves the windows of the bar's items to their buttons' places, after
    // the button's content changed.
    void relayout();

private:
    friend class StatusBar;
    StatusItem(StatusBar& bar, double length);
    void placeWindow();

    StatusBar* bar_;
    double length_;
    std::shared_ptr<StatusBarButton> button_;
    std::shared_ptr<Menu> menu_;
    bool visible_ = true;
    std::unique_ptr<Window> window_;
};

}  // namespace zelvana::platform
