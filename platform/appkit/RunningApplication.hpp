#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Flags.hpp"

namespace zelvana::platform {

// How an application is activated, by the raw values the system uses.
enum class ActivationOption : std::uint32_t {
    activateAllWindows = 1,
    activateIgnoringOtherApps = 2,
};
ZELVANA_FLAGS(ActivationOption)
using ActivationOptions = Flags<ActivationOption>;

// A live process of one of our programs. Programs register themselves at
// start in a registry of pid files, <runtime>/running/<bundle id>/<pid>,
// holding the process's start time and bundle path; an entry counts while its
// process lives (kill(pid, 0), not a zombie, same start time, so a reused pid
// does not count). Stale entries are removed whenever the registry is read.
// A value type: it describes the process as it was when listed.
//
// The simulated desktop's other applications are no processes; a lookup the
// desktop installs finds them by process identifier.
class RunningApplication {
public:
    using SimulatedLookup = std::function<std::optional<RunningApplication>(int processIdentifier)>;

    RunningApplication(int processIdentifier, std::optional<std::string> bundleIdentifier,
                       std::optional<std::filesystem::path> bundleURL);
    // An application of the simulated desktop: it runs while the installed
    // lookup finds it, and is never signalled.
    static RunningApplication simulated(int processIdentifier,
                                        std::optional<std::string> bundleIdentifier,
                                        std::optional<std::filesystem::path> bundleURL);

    int processIdentifier() const { return processIdentifier_; }
    const std::optional<std::string>& bundleIdentifier() const { return bundleIdentifier_; }
    const std::optional<std::filesystem::path>& bundleURL() const { return bundleURL_; }

    // True once the process has ended.
    bool isTerminated() const;
    // Whether it is the frontmost application: ours while it is active, a
    // simulated one while the desktop has it in front.
    bool isActive() const;
    // activateWithOptions: brings ours or a simulated application to the
    // front; false for any other process.
    bool activate(ActivationOptions options) const;
    // Asks the process to quit (SIGTERM); false when it could not be sent.
    bool terminate() const;

    // The running application with that process identifier: a simulated one,
    // this process (with the main bundle), else a registered one; none when
    // nothing runs under it.
    static std::optional<RunningApplication> withProcessIdentifier(int processIdentifier);
    // Installs the lookup of simulated applications (empty removes it);
    // returns the one it replaces.
    static SimulatedLookup setSimulatedLookup(SimulatedLookup lookup);
    // The desktop's side of listing and activating simulated applications.
    struct SimulatedActivation {
        std::function<std::vector<int>()> processes;
        std::function<std::optional<int>()> activeProcess;
        std::function<bool(int processIdentifier)> activate;
    };
    // Installs it (empty members remove it); returns the one it replaces.
    static SimulatedActivation setSimulatedActivation(SimulatedActivation activation);
    // The simulated applications, in the desktop's order.
    static std::vector<RunningApplication> simulatedApplications();

    // Every registered application that is running, by bundle identifier,
    // then process identifier.
    static std::vector<RunningApplication> runningApplications();
    // Those whose identifier equals `bundleIdentifier` exactly.
    static std::vector<RunningApplication> runningApplications(const std::string& bundleIdentifier);

    // Registers the current process under the main bundle's identifier; the
    // entry is removed at exit. False when the bundle has no identifier or
    // the registry cannot be written.
    static bool registerCurrentProcess();
    // Registers any live process; tests stand in for other programs with it.
    static bool registerProcess(const std::string& bundleIdentifier, int processIdentifier,
                                const std::filesystem::path& bundlePath);
    static void unregisterProcess(const std::string& bundleIdentifier, int processIdentifier);

private:
    static std::optional<RunningApplication> readEntry(const std::filesystem::path& file,
                                                       const std::string& bundleIdentifier);

    int processIdentifier_;
    std::optional<std::string> bundleIdentifier_;
    std::optional<std::filesystem::path> bundleURL_;
    // Clock ticks after boot, from /proc; tells a reused pid apart.
    std::optional<std::uint64_t> startTime_;
    bool simulated_ = false;
};

}  // namespace zelvana::platform
