#pragma once

#include <memory>
#include <optional>

#include "platform/appkit/Menu.hpp"
#include "platform/appkit/Rect.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/StatusBarButton.hpp"

namespace zelvana::platform {

class StatusBar;

// One item of the system status bar: a button in the menu bar of every
// display and the menu it opens. It stays in the bar while someone holds it.
// Main thread only.
class StatusItem {
public:
    // Lengths with a meaning of their own.
    static constexpr double variableLength = -1;
    static constexpr double squareLength = -2;

    ~StatusItem();
    StatusItem(const StatusItem&) = delete;
    StatusItem& operator=(const StatusItem&) = delete;

    double length() const { return length_; }
    void setLength(double length) { length_ = length; }
    StatusBarButton* button() const { return button_.get(); }
    // The menu a click on the button opens; none for a button with an action.
    const std::shared_ptr<Menu>& menu() const { return menu_; }
    void setMenu(std::shared_ptr<Menu> menu) { menu_ = std::move(menu); }
    // A hidden item takes no room in the menu bar; its menu can still open.
    bool isVisible() const { return visible_; }
    void setVisible(bool visible) { visible_ = visible; }

    // The button's size: the fixed length, the bar's height for a square
    // item, or the width of the image and title for a variable one.
    Size buttonSize() const;
    // Where the button is in that display's menu bar (global coordinates);
    // none when hidden or when the display has no menu bar.
    std::optional<Rect> buttonFrame(const Screen& screen) const;

private:
    friend class StatusBar;
    StatusItem(StatusBar& bar, double length);

    StatusBar* bar_;
    double length_;
    std::shared_ptr<StatusBarButton> button_;
    std::shared_ptr<Menu> menu_;
    bool visible_ = true;
};

}  // namespace zelvana::platform
