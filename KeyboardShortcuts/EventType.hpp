#pragma once

namespace zelvana::keyboardshortcuts {

// Which edge of a shortcut's key an event sequence reports.
enum class EventType { keyDown, keyUp };

}  // namespace zelvana::keyboardshortcuts
