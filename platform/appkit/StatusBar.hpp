#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "platform/appkit/Rect.hpp"
#include "platform/appkit/Screen.hpp"

namespace zelvana::platform {

class StatusItem;

// The system status bar: the right-hand part of the menu bar of every
// display, where status items line up from the right edge, the oldest
// rightmost. It exists while a window server is connected. Main thread only.
class StatusBar {
public:
    static constexpr double itemSpacing = 8;
    static constexpr double rightMargin = 10;

    // None while no window server is connected (before the desktop exists).
    static StatusBar* system();

    // A new item left of the others; it leaves the bar when released.
    std::shared_ptr<StatusItem> statusItem(double length);
    void removeStatusItem(const StatusItem& item);
    // The items in the bar, oldest first.
    std::vector<std::shared_ptr<StatusItem>> items() const;

    // The button frames of the visible items are laid out from the right end
    // of the display's menu bar; see StatusItem::buttonFrame.
    std::optional<Rect> buttonFrame(const StatusItem& item, const Screen& screen) const;
    // Puts every item's window at its button's place.
    void relayout();

    // Forgets every item, for a test's fresh start.
    void resetForTesting() { items_.clear(); }

private:
    StatusBar() = default;
    std::vector<std::weak_ptr<StatusItem>> items_;
};

}  // namespace zelvana::platform
