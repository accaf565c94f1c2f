#include "ZelvanaHelper/AppDelegate.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>
#include <string_view>

#include "Logging/Logging.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/ProcessInfo.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/foundation/WholeNumber.hpp"

namespace zelvana::helper {

namespace fs = std::filesystem;
using logging::Logging;

namespace {

// The retries add up to two seconds to the delay; a larger one would leave
// the integer range, and waits that long never end anyway.
constexpr std::int64_t kLongestDelay = std::numeric_limits<std::int64_t>::max() - 2;

std::string escaped(const std::string& text) {
    std::string result;
    for (const unsigned char c : text) {
        switch (c) {
            case '\0':
                result += "\\0";
                break;
            case '\t':
                result += "\\t";
                break;
            case '\n':
                result += "\\n";
                break;
            case '\r':
                result += "\\r";
                break;
            case '"':
                result += "\\\"";
                break;
            case '\'':
                result += "\\'";
                break;
            case '\\':
                result += "\\\\";
                break;
            default:
                if (c < 0x20 || c == 0x7f) {
                    char code[12];
                    std::snprintf(code, sizeof code, "\\u{%x}", c);
                    result += code;
                } else {
                    result += static_cast<char>(c);
                }
        }
    }
    return result;
}

// The list as it prints: ["first", "second"].
std::string describe(const std::vector<std::string>& arguments) {
    std::string text = "[";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) text += ", ";
        text += "\"" + escaped(arguments[i]) + "\"";
    }
    return text + "]";
}

// Our bundle sits at <main>.app/Contents/Library/LoginItems/<helper>.app.
fs::path mainAppBundle(const fs::path& helperBundle) {
    std::vector<fs::path> components;
    for (const auto& component : helperBundle) {
        if (!component.empty()) components.push_back(component);
    }
    fs::path main;
    for (std::size_t i = 0; i + 4 < components.size(); ++i) main /= components[i];
    return main;
}

}  // namespace

AppDelegate::AppDelegate()
    : AppDelegate(platform::DistributedNotificationCenter::defaultCenter(),
                  platform::Workspace::shared()) {}

AppDelegate::AppDelegate(platform::DistributedNotificationCenter& notifications,
                         platform::Workspace& workspace)
    : notifications_(notifications), workspace_(workspace) {}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching() {
    platform::assertMainThread();
    Logging::tzHelperDefaults(Logging::FileLogging::off, mainAppIdentifier_, "Zelvana");
    notifications_.postNotificationName(pongNotification, mainAppIdentifier_);
    Logging::info("Pong sent");
    observeTerminateNotifications();
    Logging::info("Subscribed to terminate notification");
    const auto& arguments = platform::ProcessInfo::shared().arguments();
    Logging::info("Zelvana helper initialized with args: " + describe(arguments));
    if (std::ranges::find(arguments, "relaunch") != arguments.end()) {
        scheduleRelaunch(arguments);
    } else if (isMainAppRunning()) {
        Logging::info("Zelvana already running, closing helper");
        delayedTerminate(quitDelaySeconds);
    } else {
        Logging::info("Launching Zelvana app");
        launchMainApp(Launch::first);
    }
}

void AppDelegate::observeTerminateNotifications() {
    for (const char* name : {terminateHelperNotification, terminateLauncherNotification}) {
        observers_.push_back(notifications_.addObserver(
            name, mainAppIdentifier_,
            [this](const platform::Notification&) { terminateAfterEight(); }));
    }
}

// Without a usable delay after the first "relaunch", nothing is scheduled.
void AppDelegate::scheduleRelaunch(const std::vector<std::string>& arguments) {
    const auto relaunch = std::ranges::find(arguments, "relaunch");
    if (relaunch + 1 == arguments.end()) return;
    const auto delay = platform::wholeNumber(*(relaunch + 1));
    if (!delay) return;
    Logging::info("Relaunching Zelvana app after seconds: " + std::to_string(*delay));
    delay_ = std::min(*delay, kLongestDelay);
    after(delay_, [](AppDelegate& self) { self.relaunchAttempt(1); });
}

void AppDelegate::relaunchAttempt(int attempt) {
    if (!isMainAppRunning()) {
        launchMainApp(Launch::relaunch);
    } else if (attempt == 1) {
        Logging::info("Zelvana already running, waiting and retrying");
        after(delay_ + 1, [](AppDelegate& self) { self.relaunchAttempt(2); });
    } else if (attempt == 2) {
        Logging::info("Zelvana still running after 2nd attempt. Trying one more time.");
        after(delay_ + 2, [](AppDelegate& self) { self.relaunchAttempt(3); });
    } else {
        Logging::info("Zelvana still running after 3rd attempt. Terminating.");
        delayedTerminate(quitDelaySeconds);
    }
}

bool AppDelegate::isMainAppRunning() const {
    return std::ranges::any_of(workspace_.runningApplications(), [this](const auto& application) {
        return application.bundleIdentifier() == mainAppIdentifier_;
    });
}

void AppDelegate::launchMainApp(Launch launch) {
    platform::assertMainThread();
    const fs::path path = mainAppBundle(platform::Bundle::main().bundlePath());
    platform::OpenConfiguration configuration;
    if (launch == Launch::relaunch) configuration.arguments.push_back("--relaunch");
    Logging::info("Launching Zelvana at path " + path.string());
    // The report may come on another thread; it only logs.
    workspace_.openApplication(path, configuration, [](const auto&, const auto& error) {
        if (error) {
            Logging::error("Unable to relaunch: " + error->localizedDescription);
        } else {
            Logging::info("Successful relaunch");
        }
    });
    delayedTerminate(quitDelaySeconds);
}

void AppDelegate::delayedTerminate(std::int64_t seconds) {
    platform::assertMainThread();
    after(seconds, [](AppDelegate& self) {
        Logging::info("Terminating after deadline");
        self.terminate();
    });
}

void AppDelegate::terminate() {
    Logging::info("Terminating Helper");
    platform::mainQueue().sync([this] { platform::Application::shared().terminate(this); });
}

void AppDelegate::terminateAfterEight() {
    platform::assertMainThread();
    Logging::info("Received terminate notification");
    delayedTerminate(quitDelaySeconds);
}

void AppDelegate::after(std::int64_t seconds, std::function<void(AppDelegate&)> work) {
    platform::mainQueue().asyncAfter(static_cast<platform::TimeInterval>(seconds),
                                     [weak = weak_.ref(), work = std::move(work)] {
                                         if (AppDelegate* self = weak.get()) work(*self);
                                     });
}

}  // namespace zelvana::helper
