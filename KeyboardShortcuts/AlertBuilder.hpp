#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Alert.hpp"
#include "platform/appkit/Image.hpp"

namespace zelvana::platform {
class Window;
}

// Alerts for the recorder fields: building one in a call, and running it as a
// sheet on a window while still waiting for the answer. Main thread.
namespace zelvana::keyboardshortcuts {

// One button per title, in order (none gives the system's single default
// button); the informative text only when there is one; no icon gives the
// standard one.
platform::Alert makeAlert(const std::string& messageText,
                          const std::optional<std::string>& informativeText,
                          platform::Alert::Style style, std::optional<platform::Image> icon,
                          const std::vector<std::string>& buttonTitles);

// With a window: shows the alert as its sheet and runs the window modally
// until the sheet is answered. Without one: runs the alert modally. Either
// way returns the pressed button (the first is 1000).
platform::Alert::ModalResponse runModalAttached(const platform::Alert& alert,
                                                platform::Window* window);

}  // namespace zelvana::keyboardshortcuts
