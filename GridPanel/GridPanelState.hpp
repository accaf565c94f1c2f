#pragma once

#include <cstdint>

namespace zelvana::gridpanel {

// What the host is doing with the panel; the numbers are the stored values.
enum class GridPanelState : std::uint8_t {
    closed = 0,
    open = 1,
    selectable = 2,
    gesture = 3,
    openNoAutoSelect = 4,
};

}  // namespace zelvana::gridpanel
