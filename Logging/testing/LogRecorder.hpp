#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Logging/BaseDestination.hpp"
#include "Logging/Logging.hpp"

namespace zelvana::logging::testing {

// A destination that keeps every entry it is sent, for tests that check what
// the code under test logged. Reads flush the facade first.
class LogRecorder : public BaseDestination {
public:
    std::optional<std::string> send(const LogEntry& entry) override {
        std::lock_guard lock(mutex_);
        entries_.push_back(entry);
        return std::nullopt;
    }

    std::vector<LogEntry> entries() const {
        Logging::flush();
        std::lock_guard lock(mutex_);
        return entries_;
    }
    std::vector<std::string> messages() const { return messagesFrom(Level::verbose); }
    // Messages at warning level or above.
    std::vector<std::string> warnings() const { return messagesFrom(Level::warning); }
    bool hasWarningContaining(const std::string& text) const {
        for (const auto& warning : warnings()) {
            if (warning.find(text) != std::string::npos) return true;
        }
        return false;
    }
    // The entry with exactly this message, when there is one.
    std::optional<LogEntry> find(const std::string& message) const {
        for (const auto& entry : entries()) {
            if (entry.message == message) return entry;
        }
        return std::nullopt;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        entries_.clear();
    }

private:
    std::vector<std::string> messagesFrom(Level lowest) const {
        std::vector<std::string> texts;
        for (const auto& entry : entries()) {
            if (entry.level >= lowest) texts.push_back(entry.message);
        }
        return texts;
    }

    mutable std::mutex mutex_;
    std::vector<LogEntry> entries_;
};

}  // namespace zelvana::logging::testing
