#pragma once

#include <functional>
#include <string>

namespace zelvana::platform {

// Stand-in for the system's unified log: every message goes to standard error
// with its date, process and type; tests observe what is written through a
// sink instead.
enum class LogType { Default, Info, Debug, Error, Fault };

struct UnifiedLogEntry {
    LogType type;
    std::string subsystem;  // the main executable that wrote it
    std::string message;
};

using UnifiedLogSink = std::function<void(const UnifiedLogEntry&)>;

namespace UnifiedLog {
// Thread-safe; each entry is one line, written with one write call (more
// only when the descriptor takes part of it), so lines do not interleave.
// Format: "<ISO 8601 date> <executable>[<pid>] <type>: <message>".
void write(LogType type, const std::string& message);
// Replaces where entries go; an empty sink restores the default. A sink can be
// called from any thread, possibly just after it was replaced.
void setSinkForTesting(UnifiedLogSink sink);
// The same, returning the sink it replaces (empty for the default).
UnifiedLogSink exchangeSinkForTesting(UnifiedLogSink sink);
// "Default", "Info", "Debug", "Error" or "Fault".
const char* typeName(LogType type);
}  // namespace UnifiedLog

// The NSLog-style line on standard error: "<yyyy-MM-dd HH:mm:ss.SSS>
// <process>[<pid>:<tid>] <message>", local time of the process clock.
// Thread-safe: one write per line.
void NSLog(const std::string& message);

// The name of the running executable, as the log lines show it.
const std::string& executableName();

}  // namespace zelvana::platform
