#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "gestures/CloseBehavior.hpp"
#include "platform/appkit/Image.hpp"
#include "platform/appkit/WindowController.hpp"

namespace zelvana::gestures {

// The permission prompts. For Accessibility a small window explains the
// need, opens the settings pane and polls every 0.3 s until trust is
// granted, then closes and calls back; the polling keeps the prompt alive,
// also after this object is gone. For Input Monitoring a modal alert asks
// the user to grant it and relaunch. Main thread only.
class AccessibilityAuth {
public:
    using Completion = std::function<void()>;

    AccessibilityAuth();
    ~AccessibilityAuth();
    AccessibilityAuth(const AccessibilityAuth&) = delete;
    AccessibilityAuth& operator=(const AccessibilityAuth&) = delete;

    // True when the process is trusted already; nothing else happens then.
    // Otherwise shows the prompt (building it and starting the polling on
    // the first request; a later request brings the same window forward and
    // takes its completion) and returns false. Without a name or icon the
    // main bundle's are used.
    bool requestAccess(const std::optional<std::string>& appName,
                       const std::optional<platform::Image>& icon, const std::string& message,
                       CloseBehavior closeBehavior, Completion onGranted);

    // Present while the prompt waits for trust.
    platform::WindowController* accessibilityWindowController() const;

    // The "Open System Settings" button: the Accessibility privacy pane.
    static void openSystemPrefs();
    // The close button when closing quits: ends the application.
    static void quit();
    // Whether input monitoring is granted; when it is not, a modal alert
    // asks for it (and a relaunch) and the answer is false.
    static bool checkInputMonitoring();

    static constexpr const char* accessibilityPaneURL =
        "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility";
    static constexpr double pollInterval = 0.3;

private:
    struct Prompt;
    static void poll(const std::shared_ptr<Prompt>& prompt);
    static void show(platform::Window& window);

    std::shared_ptr<Prompt> prompt_;
};

}  // namespace zelvana::gestures
