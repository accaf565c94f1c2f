#pragma once

#include "platform/appkit/Event.hpp"

namespace zelvana::platform {

// A key press as a view receives it: an event of type keyDown.
using KeyEvent = Event;

}  // namespace zelvana::platform
