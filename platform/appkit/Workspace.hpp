#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/appkit/Image.hpp"
#include "platform/appkit/RunningApplication.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::platform {

// How an application is to be opened: the launch arguments after the program
// path. Every open starts a new process.
struct OpenConfiguration {
    std::vector<std::string> arguments;
};

struct OpenError {
    std::string localizedDescription;
};

// Exactly one of the two is present.
using OpenCompletion = std::function<void(const std::optional<RunningApplication>& application,
                                          const std::optional<OpenError>& error)>;
// The icon name of the application bundle at a path, when the system knows it.
using IconNameLookup =
    std::function<std::optional<std::string>(const std::filesystem::path& bundleURL)>;
using ApplicationOpener =
    std::function<void(const std::filesystem::path& bundleURL,
                       const OpenConfiguration& configuration, OpenCompletion completion)>;

// The shared workspace: running applications, opening applications and the
// workspace's own notification centre, on which the system's power events
// are posted.
class Workspace {
public:
    static constexpr const char* didWakeNotification = "NSWorkspaceDidWakeNotification";
    // Posted on the main queue at the end of every switch of a display's space.
    static constexpr const char* activeSpaceDidChangeNotification =
        "NSWorkspaceActiveSpaceDidChangeNotification";
    static constexpr const char* willPowerOffNotification = "NSWorkspaceWillPowerOffNotification";

    static Workspace& shared();
    // A workspace that opens applications by starting processes.
    Workspace() = default;
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // Separate from the default centre; observers run on the main thread.
    NotificationCenter& notificationCenter() { return *notificationCenter_; }
    // The running applications of the registry (see RunningApplication),
    // then the simulated desktop's.
    std::vector<RunningApplication> runningApplications() const;
    // The application that is in front: ours while it is active, else the
    // simulated one the desktop has in front; none without one.
    std::optional<RunningApplication> frontmostApplication() const;

    // The icon of the file at `path`: a 32-point picture drawn from its icon
    // name (the installed lookup's, else the bundle's CFBundleIconFile, else
    // the file's name), so one application always gets the same icon. Every
    // path has one, as the system gives missing files a generic icon.
    Image iconForFile(const std::filesystem::path& path) const;
    // URLForApplicationWithBundleIdentifier: a running application's bundle,
    // else the first bundle with that identifier in ~/Applications, then
    // /Applications; none when no application has it.
    std::optional<std::filesystem::path> urlForApplication(
        const std::string& bundleIdentifier) const;

    // Installs the simulated desktop's icon names (empty removes them);
    // returns the lookup it replaces.
    IconNameLookup setIconNameLookup(IconNameLookup lookup);

    // Starts the program of the bundle at `bundleURL` (Contents/MacOS/
    // <CFBundleExecutable>) with the configuration's arguments, detached from
    // this process, with its environment but without its terminal: what the
    // program writes goes to $XDG_CACHE_HOME/zelvana/Logs/<program>.log. The
    // completion runs on the global queue with the new process or the reason
    // it could not start.
    void openApplication(const std::filesystem::path& bundleURL,
                         const OpenConfiguration& configuration, OpenCompletion completion);
    // Replaces how applications are opened, so tests can record requests; an
    // empty opener restores process starting. Returns the one it replaces.
    ApplicationOpener setApplicationOpener(ApplicationOpener opener);

    // Hands a URL to the application for its scheme (system settings panes
    // included); here the request is only recorded. False without a scheme.
    bool openURL(const std::string& url);
    // The URLs opened so far, oldest first.
    std::vector<std::string> openedURLs() const;
    void clearOpenedURLsForTesting();

    // The simulated system's power events: posted on the main queue.
    void postDidWakeNotification();
    void postWillPowerOffNotification();

    // The process-starting opener, for openers that wrap it.
    static void launchApplication(const std::filesystem::path& bundleURL,
                                  const OpenConfiguration& configuration,
                                  OpenCompletion completion);

private:
    void postOnMainQueue(const char* name);

    // Shared with posts still queued when the workspace goes away.
    std::shared_ptr<NotificationCenter> notificationCenter_ =
        std::make_shared<NotificationCenter>();
    mutable std::mutex mutex_;
    ApplicationOpener opener_;
    IconNameLookup iconNameLookup_;
    std::vector<std::string> openedURLs_;
};

}  // namespace zelvana::platform
