#pragma once

#include <gtest/gtest.h>

#include <any>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Logging/Logging.hpp"
#include "Logging/testing/LogRecorder.hpp"
#include "platform/dispatch/Clock.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UserDefaults.hpp"
#include "platform/testing/TemporaryFolders.hpp"
#include "settings/DefaultUpdate.hpp"
#include "settings/Defaults.hpp"
#include "settings/testing/PostRecorder.hpp"

namespace zelvana::settings::test {

using WarningRecorder = logging::testing::LogRecorder;

using PostRecorder = settings::testing::PostRecorder;

// Each test gets its own folders, a virtual clock, a fresh standard domain,
// fresh module state and a record of the warnings.
class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() {
        platform::UserDefaults::setStandardSuiteName("com.quorrim.Zelvana.tests");
        Defaults::resetForTesting();
        logging::Logging::addDestination(recorder);
    }
    ~SettingsTest() override {
        clock.runPending();
        logging::Logging::flush();
        logging::Logging::removeDestination(recorder);
        Defaults::resetForTesting();
    }

    static platform::UserDefaults& defaults() { return platform::UserDefaults::standard(); }
    std::vector<std::string> warnings() const { return recorder->warnings(); }

    platform::testing::TemporaryFolders folders;
    platform::VirtualClock clock;
    std::shared_ptr<WarningRecorder> recorder = std::make_shared<WarningRecorder>();
};

}  // namespace zelvana::settings::test
