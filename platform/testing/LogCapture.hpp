#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform::testing {

// Captures, for its lifetime, what reaches the unified log and, when asked,
// what the process writes to standard output or standard error (at the file
// descriptor, so printf, iostreams and raw writes all count). Everything is
// put back on destruction. Captures may nest; the inner one sees the entries.
//
// While standard output is captured, GoogleTest's own failure messages are
// captured too: check expectations after reading or after the capture ends.
class LogCapture {
public:
    enum Streams : unsigned { None = 0, StandardOutput = 1, StandardError = 2 };

    explicit LogCapture(unsigned streams = None);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // Unified-log entries in the order they were written; safe from any thread.
    std::vector<UnifiedLogEntry> entries() const;
    std::vector<std::string> messages() const;
    bool hasMessageContaining(const std::string& text) const;

    // What was written to the captured stream so far; empty when not captured.
    std::string standardOutput() const;
    std::string standardError() const;
    // The same, split at line feeds (a last line without one counts too).
    std::vector<std::string> standardOutputLines() const;
    std::vector<std::string> standardErrorLines() const;

    // Forgets what was captured so far.
    void clear();

private:
    class StreamRedirect;
    struct State;

    std::shared_ptr<State> state_;
    UnifiedLogSink previousSink_;
    std::unique_ptr<StreamRedirect> output_;
    std::unique_ptr<StreamRedirect> error_;
};

}  // namespace zelvana::platform::testing
