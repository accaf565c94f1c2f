#pragma once

namespace zelvana::KeyboardShortcuts {

// Which edge of a shortcut's key an event sequence reports.
enum class EventType { keyDown, keyUp };

}  // namespace zelvana::KeyboardShortcuts
