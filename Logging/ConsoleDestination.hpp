#pragma once

#include <optional>
#include <string>

#include "Logging/BaseDestination.hpp"

namespace zelvana::logging {

// Writes each line to the unified log, NSLog or standard output, in that
// order of preference.
class ConsoleDestination : public BaseDestination {
public:
    ConsoleDestination();

    int defaultHashValue() const override { return 1; }
    std::optional<std::string> send(const LogEntry& entry) override;

    const std::string& bundleId() const { return bundleId_; }
    // Also makes the unified-log prefix: dots become hyphens, then one blank.
    void setBundleId(std::string bundleId);
    const std::string& loggableBundleId() const { return loggableBundleId_; }
    void setLoggableBundleId(std::string prefix) { loggableBundleId_ = std::move(prefix); }
    bool useNSLog() const { return useNSLog_; }
    void setUseNSLog(bool value) { useNSLog_ = value; }
    bool useMacConsole() const { return useMacConsole_; }
    void setUseMacConsole(bool value) { useMacConsole_ = value; }
    bool useTerminalColors() const { return useTerminalColors_; }
    // Switches between coloured squares and 256-colour terminal codes.
    void setUseTerminalColors(bool value);

    static const LevelColor& squareColors();
    static const LevelColor& terminalColors();

private:
    std::string bundleId_;
    std::string loggableBundleId_;
    bool useNSLog_ = false;
    bool useMacConsole_ = false;
    bool useTerminalColors_ = false;
};

}  // namespace zelvana::logging
