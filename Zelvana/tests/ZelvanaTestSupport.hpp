#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Logging/BaseDestination.hpp"
#include "Logging/Logging.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/testing/TemporaryFolders.hpp"
#include "settings/Defaults.hpp"

namespace zelvana::core::test {

// Keeps the warnings and errors that reach the log.
class WarningRecorder : public logging::BaseDestination {
public:
    std::optional<std::string> send(const logging::LogEntry& entry) override {
        if (entry.level >= logging::Level::warning) {
            std::lock_guard lock(mutex_);
            warnings_.push_back(entry.message);
        }
        return std::nullopt;
    }
    std::vector<std::string> warnings() const {
        logging::Logging::flush();
        std::lock_guard lock(mutex_);
        return warnings_;
    }
    bool hasWarningContaining(const std::string& text) const {
        for (const auto& warning : warnings()) {
            if (warning.find(text) != std::string::npos) return true;
        }
        return false;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> warnings_;
};

// Each test gets its own folders and defaults, a virtual clock, fresh
// settings objects and a record of the warnings.
class SettingsFixture : public ::testing::Test {
protected:
    SettingsFixture() {
        platform::UserDefaults::setStandardSuiteName("com.quorrim.Zelvana.tests");
        resetSettings();
        logging::Logging::addDestination(recorder);
    }
    ~SettingsFixture() override {
        clock.runPending();
        logging::Logging::flush();
        logging::Logging::removeDestination(recorder);
        resetSettings();
    }

    // The settings objects as a new launch makes them.
    static void relaunch() {
        platform::UserDefaults::setStandardSuiteName("com.quorrim.Zelvana.tests");
        resetSettings();
    }
    static void resetSettings() {
        settings::Defaults::resetForTesting();
        GlobalDefaults::resetForTesting();
    }
    static platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }

    platform::testing::TemporaryFolders folders;
    platform::VirtualClock clock;
    std::shared_ptr<WarningRecorder> recorder = std::make_shared<WarningRecorder>();
};

}  // namespace zelvana::core::test
