#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <any>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "Logging/Logging.hpp"
#include "Logging/testing/LogRecorder.hpp"
#include "Zelvana/AppDelegate.hpp"
#include "Zelvana/tests/ZelvanaTestSupport.hpp"
#include "platform/appkit/RunningApplication.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/dispatch/RunLoop.hpp"
#include "platform/foundation/DistributedNotificationCenter.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/system/LoginItems.hpp"
#include "platform/system/SystemVersion.hpp"
#include "platform/testing/LogCapture.hpp"
#include "platform/testing/ScopedMainBundle.hpp"

namespace zelvana::core::test {

using EntryRecorder = logging::testing::LogRecorder;

// Zelvana.app with its helper inside, temporary folders, a virtual clock and
// two distributed centres standing in for the two programs.
class RelaunchFixture : public SettingsFixture {
protected:
    static constexpr const char* mainIdentifier = "com.quorrim.Zelvana";

    RelaunchFixture() {
        awaitingPong = false;
        writeHelperBundle();
        logging::Logging::addDestination(log);
        helperObserver_ =
            helperSide.addObserver("", std::nullopt, [this](const platform::Notification& note) {
                const auto* object = std::any_cast<std::string>(&note.object);
                helperReceived_.push_back(note.name + (object ? " from " + *object : ""));
            });
        mainObserver_ = mainSide.addObserver(
            "", std::nullopt,
            [this](const platform::Notification& note) { mainReceived_.push_back(note.name); });
    }
    ~RelaunchFixture() override {
        for (const auto& identifier : registered_) {
            platform::RunningApplication::unregisterProcess(identifier, ::getpid());
        }
        platform::LoginItems::setFailureInjectorForTesting({});
        platform::SystemVersion::resetForTesting();
        platform::Workspace::shared().setApplicationOpener({});
        logging::Logging::flush();
        logging::Logging::removeDestination(log);
        awaitingPong = false;
    }

    std::filesystem::path helperBundle() const {
        return bundle.bundlePath() / "Contents/Library/LoginItems/Zelvana Helper.app";
    }

    // Lists this test process among the running applications.
    void runsAs(const std::string& identifier) {
        ASSERT_TRUE(
            platform::RunningApplication::registerProcess(identifier, ::getpid(), helperBundle()));
        registered_.push_back(identifier);
    }

    // Hands over every distributed notification posted so far: a marker
    // posted now reaches each side after everything posted before it.
    void deliverPosted() {
        const std::string marker = "marker." + std::to_string(++markers_);
        helperSide.postNotificationName(marker);
        const auto seen = [&marker](const std::vector<std::string>& names) {
            return std::ranges::any_of(names, [&](const auto& name) { return name == marker; });
        };
        const bool arrived = platform::RunLoop::main().runUntil(
            [&] { return seen(helperReceived_) && seen(mainReceived_); }, 5.0);
        EXPECT_TRUE(arrived) << "the marker never came back";
    }

    // What reached the helper's side since the last call, as "name from object".
    std::vector<std::string> receivedByHelper() {
        deliverPosted();
        std::vector<std::string> notes;
        for (const auto& note : helperReceived_) {
            if (!note.starts_with("marker.")) notes.push_back(note);
        }
        helperReceived_.clear();
        return notes;
    }

    platform::testing::ScopedMainBundle bundle{{{"CFBundleIdentifier", mainIdentifier},
                                                {"CFBundleName", "Zelvana"},
                                                {"CFBundleExecutable", "Zelvana"},
                                                {"CFBundleVersion", "1"}},
                                               std::nullopt,
                                               "Zelvana"};
    std::shared_ptr<EntryRecorder> log = std::make_shared<EntryRecorder>();
    platform::testing::LogCapture systemLog;

private:
    // Declared before the centres, whose observers fill them.
    std::vector<std::string> helperReceived_;
    std::vector<std::string> mainReceived_;

protected:
    platform::DistributedNotificationCenter helperSide{"helper"};
    platform::DistributedNotificationCenter mainSide{"main"};
    platform::Subscription helperObserver_, mainObserver_;

private:
    void writeHelperBundle() const {
        const platform::PropertyDictionary info{
            {"CFBundleIdentifier", "com.quorrim.Zelvana-Helper"},
            {"CFBundleName", "Zelvana Helper"},
            {"CFBundleExecutable", "Zelvana Helper"}};
        std::filesystem::create_directories(helperBundle() / "Contents/MacOS");
        ASSERT_TRUE(platform::PropertyListSerialization::writeXmlFile(
            helperBundle() / "Contents/Info.plist", platform::PropertyValue(info)));
    }

    std::vector<std::string> registered_;
    int markers_ = 0;
};

}  // namespace zelvana::core::test
