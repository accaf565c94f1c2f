#pragma once

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

private:
    ProcessInfo();
    std::vector<std::string> arguments_;
};

}  // namespace zelvana::platform
