#pragma once

#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Logging/BaseDestination.hpp"
#include "Logging/Logging.hpp"

namespace zelvana::logging::test {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) previous_ = old;
        ::setenv(name, value, 1);
    }
    ~ScopedEnvironment() {
        if (previous_) {
            ::setenv(name_, previous_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> previous_;
};

// A destination that remembers every entry it was sent.
class RecordingDestination : public BaseDestination {
public:
    std::optional<std::string> send(const LogEntry& entry) override {
        auto text = BaseDestination::send(entry);
        std::lock_guard lock(mutex_);
        entries_.push_back(entry);
        texts_.push_back(text.value_or(""));
        return text;
    }
    std::vector<LogEntry> entries() const {
        std::lock_guard lock(mutex_);
        return entries_;
    }
    std::vector<std::string> texts() const {
        std::lock_guard lock(mutex_);
        return texts_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<LogEntry> entries_;
    std::vector<std::string> texts_;
};

inline LogEntry makeEntry(Level level = Level::info, std::string message = "ready") {
    return LogEntry{level, std::move(message), "", "/src/app/Launcher.txt", "launch()", 42, {}};
}

// Every facade test starts and ends with no destinations.
struct FacadeReset {
    FacadeReset() { Logging::removeAllDestinations(); }
    ~FacadeReset() {
        Logging::flush();
        Logging::removeAllDestinations();
    }
};

}  // namespace zelvana::logging::test
