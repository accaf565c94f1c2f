#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zelvana::platform {

// The process's launch arguments, as `main` received them. Until `main` sets
// them they are read from /proc/self/cmdline. Set them before other threads
// start; reading is then safe from any thread.
class ProcessInfo {
public:
    static ProcessInfo& shared();
    void setArguments(std::vector<std::string> arguments);
    const std::vector<std::string>& arguments() const { return arguments_; }
    bool hasArgument(const std::string& argument) const;
    int processIdentifier() const;
    // The system's version for people to read: "Version <release> (Build
    // <kernel>)", from /etc/os-release's VERSION_ID (else NAME) and the kernel
    // release. Thread-safe.
    std::string operatingSystemVersionString() const;
    // Tests fake the system's version text; none goes back to the real one.
    void setOperatingSystemVersionStringForTesting(std::optional<std::string> text);

private:
    ProcessInfo();
    std::vector<std::string> arguments_;
    std::optional<std::string> fakeVersionString_;
};

}  // namespace zelvana::platform
