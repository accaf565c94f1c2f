#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Logging/Logging.hpp"
#include "Logging/testing/LogRecorder.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/testing/TemporaryFolders.hpp"
#include "settings/Defaults.hpp"

namespace zelvana::core::test {

using WarningRecorder = logging::testing::LogRecorder;

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
