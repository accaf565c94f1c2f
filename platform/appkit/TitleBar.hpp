#pragma once

#include <array>
#include <string>

#include "platform/appkit/Rect.hpp"

namespace zelvana::platform {

class GraphicsContext;

// The title bar the system draws over the top of a titled window, whoever's
// it is: a bar (unless transparent), the close, minimise and zoom buttons
// and the centred title, dimmed unless the window is key or the active
// application's main window.
struct TitleBar {
    static constexpr double height = 28;
    // Each button is hidden, shown greyed, or shown in its colour while the
    // window looks active.
    enum class Button { hidden, disabled, enabled };
    enum class Bar { opaque, transparent };
    enum class State { active, inactive };

    std::string title;
    State state = State::inactive;
    Bar bar = Bar::opaque;
    // Close, minimise, zoom.
    std::array<Button, 3> buttons{Button::enabled, Button::enabled, Button::enabled};

    // Draws over `bounds`, the window's frame (y down), with its outline.
    void draw(GraphicsContext& context, Rect bounds) const;
    // The rounded outline of a titled window.
    static constexpr double cornerRadius = 10;
};

}  // namespace zelvana::platform
