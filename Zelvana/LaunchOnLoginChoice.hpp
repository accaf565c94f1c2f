#pragma once

#include <functional>

namespace zelvana::core {

enum class LoginRegistration { withSystem, settingOnly };

// The user switched launch at login in a window: stores the choice in
// launchOnLogin and, with the system, brings the login item in line. When the
// system refuses, the setting takes the state it really has and `showState`
// shows it (called only then, and only while it exists). Main thread.
void applyLaunchOnLoginChoice(bool wanted, LoginRegistration registration,
                              std::function<void(bool isOn)> showState);

}  // namespace zelvana::core
