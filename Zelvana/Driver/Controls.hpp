#pragma once

#include <string>
#include <vector>

#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {
class AlertPanel;
class View;
class Window;
}  // namespace zelvana::platform

namespace zelvana::driver {

// A control of one of Zelvana's windows as a person sees it: its kind, the
// text that names it and where it lies, in the desktop file's coordinates.
struct Control {
    enum class Kind { button, checkbox, popup, recorder, field, slider, label };
    Kind kind = Kind::label;
    // A recorder, pop-up, field or slider goes by the label before it on
    // its row; the others by their title or text.
    std::string name;
    platform::View* view = nullptr;
    platform::Rect bounds;

    platform::Point centre() const;
};

// The shown controls of the window, in the order of its view tree.
std::vector<Control> controlsOf(platform::Window& window);
// `control: <kind> "<name>" <x> <y> <width> <height>`.
std::string describeControl(const Control& control);

// Zelvana's frontmost window that a person works with (the settings window,
// an alert, a popover, the about panel); none when no such window is shown.
platform::Window* frontmostWindow();
// The frontmost alert on screen, if any.
platform::AlertPanel* frontmostAlert();
// `alert: <message text>`, then `alert button: <title>` per button.
std::vector<std::string> describeAlert(const platform::AlertPanel& alert);

}  // namespace zelvana::driver
