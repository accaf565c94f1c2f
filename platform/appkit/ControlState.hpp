#pragma once

namespace zelvana::platform {

// The state of a two-state control or a menu item's check mark, by its raw
// value.
enum class ControlState { mixed = -1, off = 0, on = 1 };

}  // namespace zelvana::platform
