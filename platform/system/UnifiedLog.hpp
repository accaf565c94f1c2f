#pragma once

#include <functional>
#include <string>

namespace zelvana::platform {

// Stand-in for the system's unified log: every message goes to the systemd
// journal's socket when there is one, else to standard error, with its type;
// tests observe what is written through a sink.
enum class LogType { Default, Info, Debug, Error, Fault };

struct UnifiedLogEntry {
    LogType type;
    std::string subsystem;  // the main executable that wrote it
    std::string message;
};

namespace UnifiedLog {
void write(LogType type, const std::string& message);
// Replaces where entries go; an empty sink restores the default.
void setSinkForTesting(std::function<void(const UnifiedLogEntry&)> sink);
}  // namespace UnifiedLog

// The NSLog-style line on standard error: "<date> <process>[<pid>:<tid>] <message>".
void NSLog(const std::string& message);

}  // namespace zelvana::platform
