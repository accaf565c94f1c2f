#pragma once

#include <any>
#include <optional>
#include <string>

#include "Logging/Level.hpp"

namespace zelvana::logging {

// One log entry as a destination receives it: the message is already text
// and the thread name is empty on the main thread.
struct LogEntry {
    Level level = Level::info;
    std::string message;
    std::string thread;
    std::string file;
    std::string function;
    int line = 0;
    std::optional<std::any> context;
};

}  // namespace zelvana::logging
