#include "Zelvana/LaunchOnLogin.hpp"

#include <algorithm>
#include <source_location>
#include <string>

#include "Logging/Logging.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/DistributedNotificationCenter.hpp"
#include "platform/system/SystemVersion.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::core {

namespace {

using logging::Level;
using logging::Logging;
using platform::LoginItems;
using platform::LoginItemStatus;

// Relaunch and login lines all carry this file name, whoever writes them.
void log(Level level, const std::string& message, const char* function,
         std::source_location here = std::source_location::current()) {
    Logging::custom(level, message, "LaunchOnLogin", function, static_cast<int>(here.line()));
}

bool setHelperEnabled(bool enabled) {
    return LoginItems::setLoginItemEnabled(platform::Bundle::main().bundlePath(),
                                           LaunchOnLogin::helperBundleIdentifier, enabled);
}

void report(const LaunchOnLogin::Settled& settled) {
    if (settled) settled(LaunchOnLogin::isLaunchOnLoginActive());
}

// Before macOS 13 the system now and then refuses the switch; one retry is
// worth it, more are not.
void setHelperLoginItem(bool enabled, const LaunchOnLogin::Settled& settled) {
    setHelperEnabled(false);
    if (setHelperEnabled(enabled)) return report(settled);
    log(Level::warning,
        "Unable to set launch on login to " + std::string(enabled ? "true" : "false") +
            ". Retrying in 0.1s",
        "setLaunchOnLogin(enabled:)");
    platform::mainQueue().asyncAfter(LaunchOnLogin::retryDelay, [enabled, settled] {
        if (!setHelperEnabled(enabled)) {
            log(Level::warning, "Still unable to set launch on login",
                "setLaunchOnLogin(enabled:)");
        }
        report(settled);
    });
}

void logServiceFailure(bool enabling, const platform::LoginItemError& error) {
    platform::UnifiedLog::write(platform::LogType::Default,
                                std::string("Failed to ") + (enabling ? "enable" : "disable") +
                                    " launch at login: " + error.localizedDescription);
}

bool isHelperRunning() {
    return std::ranges::any_of(platform::Workspace::shared().runningApplications(),
                               [](const platform::RunningApplication& application) {
                                   return application.bundleIdentifier() ==
                                          LaunchOnLogin::helperBundleIdentifier;
                               });
}

}  // namespace

void LaunchOnLogin::setLaunchOnLogin(bool enabled, Settled settled) {
    platform::assertMainThread();
    if (!platform::SystemVersion::isAtLeast(selfRegisteringMajorVersion)) {
        setHelperLoginItem(enabled, settled);
        return;
    }
    if (enabled != isLaunchOnLoginEnabled()) setIsLaunchOnLoginEnabled(enabled);
    report(settled);
}

bool LaunchOnLogin::isLaunchOnLoginActive() {
    platform::assertMainThread();
    if (platform::SystemVersion::isAtLeast(selfRegisteringMajorVersion)) {
        return isLaunchOnLoginEnabled();
    }
    return LoginItems::isLoginItemEnabled(helperBundleIdentifier);
}

bool LaunchOnLogin::isLaunchOnLoginEnabled() {
    platform::assertMainThread();
    return LoginItems::status(mainAppService()) == LoginItemStatus::Enabled;
}

void LaunchOnLogin::setIsLaunchOnLoginEnabled(bool enabled) {
    platform::assertMainThread();
    const auto service = mainAppService();
    if (!enabled) {
        if (auto error = LoginItems::unregisterItem(service)) logServiceFailure(false, *error);
        return;
    }
    // Registering afresh picks up a program that has moved since.
    if (LoginItems::status(service) == LoginItemStatus::Enabled) {
        LoginItems::unregisterItem(service);
    }
    if (auto error = LoginItems::registerItem(service)) logServiceFailure(true, *error);
}

void LaunchOnLogin::terminateRunningHelper() {
    platform::assertMainThread();
    setLaunchOnLogin(GlobalDefaults::launchOnLogin().value());
    if (isHelperRunning()) killLauncher();
}

void LaunchOnLogin::killLauncher() {
    platform::assertMainThread();
    log(Level::info, "Sending terminate message to launcher", "killLauncher()");
    platform::DistributedNotificationCenter::defaultCenter().postNotificationName(
        terminateLauncherNotification, platform::Bundle::main().bundleIdentifier());
}

std::filesystem::path LaunchOnLogin::helperURL() {
    platform::assertMainThread();
    return platform::Bundle::main().bundlePath() / "Contents" / "Library" / "LoginItems" /
           "Zelvana Helper.app";
}

platform::LoginItem LaunchOnLogin::mainAppService() {
    platform::assertMainThread();
    const auto& bundle = platform::Bundle::main();
    return platform::LoginItem{bundle.bundleIdentifier().value_or(""),
                               bundle.infoString("CFBundleName").value_or(""),
                               bundle.executablePath().value_or(std::filesystem::path())};
}

}  // namespace zelvana::core
