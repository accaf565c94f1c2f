#pragma once

#include "platform/appkit/Window.hpp"

namespace zelvana::switcher {

// A window is transparent when it is not opaque and its background is the
// clear colour (no background counts as not clear).
bool isTransparent(const platform::Window& window);
// Sets opacity to the opposite; transparent also clears the background, while
// opaque keeps whatever background the window has.
void setTransparent(platform::Window& window, bool transparent);

}  // namespace zelvana::switcher
