#pragma once

#include <functional>
#include <string>

#include "Zelvana/Driver/Command.hpp"

namespace zelvana::platform {
class Window;
}

namespace zelvana::driver {

class KeyboardUser;
class WindowUser;

// The person at the settings window. "set" works the setting's control there
// (opening the window as its menu item does when it is closed, and closing
// it again after) or, for a setting without a control, writes its stored
// value; "record show" clicks the shortcut's recorder and types the chord,
// so the recorder's own checks and alerts apply. A value the control could
// never give is refused before anything changes. Main thread.
class SettingsUser {
public:
    // The program's settings window once it is made, else null.
    using SettingsWindow = std::function<platform::Window*()>;

    // Without `settingsWindow` there is no window to work.
    SettingsUser(WindowUser& window, KeyboardUser& keyboard, SettingsWindow settingsWindow)
        : window_(window), keyboard_(keyboard), settingsWindow_(std::move(settingsWindow)) {}

    Refusal set(const std::string& key, const std::string& json);
    Refusal record(const std::string& name, const Chord& chord);

private:
    WindowUser& window_;
    KeyboardUser& keyboard_;
    SettingsWindow settingsWindow_;
};

}  // namespace zelvana::driver
