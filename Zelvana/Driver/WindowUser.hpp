#pragma once

#include <functional>
#include <string>

#include "Zelvana/Driver/Command.hpp"
#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {
class View;
}

namespace zelvana::driver {

class MouseUser;

// The person at Zelvana's frontmost window: reads its controls, presses an
// alert's button, closes the window. Every press is a click of the
// simulated mouse on the control. Main thread.
class WindowUser {
public:
    using Print = std::function<void(const std::string&)>;

    explicit WindowUser(MouseUser& mouse) : mouse_(mouse) {}

    // A line per control of the frontmost window (see Controls.hpp).
    Refusal printControls(const Print& print) const;
    // Clicks the frontmost alert's button of that title.
    Refusal answer(const std::string& title);
    // Closes the frontmost window as its close button does.
    Refusal close();
    // Clicks the middle of a shown view of one of our windows.
    Refusal click(const platform::View& view);
    // Clicks the middle of a rectangle in screen coordinates (y up).
    Refusal clickOnScreen(platform::Rect rect);

private:
    MouseUser& mouse_;
};

}  // namespace zelvana::driver
