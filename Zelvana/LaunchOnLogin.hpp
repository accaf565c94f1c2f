#pragma once

#include <filesystem>
#include <functional>

#include "platform/system/LoginItems.hpp"

namespace zelvana::core {

// Starting the application at login, and the main application's half of the
// relaunch helper's protocol. From macOS 13 the application registers itself
// as its login item; before, it switches the helper inside its bundle on and
// off. Class-level operations only; main thread.
class LaunchOnLogin {
public:
    static constexpr const char* helperBundleIdentifier = "com.quorrim.Zelvana-Helper";
    static constexpr const char* pongNotification = "com.quorrim.Zelvana.pong";
    static constexpr const char* terminateLauncherNotification =
        "com.quorrim.Zelvana.terminateLauncher";
    // The first system version on which the application registers itself.
    static constexpr int selfRegisteringMajorVersion = 13;
    static constexpr double retryDelay = 0.1;

    LaunchOnLogin() = delete;

    // Called once the outcome is known, with whether launch at login really
    // is on: at once, or after the retry.
    using Settled = std::function<void(bool isOn)>;

    // Brings the registration in line with `enabled`. From macOS 13 a system
    // already in the wanted state is left untouched; before, the helper is
    // switched off and then to `enabled`, with one retry 0.1 s later.
    static void setLaunchOnLogin(bool enabled, Settled settled = {});
    // Whether the application will start at login, by the route of this
    // system version.
    static bool isLaunchOnLoginActive();
    // Whether the application's own login item is enabled (macOS 13 and later).
    static bool isLaunchOnLoginEnabled();
    // Registers (again, when it already is) or unregisters the application's
    // own login item; a failure only goes to the system log.
    static void setIsLaunchOnLoginEnabled(bool enabled);

    // Start-up: applies launchOnLogin, then asks a running helper to quit.
    static void terminateRunningHelper();
    // Tells a running helper to quit.
    static void killLauncher();

    // <main bundle>/Contents/Library/LoginItems/Zelvana Helper.app
    static std::filesystem::path helperURL();
    // The application itself as a login item.
    static platform::LoginItem mainAppService();
};

}  // namespace zelvana::core
